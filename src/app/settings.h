// The Settings kept between runs in Brindlecot.ini in the working directory.
#pragma once

#include <cstdint>

constexpr int PROGRAM_DIR_STORE = 256;
constexpr int INI_PATH_STORE = 512;

extern char programDir[PROGRAM_DIR_STORE];  // working directory, ends in "/"
extern char iniPath[INI_PATH_STORE];        // programDir + "Brindlecot.ini"

// Section "ういんどう"
extern int32_t settings.windowX, settings.windowY;
extern int32_t settings.sheetViewX, settings.sheetViewY, settings.sheetViewWidth, settings.sheetViewHeight;
extern int32_t settings.mapViewX, settings.mapViewY, settings.mapViewWidth, settings.mapViewHeight;
// Section "せってい" (doc.chipWidth and doc.chipHeight live in the map model)
extern int32_t settings.showDebugInfo, settings.showWallpaper, settings.showGuideLines, settings.chipSheetOnTop, settings.autoScroll;
extern int32_t settings.scrollSpeed;
// Section "ふぁいる": doc.chipSheetPath, doc.mapPath, doc.wallpaperPath (map model)

// Builds programDir and iniPath from the working directory. 1 on success;
// 0 when the directory cannot be read or does not fit programDir (nothing
// overflows); PROGRAM_DIR_NOT_SJIS when its name cannot be held in Shift_JIS.
constexpr int PROGRAM_DIR_NOT_SJIS = -1;
int buildProgramPaths();
// Same from a given directory (Shift_JIS), for tests.
int buildProgramPathsFrom(const char* dir);

void loadSettings();
// Replaces the file safely; 1 on success, 0 when it could not be written (the
// previous file is then intact).
int saveSettings();

// Every Setting back to its default (tests).
void resetSettings();
