#include "app/settings.h"

char programDir[PROGRAM_DIR_STORE];
char iniPath[INI_PATH_STORE];

int32_t windowX = 0, windowY = 0;
int32_t sheetViewX = 24, sheetViewY = 112, sheetViewWidth = 256, sheetViewHeight = 256;
int32_t mapViewX = 300, mapViewY = 112, mapViewWidth = 480, mapViewHeight = 470;
int32_t showDebugInfo = 0, showWallpaper = 1, showGuideLines = 1, chipSheetOnTop = 0, autoScroll = 0;
int32_t scrollSpeed = 400;
