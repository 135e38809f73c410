// The settings file Brindlecot.ini: read once at start-up, replaced once at
// shutdown. One table names every key once: its section, its text, where the
// value lives, its default and the floor a read value is held at. Reading,
// writing and the reset all walk that table, so a key cannot be spelt two ways.
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
// 24 short lines and three paths, each at most three bytes a byte escaped.
char settingsOut[4096 + 3 * 3 * PATH_STORE];
SafeFileWriter settingsWriter;

// The sections in the order of the file. A number section pads its keys so
// that every "=" stands in one column (the files written so far do so); the
// file section writes "KEY=path" with nothing between.
struct Section {
  const char* name;  // UTF-8
  size_t keyColumn;  // 0: no padding and no blank around "="
};
constexpr Section WINDOW{"ういんどう", 10};
constexpr Section SETUP{"せってい", 17};
constexpr Section FILES{"ふぁいる", 0};
constexpr Section OTHER{"そのた", 10};

// Where a value lives: most in the Settings record, the chip size and the
// paths in the document (each with the guard or follow-up its setter owns).
enum class Place { SETTING, CHIP_WIDTH, CHIP_HEIGHT, SHEET_PATH, MAP_PATH, WALLPAPER_PATH, LANGUAGE };

constexpr int32_t NO_FLOOR = INT32_MIN;

struct Key {
  const Section* section;
  const char* name;  // UTF-8
  Place place;
  int32_t Settings::*number;  // Place::SETTING only
  int32_t def;
  int32_t floor;  // a value read below it is held at it; NO_FLOOR where nothing is clamped
};

constexpr Key KEYS[] = {
    {&WINDOW, "Ｘ座標", Place::SETTING, &Settings::windowX, 0, 0},
    {&WINDOW, "Ｙ座標", Place::SETTING, &Settings::windowY, 0, 0},
    {&WINDOW, "BMPＸ座標", Place::SETTING, &Settings::sheetViewX, 24, NO_FLOOR},
    {&WINDOW, "BMPＹ座標", Place::SETTING, &Settings::sheetViewY, 112, NO_FLOOR},
    {&WINDOW, "BMPSizeＸ", Place::SETTING, &Settings::sheetViewWidth, 256, NO_FLOOR},
    {&WINDOW, "BMPSizeＹ", Place::SETTING, &Settings::sheetViewHeight, 256, NO_FLOOR},
    {&WINDOW, "MAPＸ座標", Place::SETTING, &Settings::mapViewX, 300, NO_FLOOR},
    {&WINDOW, "MAPＹ座標", Place::SETTING, &Settings::mapViewY, 112, NO_FLOOR},
    {&WINDOW, "MAPSizeＸ", Place::SETTING, &Settings::mapViewWidth, 480, NO_FLOOR},
    {&WINDOW, "MAPSizeＹ", Place::SETTING, &Settings::mapViewHeight, 470, NO_FLOOR},
    {&SETUP, "でばっぐもーど", Place::SETTING, &Settings::showDebugInfo, 0, NO_FLOOR},
    {&SETUP, "ＢＧ", Place::SETTING, &Settings::showWallpaper, 1, NO_FLOOR},
    {&SETUP, "ぐりっど", Place::SETTING, &Settings::showGuideLines, 1, NO_FLOOR},
    {&SETUP, "上ＢＭＰ", Place::SETTING, &Settings::chipSheetOnTop, 0, NO_FLOOR},
    {&SETUP, "オートＳＣＲ", Place::SETTING, &Settings::autoScroll, 0, NO_FLOOR},
    {&SETUP, "ＳＣＲすぴーど", Place::SETTING, &Settings::scrollSpeed, 400, NO_FLOOR},
    // A chip size below 1 would leave the views dividing by zero: the
    // document's guard keeps the old one.
    {&SETUP, "TIP_X", Place::CHIP_WIDTH, nullptr, 32, NO_FLOOR},
    {&SETUP, "TIP_Y", Place::CHIP_HEIGHT, nullptr, 32, NO_FLOOR},
    {&FILES, "BMP", Place::SHEET_PATH, nullptr, 0, NO_FLOOR},
    {&FILES, "BCT", Place::MAP_PATH, nullptr, 0, NO_FLOOR},
    {&FILES, "BG", Place::WALLPAPER_PATH, nullptr, 0, NO_FLOOR},
    {&OTHER, "がめん", Place::SETTING, &Settings::displayCanvas, 0, NO_FLOOR},
    {&OTHER, "くっきり", Place::SETTING, &Settings::sharpFit, 1, NO_FLOOR},
    {&OTHER, "ことば", Place::LANGUAGE, nullptr, 0, NO_FLOOR},
};

