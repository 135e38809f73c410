// [SECTION] Cells to tile ids and back
// [SECTION] Files: TMX out, TMX in, PNG picture
#include "map/tmxfile.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <vector>

#include "map/map.h"
#include "platform/files.h"
#include "platform/png.h"
#include "platform/sjis.h"
#include "platform/surface.h"
#include "platform/tmx_xml.h"

namespace fs = std::filesystem;

namespace {

std::string cellText(int c, int r) { return "cell (" + std::to_string(c) + ", " + std::to_string(r) + ")"; }
std::string pointText(int64_t x, int64_t y) { return "(" + std::to_string(x) + ", " + std::to_string(y) + ")"; }

// Counts the notes about single cells and holds back all after the first few.
struct CellNotes {
  const TmxNotes& notes;
  int count = 0;
  void say(const std::string& text) {
    if (++count <= TMX_CELL_NOTES) notes.say(text);
  }
  void finish(const std::string& what) const {
    if (count > TMX_CELL_NOTES)
      notes.say("... and " + std::to_string(count - TMX_CELL_NOTES) + " more cells " + what);
  }
};

// A path the file functions take: the same UTF-8 text, refused when it is not
// valid UTF-8 or too long.
bool pathOf(const std::string& utf8, char* out, size_t size) {
  return utf8.find('\0') == std::string::npos && osPathOf(utf8.c_str(), out, size) >= 0;
}

SafeFileWriter tmxWriter;    // 64 KiB of buffer each: kept out of the stack
SafeFileWriter sheetWriter;  // the PNG copy of the sheet beside a TMX file

// The reason the system gave for the failure just seen, as ": reason".
std::string systemCause() {
  const int e = errno;
  return e ? std::string(": ") + std::strerror(e) : std::string();
}

// The file written and on disk beside its target, not yet put in place.
bool writeStaged(SafeFileWriter& w, const std::string& pathUtf8, const std::string& bytes, std::string* why) {
  char path[PATH_STORE];
  if (!pathOf(pathUtf8, path, sizeof path)) {
    *why = "the file name is not valid UTF-8 or too long: " + pathUtf8;
    return false;
  }
  errno = 0;
  if (!w.open(path)) {
    *why = "cannot create " + pathUtf8 + systemCause();
    return false;
  }
  w.write(bytes.data(), bytes.size());
  if (!w.prepare()) {
    *why = "cannot write " + pathUtf8 + systemCause();
    return false;
  }
  return true;
}

bool commitStaged(SafeFileWriter& w, const std::string& pathUtf8, std::string* why) {
  errno = 0;
  if (w.commit()) return true;
  *why = "cannot write " + pathUtf8 + systemCause();
  return false;
}

bool writeWhole(const std::string& pathUtf8, const std::string& bytes, std::string* why) {
  return writeStaged(tmxWriter, pathUtf8, bytes, why) && commitStaged(tmxWriter, pathUtf8, why);
}

// The chip sheet the map names, loaded to learn its size (or to draw from).
PlatSurface* loadChipSheet(std::string* why) {
  if (!doc.chipSheetName[0]) {
    *why = "the map names no chip sheet (its @BMP line is empty)";
    return nullptr;
  }
  PlatSurface* sheet = platLoadBitmap(doc.chipSheetPath);
  if (!sheet) *why = "cannot load the chip sheet " + std::string(doc.chipSheetPath);
  return sheet;
}

}  // namespace

// ===========================================================================
// [SECTION] Cells to tile ids and back
// ===========================================================================

