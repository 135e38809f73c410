// The map in the TMX format of the Tiled editor, both ways, and the whole map
// drawn into a PNG picture.
//
// A cell's chip becomes the global tile id firstgid + row * columns + column
// of the chip sheet's grid; the attributes travel as the tile layer's
// property "attributes" (rows of comma-separated numbers). Every failure comes
// back as a one-line reason in English (UTF-8); every cell that could not be
// carried over exactly is reported through the notes.
#pragma once

#include <string>

struct TmxMap;

// Receives notes (one line each, UTF-8, no newline) about cells or parts of a
// file that were changed or passed over on the way.
struct TmxNotes {
  void (*line)(void* ctx, const std::string& text) = nullptr;
  void* ctx = nullptr;
  void say(const std::string& text) const {
    if (line) line(ctx, text);
  }
};

// Reports about single cells stop after this many; a count of the rest follows.
constexpr int TMX_CELL_NOTES = 20;
// Input files above this size are refused unread.
constexpr size_t TMX_FILE_LIMIT = 16u << 20;
// `renderMapPng` draws at most this many pixels (and 16384 on a side).
constexpr long long MAP_PNG_MAX_PIXELS = 8192LL * 8192LL;

// The current map as a TMX map over a chip sheet of sheetW x sheetH pixels.
void mapToTmx(int sheetW, int sheetH, const std::string& imageSourceUtf8, const std::string& tilesetNameUtf8,
              TmxMap* out, const TmxNotes& notes);

// Puts a read TMX map into the current map: sizes, chip planes, attributes and
// doc.chipSheetName (the file name of the tileset's image). On 0 the map is
// unchanged and `why` says what cannot be represented.
int tmxToMap(const TmxMap& tmx, std::string* why, const TmxNotes& notes);

// Writes the current map (its chip sheet at doc.chipSheetPath) to a TMX file at
// the UTF-8 path. The tileset refers to the chip sheet by a path relative
// to the TMX file; with `pngSheet` a PNG copy of the sheet is written beside
// the TMX file and referred to instead. 1 on success.
int exportTmxFile(const char* outPath, bool pngSheet, std::string* why, const TmxNotes& notes);

// Reads a TMX file (and an external tileset beside it) into the current map.
int importTmxFile(const char* inPath, std::string* why, const TmxNotes& notes);

// Draws every cell of the current map with its chip, as the map window does,
// and writes the picture as a PNG file. 1 on success.
int renderMapPng(const char* outPath, std::string* why);
