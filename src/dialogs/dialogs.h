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
