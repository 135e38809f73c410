// Placeholders for the document operations and pickers until they are merged.
#include "map/mapfile.h"
#include "map/oldmap.h"
#include "map/pickers.h"

__attribute__((weak)) int loadMapFile(const char*) { return 0; }
__attribute__((weak)) int saveMapFile(const char*) { return 0; }
__attribute__((weak)) int convertOldMapFile(const char*) { return 0; }
__attribute__((weak)) int chooseChipSheetFile() { return 0; }
__attribute__((weak)) int chooseWallpaperFile() { return 0; }
__attribute__((weak)) int chooseMapFileToOpen() { return 0; }
__attribute__((weak)) int chooseMapFileToSave() { return 0; }