void mapToTmx(int sheetW, int sheetH, const std::string& imageSource, const std::string& tilesetName, TmxMap* out,
              const TmxNotes& notes) {
  const int w = clampCells(doc.mapCellsX), h = clampCells(doc.mapCellsY);
  const int64_t tw = doc.chipWidth, th = doc.chipHeight;  // at least 1, held by the model
  const int64_t columns = sheetW / tw, rows = sheetH / th;
  *out = TmxMap{};
  out->width = w;
  out->height = h;
  out->tileWidth = doc.chipWidth;
  out->tileHeight = doc.chipHeight;
  TmxTileset& ts = out->tileset;
  ts.firstGid = 1;
  ts.name = tilesetName;
  ts.tileWidth = doc.chipWidth;
  ts.tileHeight = doc.chipHeight;
  ts.columns = static_cast<int>(columns);
  ts.tileCount = static_cast<int>(columns * rows);
  ts.imageSource = imageSource;
  ts.imageWidth = sheetW;
  ts.imageHeight = sheetH;

  CellNotes cellNotes{notes};
  out->gids.resize(static_cast<size_t>(w) * h);
  out->hasAttributes = true;
  out->attributes.resize(static_cast<size_t>(w) * h);
  for (int r = 0; r < h; ++r) {
    for (int c = 0; c < w; ++c) {
      const int i = cellIndex(c, r);
      const size_t at = static_cast<size_t>(r) * w + c;
      out->attributes[at] = doc.planeA[i];
      const int64_t x = doc.planeX[i], y = doc.planeY[i];
      if (x < 0 || y < 0 || x >= columns * tw || y >= rows * th) {
        cellNotes.say(cellText(c, r) + ": the chip at " + pointText(x, y) + " lies outside the whole chips of the " +
                      std::to_string(sheetW) + " x " + std::to_string(sheetH) + " chip sheet; written as an empty cell");
        out->gids[at] = 0;
        continue;
      }
      int64_t col = x / tw, row = y / th;
      if (x % tw != 0 || y % th != 0) {
        col = std::min((x + tw / 2) / tw, columns - 1);
        row = std::min((y + th / 2) / th, rows - 1);
        cellNotes.say(cellText(c, r) + ": the chip at " + pointText(x, y) +
                      " is not on the chip grid; written as the nearest chip, at " + pointText(col * tw, row * th));
      }
      out->gids[at] = static_cast<uint32_t>(ts.firstGid + row * columns + col);
    }
  }
  cellNotes.finish("like these");
}

int tmxToMap(const TmxMap& tmx, std::string* why, const TmxNotes& notes) {
  const TmxTileset& ts = tmx.tileset;
  if (tmx.width < 0 || tmx.height < 0 || tmx.width > MAP_MAX || tmx.height > MAP_MAX) {
    *why = "the map is larger than 256 x 256 cells";
    return 0;
  }
  if (tmx.tileWidth < 1 || tmx.tileHeight < 1) {
    *why = "the map's tile size is not positive";
    return 0;
  }
  if (ts.tileWidth != tmx.tileWidth || ts.tileHeight != tmx.tileHeight) {
    *why = "the tileset's tiles are " + std::to_string(ts.tileWidth) + " x " + std::to_string(ts.tileHeight) +
           " pixels but the map's cells " + std::to_string(tmx.tileWidth) + " x " + std::to_string(tmx.tileHeight) +
           "; a bct map has one chip size";
    return 0;
  }
  const size_t cells = static_cast<size_t>(tmx.width) * tmx.height;
  if (tmx.gids.size() != cells || (tmx.hasAttributes && tmx.attributes.size() != cells)) {
    *why = "the layer data does not match the map's size";
    return 0;
  }
  const int64_t stepX = int64_t(ts.tileWidth) + ts.spacing, stepY = int64_t(ts.tileHeight) + ts.spacing;
  int64_t columns = ts.columns;
  if (columns < 0 && ts.imageWidth >= 0) columns = (int64_t(ts.imageWidth) - 2 * ts.margin + ts.spacing) / stepX;
  if (columns <= 0) {
    *why = "the tileset's image holds no whole tile in a row";
    return 0;
  }
  int64_t tileCount = ts.tileCount;
  if (tileCount < 0) {
    tileCount = ts.imageHeight >= 0 ? columns * ((int64_t(ts.imageHeight) - 2 * ts.margin + ts.spacing) / stepY)
                                    : INT64_MAX;
  }

  // The chip sheet is named by its file name alone: the map file expects it
  // in its own directory.
  std::string image = ts.imageSource;
  size_t slash = image.find_last_of("/\\");
  std::string imageName = slash == std::string::npos ? image : image.substr(slash + 1);
  char name[PATH_STORE], stored[MAP_SHEET_NAME_MAX + 1];
  if (imageName.empty() || !pathOf(imageName, name, sizeof name) ||
      pathToStored(name, stored, sizeof stored, nullptr) < 0) {
    *why = "the tileset image's name \"" + imageName + "\" cannot be a map file's chip sheet (empty, not valid " +
           "UTF-8, or longer than the 259 bytes of the @BMP line)";
    return 0;
  }

  std::vector<int32_t> xs(cells), ys(cells);
  int empty = 0;
  for (size_t at = 0; at < cells; ++at) {
    const int c = static_cast<int>(at % tmx.width), r = static_cast<int>(at / tmx.width);
    const uint32_t gid = tmx.gids[at];
    if (gid & TMX_FLIP_BITS) {
      *why = cellText(c, r) + " holds a flipped or rotated tile; a bct cell shows its chip as the sheet has it";
      return 0;
    }
    if (gid == 0) {
      ++empty;
      xs[at] = ys[at] = 0;
      continue;
    }
    const int64_t local = int64_t(gid) - ts.firstGid;
    const int64_t x = ts.margin + (local % columns) * stepX, y = ts.margin + (local / columns) * stepY;
    if (local < 0 || local >= tileCount || x > INT32_MAX || y > INT32_MAX) {
      *why = cellText(c, r) + " refers to tile " + std::to_string(gid) + ", which the tileset does not hold";
      return 0;
    }
    xs[at] = static_cast<int32_t>(x);
    ys[at] = static_cast<int32_t>(y);
  }

  clearDocumentPlanes();  // nothing of a previous map outside this one
  setMapCells(tmx.width, tmx.height);
  setChipWidth(tmx.tileWidth);
  setChipHeight(tmx.tileHeight);
  for (size_t at = 0; at < cells; ++at) {
    const int i = cellIndex(static_cast<int>(at % tmx.width), static_cast<int>(at / tmx.width));
    doc.planeX[i] = xs[at];
    doc.planeY[i] = ys[at];
    doc.planeA[i] = tmx.hasAttributes ? tmx.attributes[at] : 0;
  }
  std::memcpy(doc.chipSheetName, name, sizeof name);

  if (empty > 0)
    notes.say(std::to_string(empty) + " empty cells became the chip at the sheet's top-left corner (a bct cell " +
              "always shows a chip)");
  for (const std::string& part : tmx.ignored) notes.say("passed over: " + part + " (a bct map has one tile layer)");
  if (!tmx.hasAttributes) notes.say("the tile layer has no attributes property: every attribute is 0");
  return 1;
}

