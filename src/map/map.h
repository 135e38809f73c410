// The edited map as it lives in memory: sizes, the three cell planes, the
// one-level undo store and the document paths. Everything is static and of
// fixed size; nothing is allocated when a map is created, opened or resized.
#pragma once

#include <cstdint>

constexpr int MAP_MAX = 256;             // cells per side held by the planes
constexpr int MAP_CELLS = MAP_MAX * MAP_MAX;
constexpr int PATH_STORE = 260;          // bytes of every path store, terminator included

extern int32_t KOMA_X;  // map width in cells, 0..256
extern int32_t KOMA_Y;  // map height in cells, 0..256
extern int32_t TIP_X;   // chip width in pixels, >= 1
extern int32_t TIP_Y;   // chip height in pixels, >= 1

// Column-major: the cell of column c, row r is at index c * 256 + r.
extern int32_t planeX[MAP_CELLS];
extern int32_t planeY[MAP_CELLS];
extern int32_t planeA[MAP_CELLS];
extern int32_t undoX[MAP_CELLS];
extern int32_t undoY[MAP_CELLS];
extern int32_t undoA[MAP_CELLS];

inline int cellIndex(int c, int r) { return c * MAP_MAX + r; }

// Shift_JIS, zero-terminated.
extern char mapPath[PATH_STORE];
extern char chipSheetPath[PATH_STORE];
extern char chipSheetName[PATH_STORE];
extern char wallpaperPath[PATH_STORE];

void snapshotUndo();     // planes -> undo copies, all 65,536 cells
void swapUndo();         // exchange planes with their undo copies
void clearMap();         // snapshotUndo, then every plane to 0
void clearChipPlanes();  // planeX and planeY to 0; planeA and undo untouched

// The one gate through which sizes enter the model (file reader, converter,
// settings, dialogs). Cell counts are held to 0..256. A chip size below 1 is
// refused: the previous value stays, so the views never divide by zero.
void setMapCells(int32_t kx, int32_t ky);
void setMapCellsX(int32_t kx);
void setMapCellsY(int32_t ky);
void setChipWidth(int32_t tx);
void setChipHeight(int32_t ty);
int32_t clampCells(int32_t k);

// Puts the model back as a fresh program run has it: 40 x 30 cells, 32 x 32
// chips, every plane and undo copy 0, every path empty. Used by tests and tools.
void resetMapModel();