// The Settings record's member initialisers are its start values; the table
// must say the same, or a reset and a first run would differ.
constexpr bool defaultsAgree() {
  Settings start{};
  for (const Key& k : KEYS)
    if (k.place == Place::SETTING && start.*k.number != k.def) return false;
  return true;
}
static_assert(defaultsAgree(), "a default in KEYS differs from the Settings record's");

bool isPath(Place p) { return p == Place::SHEET_PATH || p == Place::MAP_PATH || p == Place::WALLPAPER_PATH; }
bool isText(Place p) { return isPath(p) || p == Place::LANGUAGE; }

// Section and key names are written in UTF-8 above; the file holds Shift_JIS.
struct SjisName {
  char bytes[64];
  explicit SjisName(const char* utf8) {
    if (utf8ToSjis(utf8, bytes, sizeof bytes) < 0) bytes[0] = 0;
  }
};

void setNumber(const Key& k, int32_t v) {
  if (v < k.floor) v = k.floor;
  switch (k.place) {
    case Place::SETTING: settings.*k.number = v; break;
    case Place::CHIP_WIDTH: setChipWidth(v); break;
    case Place::CHIP_HEIGHT: setChipHeight(v); break;
    default: break;
  }
}

int32_t number(const Key& k) {
  if (k.place == Place::CHIP_WIDTH) return doc.chipWidth;
  if (k.place == Place::CHIP_HEIGHT) return doc.chipHeight;
  return settings.*k.number;
}

void setText(Place p, const char* v) {
  switch (p) {
    case Place::SHEET_PATH: setChipSheetPath(v); break;  // a new map saved later names this sheet
    case Place::MAP_PATH:
      sjisCopy(doc.mapPath, PATH_STORE, v);
      sjisCopy(doc.lastMapPath, PATH_STORE, v);
      break;
    case Place::WALLPAPER_PATH: sjisCopy(doc.wallpaperPath, PATH_STORE, v); break;
    case Place::LANGUAGE:
      // Only the two languages the program speaks; anything else follows the environment.
      settings.language[0] = 0;
      if (std::strcmp(v, "ja") == 0 || std::strcmp(v, "en") == 0) std::memcpy(settings.language, v, 3);
      break;
    default: break;
  }
}

const char* text(Place p) {
  switch (p) {
    case Place::SHEET_PATH: return doc.chipSheetPath;
    // A new map not saved yet leaves the last map to be offered at the next start.
    case Place::MAP_PATH: return doc.mapPath[0] ? doc.mapPath : doc.lastMapPath;
    case Place::WALLPAPER_PATH: return doc.wallpaperPath;
    case Place::LANGUAGE: return settings.language;
    default: return "";
  }
}

// A path of the file as it was read: its bytes, and the UTF-8 they gave. A
// path the program still holds at shutdown is written back with those bytes,
// so that a name keeps them through any number of runs.
struct ReadPath {
  char bytes[3 * PATH_STORE];
  char utf8[PATH_STORE];
};
ReadPath readPaths[3];  // by Place, from SHEET_PATH on
static_assert(static_cast<int>(Place::WALLPAPER_PATH) - static_cast<int>(Place::SHEET_PATH) == 2 &&
                  static_cast<int>(Place::MAP_PATH) - static_cast<int>(Place::SHEET_PATH) == 1,
              "the three path places follow each other");
