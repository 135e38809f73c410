// The settings file Brindlecot.ini: read once at start-up, replaced once at
// shutdown.
#include "settings/settings.h"

#include <cstring>

#include "map/map.h"
#include "platform/files.h"
#include "platform/sjis.h"
#include "platform/workdir.h"
#include "settings/ini.h"

namespace {

constexpr size_t SETTINGS_READ_LIMIT = 65536;  // far beyond what the program writes
char settingsBytes[SETTINGS_READ_LIMIT];
// 21 short lines and three paths, each at most three bytes a byte escaped.
char settingsOut[4096 + 3 * 3 * PATH_STORE];
SafeFileWriter settingsWriter;

const char* secWindow() { return SJIS("ういんどう"); }
const char* secSetup() { return SJIS("せってい"); }
const char* secFiles() { return SJIS("ふぁいる"); }

// A path of the file as it was read: its bytes, and the UTF-8 they gave.
struct ReadPath {
  char bytes[3 * PATH_STORE];
  char utf8[PATH_STORE];
};
ReadPath readBmp, readBct, readBg;

// The path under `key` into `out` (UTF-8). A value that converts to nothing
// the program can use, or was longer than any path it writes, names no file.
void readPath(const IniText& ini, const char* key, ReadPath& kept, char* out) {
  kept.bytes[0] = kept.utf8[0] = out[0] = 0;
  size_t n = iniReadString(ini, secFiles(), key, kept.bytes, sizeof kept.bytes);
  if (n == 0 || n + 1 >= sizeof kept.bytes || pathFromStored(kept.bytes, n, kept.utf8, sizeof kept.utf8) < 0) {
    kept.bytes[0] = kept.utf8[0] = 0;
    return;
  }
  std::memcpy(out, kept.utf8, std::strlen(kept.utf8) + 1);
}

// The bytes the file holds for `path`: those it was read with when the path
// is the one read, so that a name keeps its bytes through any number of runs.
void writePath(IniBuilder& b, const char* key, const ReadPath& kept, const char* path) {
  static char stored[3 * PATH_STORE];
  if (kept.utf8[0] && std::strcmp(kept.utf8, path) == 0) {
    b.key(key, kept.bytes);
  } else if (!path[0] || pathToStored(path, stored, sizeof stored, nullptr) < 0) {
    b.key(key, "");
  } else {
    b.key(key, stored);
  }
}


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
  if (n == WORKDIR_NOT_UTF8) return PROGRAM_DIR_NOT_UTF8;
  if (n < 0) return 0;
  return buildProgramPathsFrom(dir);
}

void loadSettings() {
  size_t got = 0;
  IniText ini{settingsBytes, 0};
  if (readFileBytes(iniPath, reinterpret_cast<uint8_t*>(settingsBytes), sizeof settingsBytes, &got)) ini.len = got;

  settings.showDebugInfo = iniReadInt(ini, secSetup(), SJIS("でばっぐもーど"), 0);
  settings.showWallpaper = iniReadInt(ini, secSetup(), SJIS("ＢＧ"), 1);
  settings.showGuideLines = iniReadInt(ini, secSetup(), SJIS("ぐりっど"), 1);
  settings.chipSheetOnTop = iniReadInt(ini, secSetup(), SJIS("上ＢＭＰ"), 0);
  settings.autoScroll = iniReadInt(ini, secSetup(), SJIS("オートＳＣＲ"), 0);
  settings.scrollSpeed = iniReadInt(ini, secSetup(), SJIS("ＳＣＲすぴーど"), 400);

  settings.windowX = iniReadInt(ini, secWindow(), SJIS("Ｘ座標"), 0);
  settings.windowY = iniReadInt(ini, secWindow(), SJIS("Ｙ座標"), 0);
  if (settings.windowX <= 0) settings.windowX = 0;
  if (settings.windowY <= 0) settings.windowY = 0;

  readPath(ini, "BMP", readBmp, doc.chipSheetPath);
  setChipSheetPath(doc.chipSheetPath);  // a new map saved later names this sheet
  readPath(ini, "BCT", readBct, doc.mapPath);
  sjisCopy(doc.lastMapPath, PATH_STORE, doc.mapPath);
  readPath(ini, "BG", readBg, doc.wallpaperPath);

  settings.sheetViewX = iniReadInt(ini, secWindow(), SJIS("BMPＸ座標"), 24);
  settings.sheetViewY = iniReadInt(ini, secWindow(), SJIS("BMPＹ座標"), 112);
  settings.sheetViewWidth = iniReadInt(ini, secWindow(), SJIS("BMPSizeＸ"), 256);
  settings.sheetViewHeight = iniReadInt(ini, secWindow(), SJIS("BMPSizeＹ"), 256);
  settings.mapViewX = iniReadInt(ini, secWindow(), SJIS("MAPＸ座標"), 300);
  settings.mapViewY = iniReadInt(ini, secWindow(), SJIS("MAPＹ座標"), 112);
  settings.mapViewWidth = iniReadInt(ini, secWindow(), SJIS("MAPSizeＸ"), 480);
  settings.mapViewHeight = iniReadInt(ini, secWindow(), SJIS("MAPSizeＹ"), 470);

  // A chip size below 1 would leave the views dividing by zero: the guard keeps the old one.
  setChipWidth(iniReadInt(ini, secSetup(), "TIP_X", 32));
  setChipHeight(iniReadInt(ini, secSetup(), "TIP_Y", 32));
}

