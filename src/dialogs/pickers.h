// The four file pickers. Each writes its result straight into the Setting it
// serves and returns 1 when the user chose a file, 0 otherwise.
#pragma once

int chooseChipSheetFile();
int chooseWallpaperFile();
int chooseMapFileToOpen();
int chooseMapFileToSave();
