// What a window back end provides to the generic platform code: its event
// pump, the pointer motion it measures, and the real forms, boxes and
// choosers. Implemented on Qt Widgets (platform/qt/) and without a window
// system (platform/headless/); a program links exactly one of them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/dialog.h"
#include "platform/filechooser.h"
#include "platform/platform.h"

// Turns the window system's waiting events into messages, without waiting.
void backendPumpEvents();
// Waits, handling window-system events, until a message may have arrived;
// 1 after waiting, 0 at once when none ever can (no window system).
int backendWaitEvents();
// Waits, handling window-system events, until at least one event was
// handled or timeoutMs pass (WAIT_FOREVER: no limit); 0 at once when nothing
// but the time could ever end the wait (no window system).
int backendWaitEventsFor(uint32_t timeoutMs);
// A message was posted by the program: a wait in progress wakes up.
void backendWakeWaiter();

// 0 while the program may not take the devices (another one is in front).
int backendMayAcquireDevices();
// Adds the pointer's motion since the last read, in picture pixels.
void backendTakePointerMotion(double* dx, double* dy);
// The devices lost their input (or were reset): pointer tracking starts afresh.
void backendPointerRestart();
// Everything the back end keeps about the pointer and focus as at start.
void backendPointerReset();
// The cursor in picture pixels; 0 when there is no window to ask.
int backendCursorPos(int32_t* x, int32_t* y);

// The language of the window system's own texts changed (platformSetLanguage).
void backendLanguageChanged();

// The real message box, chooser and form; the generic code asks the test
// hooks first.
int backendMessageBox(const char* textUtf8, const char* captionUtf8, int flags, const MessageBoxAnswers& answers);
int backendChooseFile(const FileChooserSetup& setup, const char* startSjis, char* outSjis, size_t outSize);
// -1 when no form can be shown.
int backendRunDialog(const DlgTemplate& tmpl, DlgProc proc, void* context);

// The columns [*left, *right) of rows [y0, y1) that a present must compare:
// the span of the given parts that reach those rows, within [0, cols); all of
// them when no parts are given. false when no part reaches the rows.
inline bool presentSpan(const PlatRect* parts, int partCount, int y0, int y1, int cols, int* left, int* right) {
  if (!parts || partCount <= 0) {
    *left = 0;
    *right = cols;
    return cols > 0;
  }
  int l = cols, r = 0;
  for (int i = 0; i < partCount; ++i) {
    const PlatRect& p = parts[i];
    if (p.top >= y1 || p.bottom <= y0 || p.right <= p.left) continue;
    if (p.left < l) l = p.left;
    if (p.right > r) r = p.right;
  }
  *left = l < 0 ? 0 : l;
  *right = r > cols ? cols : r;
  return *left < *right;
}
