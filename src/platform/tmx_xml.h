// The TMX map format (the XML that Tiled reads and writes) as plain data, and
// its reading and writing through Qt's XML stream classes and zlib.
//
// Only what a bct map can hold is kept: one orthogonal tile layer with its
// global tile ids, one tileset with a single image, and the layer's
// "attributes" property. The reader refuses, with a one-line reason, whatever
// it cannot hand over faithfully; it never guesses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Bits that Tiled sets in a global tile id for flipped or rotated tiles.
constexpr uint32_t TMX_FLIP_BITS = 0xF0000000u;
// Largest number of cells per side that is read.
constexpr int TMX_MAX_CELLS = 256;

struct TmxTileset {
  int firstGid = 1;
  std::string name;           // UTF-8
  int tileWidth = 0, tileHeight = 0;
  int tileCount = -1;         // -1: not given
  int columns = -1;           // -1: not given
  int margin = 0, spacing = 0;
  std::string imageSource;    // UTF-8, as written in the file
  int imageWidth = -1, imageHeight = -1;  // -1: not given
  std::string sourceFile;     // UTF-8: an external tileset's file, "" when embedded
};

struct TmxMap {
  int width = 0, height = 0;  // cells
  int tileWidth = 0, tileHeight = 0;
  TmxTileset tileset;
  std::string layerName = "chips";
  std::vector<uint32_t> gids;  // row-major, width * height
  bool hasAttributes = false;
  std::vector<int32_t> attributes;  // row-major, width * height, when hasAttributes
  std::vector<std::string> ignored;  // what the reader passed over (object layers, ...)
};

// Reads an external tileset (a .tsx file) named by `source` relative to the
// map: fills `bytes` and returns 1, or 0 when it cannot be read.
using TmxTilesetLoader = int (*)(void* ctx, const std::string& sourceUtf8, std::string* bytes);

// Parses a TMX document. Returns 1 and fills `map`, or 0 with a one-line
// reason (UTF-8, no trailing newline) in `why`. `loader` may be null: an
// external tileset is then refused.
int tmxParse(const char* data, size_t len, TmxMap* map, TmxTilesetLoader loader, void* loaderCtx,
             std::string* why);

// The TMX document of `map` as Tiled itself saves one: an embedded tileset,
// the layer data in CSV and the attributes as a multi-line layer property.
std::string tmxWrite(const TmxMap& map);
