#include "exchange.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "map/map.h"
#include "map/mapfile.h"
#include "map/tmxfile.h"
#include "platform/files.h"
#include "platform/sjis.h"

const char EXCHANGE_USAGE[] =
    "  tmx IN.bct OUT.tmx [--png]\n"
    "                      write the map as a TMX map for Tiled; its tileset refers to the\n"
    "                      chip sheet (with --png to a PNG copy of it written beside OUT)\n"
    "  fromtmx IN.tmx OUT.bct\n"
    "                      read a TMX map (one tile layer, one tileset) and write it as a map file\n"
    "  png IN.bct OUT.png  draw the whole map, each cell its chip, into a PNG picture\n";

namespace {

// Notes and reasons quote names from the files: one line each, whatever they hold.
std::string oneLine(std::string text) {
  for (char& ch : text)
    if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F) ch = ' ';
  return text;
}

void noteToStderr(void*, const std::string& text) {
  std::fprintf(stderr, "bctool: note: %s\n", oneLine(text).c_str());
}

int failWith(const std::string& why) {
  std::fprintf(stderr, "bctool: %s\n", oneLine(why).c_str());
  return 1;
}

char inPath[4096];
char outPath[4096];

}  // namespace

// Paths arrive and are used as UTF-8; one that is not valid names no file.
bool takePath(const char* utf8, char* out, size_t size) {
  if (osPathOf(utf8, out, size) >= 0) return true;
  failWith(std::string("file name is not valid UTF-8 or too long: ") + utf8);
  return false;
}

std::string withSystemCause(const std::string& what) {
  const int e = errno;
  return e ? what + ": " + std::strerror(e) : what;
}

int fileReadable(const char* path) {
  uint8_t first[1];
  size_t got = 0;
  errno = 0;
  return readFileBytes(path, first, sizeof first, &got);
}

bool isExchangeCommand(const char* name) {
  return std::strcmp(name, "tmx") == 0 || std::strcmp(name, "fromtmx") == 0 || std::strcmp(name, "png") == 0;
}

int runExchangeCommand(int argc, char** argv) {
  const std::string command = argv[1];
  const bool png = argc == 5 && command == "tmx" && std::strcmp(argv[4], "--png") == 0;
  if (argc != 4 && !png)
    return failWith("expected " + command + (command == "tmx" ? " IN.bct OUT.tmx [--png]" :
                                             command == "png" ? " IN.bct OUT.png" : " IN.tmx OUT.bct") +
                    " (see bctool --help)");
  if (!takePath(argv[2], inPath, sizeof inPath) || !takePath(argv[3], outPath, sizeof outPath)) return 1;
  const TmxNotes notes{noteToStderr, nullptr};
  std::string why;
  resetMapModel();

  if (command == "fromtmx") {
    if (!importTmxFile(inPath, &why, notes)) return failWith(why);
    errno = 0;
    if (!saveMapFile(outPath)) return failWith(withSystemCause(std::string("cannot write ") + argv[3]));
    // The editor looks for the chip sheet beside the map file.
    std::string out = argv[3];
    size_t slash = out.find_last_of('/');
    char sheet[4096];
    std::string sheetUtf8 = (slash == std::string::npos ? std::string() : out.substr(0, slash + 1));
    if (doc.chipSheetName[0]) {
      sheetUtf8 += doc.chipSheetName;
      if (osPathOf(sheetUtf8.c_str(), sheet, sizeof sheet) >= 0 && !pathExists(sheet))
        notes.say("the map's chip sheet " + sheetUtf8 + " does not exist; the editor looks for it there");
    }
    return 0;
  }

  if (!fileReadable(inPath) || !loadMapFile(inPath))
    return failWith(withSystemCause(std::string("cannot read ") + argv[2]));
  if (command == "tmx") {
    if (!exportTmxFile(outPath, png, &why, notes)) return failWith(why);
  } else {
    if (!renderMapPng(outPath, &why)) return failWith(why);
  }
  return 0;
}
