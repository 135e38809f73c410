// Placeholders until the owning pieces land; removed at merge.
#include <cstdint>
#include "gfx/gfx.h"
#define W __attribute__((weak))
W int startupDialog() { return 2; }
W int mapSizeDialog() { return 0; }
W int settingsDialog() { return 0; }
W int attributeDialog() { return 0; }
W int buildProgramPaths() { return 1; }
W void loadSettings() {}
W int saveSettings() { return 1; }
W int startGraphics() { return 1; }
W void stopGraphics() {}
W void clearBackBuffer(uint32_t) {}
W void presentFrame() {}
W int surfaceSize(int, int32_t* w, int32_t* h) { *w = *h = 0; return 0; }
W void releaseSurface(int) {}
W int loadSurface(const char*, int, uint32_t) { return 0; }
W void updateSheetView(int) {}
W void updateSheetTool(int) {}
W void updateMapView(int) {}
W void updateMapTool(int) {}
W void updatePreview() {}
W void loadViewsFromSettings() {}
W void storeViewsToSettings() {}
W int chooseChipSheetFile() { return 0; }
W int chooseMapFileToOpen() { return 0; }
W int chooseMapFileToSave() { return 0; }
W int loadMapFile(const char*) { return 0; }
W int saveMapFile(const char*) { return 0; }