int saveSettings() {
  // The whole file is built afresh, so keys and sections no longer written vanish.
  IniBuilder b(settingsOut, sizeof settingsOut);
  b.section(secWindow());
  b.lineInt(SJIS("Ｘ座標    = "), settings.windowX);
  b.lineInt(SJIS("Ｙ座標    = "), settings.windowY);
  b.lineInt(SJIS("BMPＸ座標 = "), settings.sheetViewX);
  b.lineInt(SJIS("BMPＹ座標 = "), settings.sheetViewY);
  b.lineInt(SJIS("BMPSizeＸ = "), settings.sheetViewWidth);
  b.lineInt(SJIS("BMPSizeＹ = "), settings.sheetViewHeight);
  b.lineInt(SJIS("MAPＸ座標 = "), settings.mapViewX);
  b.lineInt(SJIS("MAPＹ座標 = "), settings.mapViewY);
  b.lineInt(SJIS("MAPSizeＸ = "), settings.mapViewWidth);
  b.lineInt(SJIS("MAPSizeＹ = "), settings.mapViewHeight);
  b.section(secSetup());
  b.lineInt(SJIS("でばっぐもーど   = "), settings.showDebugInfo);
  b.lineInt(SJIS("ＢＧ             = "), settings.showWallpaper);
  b.lineInt(SJIS("ぐりっど         = "), settings.showGuideLines);
  b.lineInt(SJIS("上ＢＭＰ         = "), settings.chipSheetOnTop);
  b.lineInt(SJIS("オートＳＣＲ     = "), settings.autoScroll);
  b.lineInt(SJIS("ＳＣＲすぴーど   = "), settings.scrollSpeed);
  b.lineInt("TIP_X            = ", doc.chipWidth);
  b.lineInt("TIP_Y            = ", doc.chipHeight);
  b.section(secFiles());
  writePath(b, "BMP", readBmp, doc.chipSheetPath);
  // A new map not saved yet leaves the last map to be offered at the next start.
  writePath(b, "BCT", readBct, doc.mapPath[0] ? doc.mapPath : doc.lastMapPath);
  writePath(b, "BG", readBg, doc.wallpaperPath);
  if (b.overflowed()) return 0;

  SafeFileWriter& w = settingsWriter;
  if (!w.open(iniPath)) return 0;
  w.write(settingsOut, b.size());
  return w.commit();
}

void resetSettings() {
  settings = Settings{};
  doc.chipWidth = 32;
  doc.chipHeight = 32;
  doc.chipSheetPath[0] = doc.chipSheetName[0] = doc.mapPath[0] = doc.wallpaperPath[0] = 0;
  readBmp.utf8[0] = readBct.utf8[0] = readBg.utf8[0] = 0;
}
