// The modal dialogs of the program. They return what the user chose; the
// caller decides what it changes.
#pragma once

#include <cstdint>

// 1 to go on, 2 when cancelled (the program then ends).
int startupDialog();
// The sizes the map-size dialog was left with: cells across and down, chip
// width and height (never 0: the dialog refuses that).
struct MapSizeChoice {
  int32_t cellsX, cellsY, chipWidth, chipHeight;
};
// 1 for OK, 0 for Cancel. The map-size dialog opens on the document's sizes.
int mapSizeDialog(MapSizeChoice* chosen);
int settingsDialog();
// Opens on `initial` (outside 0..999: nothing chosen).
int attributeDialog(int32_t initial, int32_t* chosen);

// The editor draws its own pointer and hides the system cursor; every modal
// window (a dialog, a file chooser, a message box) shows it while it is up.
struct SystemCursor {
  int32_t shown = 1;  // last visibility given to the system cursor
};
extern SystemCursor systemCursor;
// Idempotent: 1 shows, 0 hides the system cursor; anything else does nothing.
void showSystemCursor(int state);

// The texts every information box of the dialogs shows.
extern const char* const PROGRAM_VERSION;  // "Ver0.93b"

// The document operations and file pickers the dialogs call. This table is
// the dialogs' test seam: it starts out naming the real functions, and a test
// may point an entry elsewhere (resetDialogServices puts them all back).
struct DialogServices {
  int (*loadMap)(const char* path);
  int (*saveMap)(const char* path);
  int (*convertOld)(const char* path);
  int (*chooseMapToOpen)();
  int (*chooseMapToSave)();
  int (*chooseChipSheet)();
  int (*chooseWallpaper)();
  int (*fileExists)(const char* path);
  int (*mapReadable)(const char* path);    // readable and holds a map
  int (*sheetReadable)(const char* path);  // readable and begins as a whole bitmap
};
extern DialogServices dialogServices;
void resetDialogServices();
