// The Settings kept between runs in Brindlecot.ini in the working directory.
#pragma once

#include <cstdint>

#include "map/map.h"

// Room is left in a path store for a file name after the working directory.
constexpr int PROGRAM_DIR_STORE = PATH_STORE - 256;
constexpr int INI_PATH_STORE = PATH_STORE;

extern char programDir[PROGRAM_DIR_STORE];  // working directory, ends in "/"
extern char iniPath[INI_PATH_STORE];        // programDir + "Brindlecot.ini"

// The preferences kept between runs; the start values are those of a first
// run without a settings file. The chip size and the file paths the file
// also holds belong to the document.
struct Settings {
  // Section "ういんどう"
  int32_t windowX = 0, windowY = 0;
  int32_t sheetViewX = 24, sheetViewY = 112, sheetViewWidth = 256, sheetViewHeight = 256;
  int32_t mapViewX = 300, mapViewY = 112, mapViewWidth = 480, mapViewHeight = 470;
  // Section "せってい"
  int32_t showDebugInfo = 0, showWallpaper = 1, showGuideLines = 1, chipSheetOnTop = 0, autoScroll = 0;
  int32_t scrollSpeed = 400;
  // Section "そのた": keys that came after the file keys, in a section of
  // their own so that the older sections keep their bytes.
  int32_t displayCanvas = 0;  // 1: a canvas the size of the display, from the next start
  int32_t sharpFit = 1;       // 1: a fitted picture scaled by whole multiples, only the rest smoothed
  char language[4] = "";      // "ja", "en", or "" to follow the environment
};
extern Settings settings;

// Builds programDir and iniPath from the working directory. 1 on success;
// 0 when the directory cannot be read or does not fit programDir (nothing
// overflows); PROGRAM_DIR_NOT_UTF8 when its name is not valid UTF-8.
constexpr int PROGRAM_DIR_NOT_UTF8 = -1;
int buildProgramPaths();
// Same from a given directory (UTF-8), for tests.
int buildProgramPathsFrom(const char* dir);

// The file is Shift_JIS. A path it holds is read back to UTF-8 (an escaped
// one too, see pathToStored) and, when unchanged, written with the very
// bytes it was read with.
void loadSettings();
// Replaces the file safely; 1 on success, 0 when it could not be written (the
// previous file is then intact).
int saveSettings();

// Every Setting back to its default, with the chip size and paths the file
// holds for the document (tests).
void resetSettings();
