#include "map/map.h"

#include <algorithm>
#include <cstring>

int32_t KOMA_X = 40;
int32_t KOMA_Y = 30;
int32_t TIP_X = 32;
int32_t TIP_Y = 32;

int32_t planeX[MAP_CELLS];
int32_t planeY[MAP_CELLS];
int32_t planeA[MAP_CELLS];
int32_t undoX[MAP_CELLS];
int32_t undoY[MAP_CELLS];
int32_t undoA[MAP_CELLS];

char mapPath[PATH_STORE];
char chipSheetPath[PATH_STORE];
char chipSheetName[PATH_STORE];
char wallpaperPath[PATH_STORE];

void snapshotUndo() {
  std::memcpy(undoX, planeX, sizeof planeX);
  std::memcpy(undoY, planeY, sizeof planeY);
  std::memcpy(undoA, planeA, sizeof planeA);
}

void swapUndo() {
  std::swap_ranges(planeX, planeX + MAP_CELLS, undoX);
  std::swap_ranges(planeY, planeY + MAP_CELLS, undoY);
  std::swap_ranges(planeA, planeA + MAP_CELLS, undoA);
}

void clearMap() {
  snapshotUndo();
  std::memset(planeX, 0, sizeof planeX);
  std::memset(planeY, 0, sizeof planeY);
  std::memset(planeA, 0, sizeof planeA);
}

void clearChipPlanes() {
  std::memset(planeX, 0, sizeof planeX);
  std::memset(planeY, 0, sizeof planeY);
}

int32_t clampCells(int32_t k) { return k < 0 ? 0 : (k > MAP_MAX ? MAP_MAX : k); }

void setMapCellsX(int32_t kx) { KOMA_X = clampCells(kx); }
void setMapCellsY(int32_t ky) { KOMA_Y = clampCells(ky); }
void setMapCells(int32_t kx, int32_t ky) {
  setMapCellsX(kx);
  setMapCellsY(ky);
}
void setChipWidth(int32_t tx) {
  if (tx >= 1) TIP_X = tx;
}
void setChipHeight(int32_t ty) {
  if (ty >= 1) TIP_Y = ty;
}

void resetMapModel() {
  KOMA_X = 40;
  KOMA_Y = 30;
  TIP_X = 32;
  TIP_Y = 32;
  std::memset(planeX, 0, sizeof planeX);
  std::memset(planeY, 0, sizeof planeY);
  std::memset(planeA, 0, sizeof planeA);
  std::memset(undoX, 0, sizeof undoX);
  std::memset(undoY, 0, sizeof undoY);
  std::memset(undoA, 0, sizeof undoA);
  mapPath[0] = chipSheetPath[0] = chipSheetName[0] = wallpaperPath[0] = 0;
}