// ===========================================================================
// [SECTION] Files
// ===========================================================================

int exportTmxFile(const char* outPath, bool pngSheet, std::string* why, const TmxNotes& notes) {
  PlatSurface* sheet = loadChipSheet(why);
  if (!sheet) return 0;
  const int sheetW = sheet->width, sheetH = sheet->height;
  platSurfaceDestroy(sheet);

  const std::string outUtf8 = std::string(outPath), sheetUtf8 = std::string(doc.chipSheetPath);
  const fs::path outDir = fs::absolute(fs::path(outUtf8)).lexically_normal().parent_path();
  const fs::path sheetFile = fs::absolute(fs::path(sheetUtf8)).lexically_normal();
  const std::string stem = fs::path(std::string(doc.chipSheetName)).stem().string();
  std::string source, png;
  fs::path pngFile;
  if (pngSheet) {
    pngFile = outDir / (stem + ".png");
    if (pngFile != sheetFile) {  // a PNG sheet already beside the map needs no copy
      if (!platImageFileToPng(doc.chipSheetPath, &png)) {
        *why = "cannot convert the chip sheet " + sheetUtf8 + " to PNG";
        return 0;
      }
    }
    source = pngFile.filename().string();
  } else {
    fs::path rel = sheetFile.lexically_relative(outDir);
    source = rel.empty() ? sheetFile.string() : rel.string();
  }

  TmxMap tmx;
  mapToTmx(sheetW, sheetH, source, stem, &tmx, notes);
  if (png.empty()) return writeWhole(outUtf8, tmxWrite(tmx), why) ? 1 : 0;
  // Both files are written out before either is put in place: a full disk or
  // a refused folder leaves neither file behind and an older PNG as it was.
  if (!writeStaged(sheetWriter, pngFile.string(), png, why) || !writeStaged(tmxWriter, outUtf8, tmxWrite(tmx), why)) {
    sheetWriter.discard();
    return 0;
  }
  if (!commitStaged(sheetWriter, pngFile.string(), why)) {
    tmxWriter.discard();
    return 0;
  }
  return commitStaged(tmxWriter, outUtf8, why) ? 1 : 0;
}

