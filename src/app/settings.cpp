// The settings file Brindlecot.ini: read once at start-up, replaced once at
// shutdown.
#include "app/settings.h"

#include <cstring>

#include "app/ini.h"
#include "map/map.h"
#include "platform/files.h"
#include "platform/sjis.h"
#include "platform/workdir.h"

namespace {

constexpr size_t SETTINGS_READ_LIMIT = 65536;  // far beyond what the program writes
char settingsBytes[SETTINGS_READ_LIMIT];
char settingsOut[8192];  // 21 short lines and three 259-byte paths
SafeFileWriter settingsWriter;

const char* secWindow() { return SJIS("ういんどう"); }
const char* secSetup() { return SJIS("せってい"); }
const char* secFiles() { return SJIS("ふぁいる"); }

}  // namespace

int buildProgramPathsFrom(const char* dir) {
  size_t n = std::strlen(dir);
  bool slash = n > 0 && dir[n - 1] == '/';
  size_t total = n + (slash ? 0 : 1);
  if (n == 0 || total + 1 > sizeof programDir) return 0;
  std::memcpy(programDir, dir, n);
  if (!slash) programDir[n] = '/';
  programDir[total] = 0;
  std::memcpy(iniPath, programDir, total);
  std::memcpy(iniPath + total, "Brindlecot.ini", sizeof "Brindlecot.ini");
  return 1;
}

int buildProgramPaths() {
  char dir[PROGRAM_DIR_STORE];
  int n = platformWorkingDir(dir, sizeof dir);
  if (n == WORKDIR_NOT_SJIS) return PROGRAM_DIR_NOT_SJIS;
  if (n < 0) return 0;
  return buildProgramPathsFrom(dir);
}

void loadSettings() {
  size_t got = 0;
  IniText ini{settingsBytes, 0};
  if (readFileBytes(iniPath, reinterpret_cast<uint8_t*>(settingsBytes), sizeof settingsBytes, &got)) ini.len = got;

  showDebugInfo = iniReadInt(ini, secSetup(), SJIS("でばっぐもーど"), 0);
  showWallpaper = iniReadInt(ini, secSetup(), SJIS("ＢＧ"), 1);
  showGuideLines = iniReadInt(ini, secSetup(), SJIS("ぐりっど"), 1);
  chipSheetOnTop = iniReadInt(ini, secSetup(), SJIS("上ＢＭＰ"), 0);
  autoScroll = iniReadInt(ini, secSetup(), SJIS("オートＳＣＲ"), 0);
  scrollSpeed = iniReadInt(ini, secSetup(), SJIS("ＳＣＲすぴーど"), 400);

  windowX = iniReadInt(ini, secWindow(), SJIS("Ｘ座標"), 0);
  windowY = iniReadInt(ini, secWindow(), SJIS("Ｙ座標"), 0);
  if (windowX <= 0) windowX = 0;
  if (windowY <= 0) windowY = 0;

  iniReadString(ini, secFiles(), "BMP", chipSheetPath, PATH_STORE);
  setChipSheetPath(chipSheetPath);  // a new map saved later names this sheet
  iniReadString(ini, secFiles(), "BCT", mapPath, PATH_STORE);
  iniReadString(ini, secFiles(), "BG", wallpaperPath, PATH_STORE);

  sheetViewX = iniReadInt(ini, secWindow(), SJIS("BMPＸ座標"), 24);
  sheetViewY = iniReadInt(ini, secWindow(), SJIS("BMPＹ座標"), 112);
  sheetViewWidth = iniReadInt(ini, secWindow(), SJIS("BMPSizeＸ"), 256);
  sheetViewHeight = iniReadInt(ini, secWindow(), SJIS("BMPSizeＹ"), 256);
  mapViewX = iniReadInt(ini, secWindow(), SJIS("MAPＸ座標"), 300);
  mapViewY = iniReadInt(ini, secWindow(), SJIS("MAPＹ座標"), 112);
  mapViewWidth = iniReadInt(ini, secWindow(), SJIS("MAPSizeＸ"), 480);
  mapViewHeight = iniReadInt(ini, secWindow(), SJIS("MAPSizeＹ"), 470);

  // A chip size below 1 would leave the views dividing by zero: the guard keeps the old one.
  setChipWidth(iniReadInt(ini, secSetup(), "TIP_X", 32));
  setChipHeight(iniReadInt(ini, secSetup(), "TIP_Y", 32));
}

int saveSettings() {
  // The whole file is built afresh, so keys and sections no longer written vanish.
  IniBuilder b(settingsOut, sizeof settingsOut);
  b.section(secWindow());
  b.lineInt(SJIS("Ｘ座標    = "), windowX);
  b.lineInt(SJIS("Ｙ座標    = "), windowY);
  b.lineInt(SJIS("BMPＸ座標 = "), sheetViewX);
  b.lineInt(SJIS("BMPＹ座標 = "), sheetViewY);
  b.lineInt(SJIS("BMPSizeＸ = "), sheetViewWidth);
  b.lineInt(SJIS("BMPSizeＹ = "), sheetViewHeight);
  b.lineInt(SJIS("MAPＸ座標 = "), mapViewX);
  b.lineInt(SJIS("MAPＹ座標 = "), mapViewY);
  b.lineInt(SJIS("MAPSizeＸ = "), mapViewWidth);
  b.lineInt(SJIS("MAPSizeＹ = "), mapViewHeight);
  b.section(secSetup());
  b.lineInt(SJIS("でばっぐもーど   = "), showDebugInfo);
  b.lineInt(SJIS("ＢＧ             = "), showWallpaper);
  b.lineInt(SJIS("ぐりっど         = "), showGuideLines);
  b.lineInt(SJIS("上ＢＭＰ         = "), chipSheetOnTop);
  b.lineInt(SJIS("オートＳＣＲ     = "), autoScroll);
  b.lineInt(SJIS("ＳＣＲすぴーど   = "), scrollSpeed);
  b.lineInt("TIP_X            = ", TIP_X);
  b.lineInt("TIP_Y            = ", TIP_Y);
  b.section(secFiles());
  b.key("BMP", chipSheetPath);
  b.key("BCT", mapPath);
  b.key("BG", wallpaperPath);
  if (b.overflowed()) return 0;

  SafeFileWriter& w = settingsWriter;
  if (!w.open(iniPath)) return 0;
  w.write(settingsOut, b.size());
  return w.commit();
}

void resetSettings() {
  windowX = windowY = 0;
  sheetViewX = 24;
  sheetViewY = 112;
  sheetViewWidth = 256;
  sheetViewHeight = 256;
  mapViewX = 300;
  mapViewY = 112;
  mapViewWidth = 480;
  mapViewHeight = 470;
  showDebugInfo = 0;
  showWallpaper = 1;
  showGuideLines = 1;
  chipSheetOnTop = 0;
  autoScroll = 0;
  scrollSpeed = 400;
  TIP_X = 32;
  TIP_Y = 32;
  chipSheetPath[0] = chipSheetName[0] = mapPath[0] = wallpaperPath[0] = 0;
}
