// The modal dialogs of the program.
#pragma once

// 1 to go on, 2 when cancelled (the program then ends).
int startupDialog();
// 1 for OK, 0 for Cancel.
int mapSizeDialog();
int settingsDialog();
int attributeDialog();

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
};
extern DialogServices dialogServices;
void resetDialogServices();
