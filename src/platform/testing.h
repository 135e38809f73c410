// Test seams: what lets a test play the user and the window system. Only
// tests include this header; the program never calls these.
//
// The seams that stand in for the user (keys and mouse, answers to boxes and
// choosers, dialog scripts) and the file faults are generic and work over
// either window back end, so the tests of the Qt back end use them too. The
// seams that stand in for the window (cursor, presentation failures) belong
// to the headless back end; the Qt back end's own inspection of its widgets is
// in platform/qt/qt_testing.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/filechooser.h"

// ---------------------------------------------------------------------------
// Devices: set keys and mouse directly, or lose input.
void platformTestSetKey(int scanCode, int down);
void platformTestMouse(int dx, int dy, int buttonMask);
// Turns the wheel by whole notches (positive: away from the user).
void platformTestWheel(int notches);
void platformTestLoseInput();
void platformTestResetDevices();

// Without a window, platformCursorPos reports this position.
void platformTestSetCursor(int32_t x, int32_t y);

// Headless back end: the display's size that platformDisplaySize reports.
void platformTestSetDisplaySize(int32_t width, int32_t height);

// Headless back end: the next `lostCount` presents report lost surfaces;
// `failCount` further ones report another failure.
void platformSimulatePresentFailures(int lostCount, int failCount);

// ---------------------------------------------------------------------------
// Message boxes and choosers are answered through hooks (nullptr restores
// the back end's own: the real box or chooser on Qt; on the headless back end
// a box answers No (or OK) and a chooser is cancelled).
using MessageBoxHook = int (*)(const char* textUtf8, const char* captionUtf8, int flags);
void platformSetMessageBoxHook(MessageBoxHook hook);
using FileChooserHook = int (*)(const FileChooserSetup& setup, const char* startSjis, char* outSjis, size_t outSize);
void platformSetFileChooserHook(FileChooserHook hook);

// ---------------------------------------------------------------------------
// Files: make the n-th following low-level write (1-based) fail as a full
// disk would; 0 switches the seam off.
void filesFailNthWrite(int n);
// Called by commit() once the temporary file is written and synced, before it
// is put in place (a test kills the process there). nullptr: none.
void filesSetTempWrittenHook(void (*hook)());

// ---------------------------------------------------------------------------
// Dialogs. While a script is installed, dlgRun builds no window: it keeps
// the controls in memory, sends DLG_INIT, and hands a DlgTest to the script,
// which plays the user. dlgRun returns the dlgEnd result, or -1 when the
// script finished with the dialog still open.
class DlgTest {
 public:
  virtual ~DlgTest() = default;
  // User actions; each is ignored on a disabled control or a closed dialog.
  virtual void click(int id) = 0;                     // push, check (toggles), radio (checks)
  virtual void type(int id, const char* utf8) = 0;    // replaces an edit field's text
  virtual void choose(int id, int index) = 0;         // picks a list entry (-1: nothing)
  virtual void slide(int id, int pos) = 0;            // moves a trackbar
  virtual void escape() = 0;
  // Reads.
  virtual bool isOpen() const = 0;
  virtual int result() const = 0;
  virtual std::string text(int id) const = 0;         // UTF-8
  virtual bool checked(int id) const = 0;
  virtual bool enabled(int id) const = 0;
  virtual int listCount(int id) const = 0;
  virtual std::string listEntry(int id, int index) const = 0;  // UTF-8
  virtual int listSelection(int id) const = 0;
  virtual int trackPos(int id) const = 0;
  virtual int trackMin(int id) const = 0;
  virtual int trackMax(int id) const = 0;
  virtual int templateId() const = 0;
};

using DlgTestScript = std::function<void(DlgTest&)>;
// Installs the script for the following dialogs (an empty function removes it).
void dlgTestSetScript(DlgTestScript script);