ReadPath& readPathOf(Place p) { return readPaths[static_cast<int>(p) - static_cast<int>(Place::SHEET_PATH)]; }

// The path under the key into `out` (UTF-8). A value that converts to nothing
// the program can use, or was longer than any path it writes, names no file.
void readPath(const IniText& ini, const char* section, const char* key, ReadPath& kept, char* out) {
  kept.bytes[0] = kept.utf8[0] = out[0] = 0;
  size_t n = iniReadString(ini, section, key, kept.bytes, sizeof kept.bytes);
  if (n == 0 || n + 1 >= sizeof kept.bytes || pathFromStored(kept.bytes, n, kept.utf8, sizeof kept.utf8) < 0) {
    kept.bytes[0] = kept.utf8[0] = 0;
    return;
  }
  std::memcpy(out, kept.utf8, std::strlen(kept.utf8) + 1);
}

// The Shift_JIS file holds `path` as the bytes it was read with when it is
// the path read; otherwise in Shift_JIS, or escaped where Shift_JIS cannot
// hold it (never as raw UTF-8).
const char* storedPath(const ReadPath& kept, const char* path) {
  static char stored[3 * PATH_STORE];
  if (kept.utf8[0] && std::strcmp(kept.utf8, path) == 0) return kept.bytes;
  if (!path[0] || pathToStored(path, stored, sizeof stored, nullptr) < 0) return "";
  return stored;
}

// "key", padded to the section's column, then "= ": the text before a value.
void keyPrefix(const Key& k, const char* sjisKey, char* out, size_t outSize) {
  size_t n = std::strlen(sjisKey);
  size_t column = k.section->keyColumn;
  size_t pad = column > n ? column - n : 0;
  if (n + pad + 3 > outSize) n = pad = 0;  // no key of the table comes near
  std::memcpy(out, sjisKey, n);
  std::memset(out + n, ' ', pad);
  std::memcpy(out + n + pad, "= ", 3);
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
  for (const Key& k : KEYS) {
    SjisName section(k.section->name), name(k.name);
    if (isText(k.place)) {
      char value[PATH_STORE];
      if (isPath(k.place))
        readPath(ini, section.bytes, name.bytes, readPathOf(k.place), value);
      else
        iniReadString(ini, section.bytes, name.bytes, value, sizeof value);
      setText(k.place, value);
    } else {
      setNumber(k, iniReadInt(ini, section.bytes, name.bytes, k.def));
    }
  }
}

int saveSettings() {
  // The whole file is built afresh, so keys and sections no longer written vanish.
  IniBuilder b(settingsOut, sizeof settingsOut);
  const Section* open = nullptr;
  for (const Key& k : KEYS) {
    if (k.section != open) {
      open = k.section;
      b.section(SjisName(open->name).bytes);
    }
    SjisName name(k.name);
    if (open->keyColumn == 0) {
      b.key(name.bytes, isPath(k.place) ? storedPath(readPathOf(k.place), text(k.place)) : text(k.place));
      continue;
    }
    char prefix[96];
    keyPrefix(k, name.bytes, prefix, sizeof prefix);
    if (isText(k.place)) {
      char line[sizeof prefix + sizeof settings.language];
      std::strcpy(line, prefix);
      std::strcat(line, text(k.place));
      b.line(line);
    } else {
      b.lineInt(prefix, number(k));
    }
  }
  if (b.overflowed()) return 0;

  SafeFileWriter& w = settingsWriter;
  if (!w.open(iniPath)) return 0;
  w.write(settingsOut, b.size());
  return w.commit();
}

void resetSettings() {
  for (ReadPath& kept : readPaths) kept.bytes[0] = kept.utf8[0] = 0;
  for (const Key& k : KEYS) {
    if (isText(k.place)) {
      setText(k.place, "");
    } else {
      setNumber(k, k.def);
    }
  }
}
