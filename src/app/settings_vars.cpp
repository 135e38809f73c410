#include "app/settings.h"

char programDir[PROGRAM_DIR_STORE];
char iniPath[INI_PATH_STORE];

int32_t settings.windowX = 0, settings.windowY = 0;
int32_t settings.sheetViewX = 24, settings.sheetViewY = 112, settings.sheetViewWidth = 256, settings.sheetViewHeight = 256;
int32_t settings.mapViewX = 300, settings.mapViewY = 112, settings.mapViewWidth = 480, settings.mapViewHeight = 470;
int32_t settings.showDebugInfo = 0, settings.showWallpaper = 1, settings.showGuideLines = 1, settings.chipSheetOnTop = 0, settings.autoScroll = 0;
int32_t settings.scrollSpeed = 400;