namespace {

struct TilesetFiles {
  fs::path dir;  // the TMX file's directory
};

int loadTilesetFile(void* ctx, const std::string& source, std::string* bytes) {
  const fs::path file = static_cast<TilesetFiles*>(ctx)->dir / fs::path(source);
  char path[PATH_STORE];
  if (!pathOf(file.string(), path, sizeof path)) return 0;
  std::vector<uint8_t> buf(TMX_FILE_LIMIT + 1);
  size_t got = 0;
  if (!readFileBytes(path, buf.data(), buf.size(), &got) || got > TMX_FILE_LIMIT) return 0;
  bytes->assign(reinterpret_cast<const char*>(buf.data()), got);
  return 1;
}

}  // namespace

int importTmxFile(const char* inPath, std::string* why, const TmxNotes& notes) {
  const std::string inUtf8 = std::string(inPath);
  std::vector<uint8_t> buf(TMX_FILE_LIMIT + 1);
  size_t got = 0;
  if (!readFileBytes(inPath, buf.data(), buf.size(), &got)) {
    *why = "cannot read " + inUtf8;
    return 0;
  }
  if (got > TMX_FILE_LIMIT) {
    *why = inUtf8 + " is larger than " + std::to_string(TMX_FILE_LIMIT >> 20) + " MiB, more than any map of " +
           "256 x 256 cells needs";
    return 0;
  }
  TilesetFiles files{fs::path(inUtf8).parent_path()};
  TmxMap tmx;
  if (!tmxParse(reinterpret_cast<const char*>(buf.data()), got, &tmx, loadTilesetFile, &files, why)) return 0;
  return tmxToMap(tmx, why, notes);
}

int renderMapPng(const char* outPath, std::string* why) {
  const int w = clampCells(doc.mapCellsX), h = clampCells(doc.mapCellsY);
  const int64_t pw = int64_t(w) * doc.chipWidth, ph = int64_t(h) * doc.chipHeight;
  if (pw <= 0 || ph <= 0) {
    *why = "the map has no cells to draw";
    return 0;
  }
  if (pw > PLAT_SURFACE_MAX_SIDE || ph > PLAT_SURFACE_MAX_SIDE || pw * ph > MAP_PNG_MAX_PIXELS) {
    *why = "the picture would be " + std::to_string(pw) + " x " + std::to_string(ph) + " pixels; at most " +
           std::to_string(PLAT_SURFACE_MAX_SIDE) + " on a side and " + std::to_string(MAP_PNG_MAX_PIXELS) +
           " pixels in all are drawn";
    return 0;
  }
  PlatSurface* sheet = loadChipSheet(why);
  if (!sheet) return 0;
  PlatSurface* picture = platSurfaceCreate(static_cast<int>(pw), static_cast<int>(ph));
  if (!picture) {
    platSurfaceDestroy(sheet);
    *why = "not enough memory for a picture of " + std::to_string(pw) + " x " + std::to_string(ph) + " pixels";
    return 0;
  }
  // The map window's copy: the chip's rectangle at the cell, unstretched and
  // opaque; whatever of it lies outside the sheet leaves the picture black.
  for (int c = 0; c < w; ++c) {
    for (int r = 0; r < h; ++r) {
      const int i = cellIndex(c, r);
      const int64_t right = std::min<int64_t>(int64_t(doc.planeX[i]) + doc.chipWidth, INT32_MAX);
      const int64_t bottom = std::min<int64_t>(int64_t(doc.planeY[i]) + doc.chipHeight, INT32_MAX);
      platSurfaceCopy(picture, c * doc.chipWidth, r * doc.chipHeight, sheet, doc.planeX[i], doc.planeY[i], static_cast<int>(right),
                      static_cast<int>(bottom));
    }
  }
  platSurfaceDestroy(sheet);
  std::string png;
  const int encoded = platEncodePng(picture, &png);
  platSurfaceDestroy(picture);
  if (!encoded) {
    *why = "cannot encode the picture as PNG";
    return 0;
  }
  return writeWhole(std::string(outPath), png, why) ? 1 : 0;
}
