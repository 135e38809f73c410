// The edited map as it lives in memory: sizes, the three cell planes, the
// copies a history step begins with (map/history.h) and the document paths. Everything is static and of
// fixed size; nothing is allocated when a map is created, opened or resized.
#pragma once

#include <cstdint>

constexpr int MAP_MAX = 256;             // cells per side held by the planes
constexpr int MAP_CELLS = MAP_MAX * MAP_MAX;
// Bytes of every path store, terminator included: the system's own limit, as
// paths are kept in its UTF-8 (a Japanese name takes three bytes a character).
constexpr int PATH_STORE = 4096;
// The longest chip sheet name a map file's @BMP line holds, in the file's bytes.
constexpr int MAP_SHEET_NAME_MAX = 259;
// The largest chip side a file or dialog can set. A map is then at most
// 256 x 4096 = 1,048,576 pixels a side, so every sum and product of screen and
// image coordinates the views, the brush and the bands form stays far inside
// 32 bits (a chip wider than that is no use on an 800 x 600 screen anyway).
constexpr int CHIP_MAX = 4096;

// The document: its sizes, the three cell planes with the copies of them the
// history step in progress began with, and the paths it names. Column-major: the cell of column c, row r
// is at index c * 256 + r. The start values are a fresh program run's.
struct Document {
  int32_t mapCellsX = 40;   // map width in cells, 0..256
  int32_t mapCellsY = 30;   // map height in cells, 0..256
  int32_t chipWidth = 32;   // chip width in pixels, 1..CHIP_MAX
  int32_t chipHeight = 32;  // chip height in pixels, 1..CHIP_MAX
  int32_t planeX[MAP_CELLS]{};
  int32_t planeY[MAP_CELLS]{};
  int32_t planeA[MAP_CELLS]{};
  int32_t undoX[MAP_CELLS]{};
  int32_t undoY[MAP_CELLS]{};
  int32_t undoA[MAP_CELLS]{};
  // UTF-8, zero-terminated.
  char mapPath[PATH_STORE]{};
  char chipSheetPath[PATH_STORE]{};
  char chipSheetName[PATH_STORE]{};
  char wallpaperPath[PATH_STORE]{};
  // The map file last opened or saved. A new map has no mapPath until its
  // first save; its SAVE chooser starts in this file's folder, and the
  // settings keep it as the map to offer at the next start.
  char lastMapPath[PATH_STORE]{};
  // 1 from a change of what SAVE would write (cells, sizes, chip sheet) until
  // the next save, open or new map.
  int32_t unsaved = 0;
  // Counts every change; whoever keeps a copy of the document compares it.
  uint32_t changeCount = 0;
  // The history's state at the last save or open, and whether something the
  // history does not hold changed since (the chip sheet, a restored copy):
  // together they tell whether stepping back has reached what the file holds.
  uint32_t savedSerial = 0;
  int32_t unsavedOutsideHistory = 0;
};
extern Document doc;

inline int cellIndex(int c, int r) { return c * MAP_MAX + r; }

// A history step begins: the step before it ends, and the planes (all 65,536
// cells) are copied into the undo copies. Called before every change.
void snapshotUndo();
void clearMap();         // snapshotUndo, then every plane to 0
void clearChipPlanes();  // doc.planeX and doc.planeY to 0; doc.planeA and undo untouched
// Undo starts afresh: no steps to take back or redo. Opening a map or starting
// a new one calls it.
void resetUndo();

// The unsaved state. documentChanged after every change of cells, sizes or
// chip sheet; documentSaved after a save, an open or a new map.
void documentChanged();
void documentSaved();
// A change the history cannot take back (BmpLoad: the map names another
// sheet; a restored recovery copy): unsaved until the next save, whatever the
// history does.
void documentChangedOutsideHistory();
// After the history stored, took back or redid a step: unsaved unless the
// document is again the state last saved.
void documentHistoryMoved();
// Every cell of all three planes (the whole 256 x 256, not only the map) and
// the undo copies to 0: what a new map and every opened file start from, so
// nothing of the previous map survives hidden outside the map or in the
// attributes.
void clearDocumentPlanes();
// A new map: clean planes, a fresh undo, nothing unsaved, and no map file
// (the file in use, if any, is kept as doc.lastMapPath).
void startNewDocument();
// After a map file was read into clean planes (or written) under `path`: the
// path becomes the document's, undo starts afresh, nothing is unsaved.
void documentOpened(const char* path);

// The one gate through which sizes enter the model (file reader, converter,
// settings, dialogs). Cell counts are held to 0..256. A chip size below 1 is
// refused: the previous value stays, so the views never divide by zero; one
// above CHIP_MAX is held at CHIP_MAX.
void setMapCells(int32_t kx, int32_t ky);
void setMapCellsX(int32_t kx);
void setMapCellsY(int32_t ky);
void setChipWidth(int32_t tx);
void setChipHeight(int32_t ty);
int32_t clampCells(int32_t k);

// Puts the model back as a fresh program run has it: 40 x 30 cells, 32 x 32
// chips, every plane and undo copy 0, every path empty, an empty history.
// Used by tests and tools.
void resetMapModel();

// Sets doc.chipSheetPath and, from it, doc.chipSheetName (the path's file name alone),
// so that a saved map always names the sheet in use.
void setChipSheetPath(const char* path);
// Into the path store `out`: `name` in the folder of `path` (the part up to its
// last '/'), or `name` alone when `path` has no folder; cut to fit the store.
void pathBeside(const char* path, const char* name, char* out);
