// What the tests of the Qt back end inspect of its widgets: the forms, the
// file dialog and the window's picture. Only those tests include this header.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/dialog.h"
#include "platform/filechooser.h"

class QDialog;
class QFileDialog;

// While an inspector is installed (and no script), dlgRun builds the QDialog,
// sends DLG_INIT, shows it without a modal loop, calls the inspector, then
// closes it and returns -1 (or the result of a dlgEnd the inspector caused).
using DlgQtInspector = std::function<void(QDialog*, DlgHandle*)>;
void dlgTestSetQtInspector(DlgQtInspector inspector);

// The configured chooser, not shown; the caller deletes it.
QFileDialog* platformBuildFileDialog(const FileChooserSetup& setup, const char* startSjis);

// The window's picture: the changed bands handed to Qt since start (an
// unchanged frame hands none), and a pixel of the shown picture as 0xAARRGGBB
// (0 without a window).
int platformTestPresentPushes();
uint32_t platformTestShownPixel(int x, int y);
// The picture rectangle of the last band handed to Qt (right and bottom
// exclusive); all zero before the first.
void platformTestLastPush(int* left, int* top, int* right, int* bottom);
