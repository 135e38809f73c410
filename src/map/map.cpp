#include "map/map.h"

#include <algorithm>
#include <cstring>

#include "platform/files.h"
#include "platform/sjis.h"

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
  if (tx >= 1) TIP_X = std::min<int32_t>(tx, CHIP_MAX);
}
void setChipHeight(int32_t ty) {
  if (ty >= 1) TIP_Y = std::min<int32_t>(ty, CHIP_MAX);
}

void setChipSheetPath(const char* path) {
  char copy[PATH_STORE];  // the path may be chipSheetPath itself
  sjisCopy(copy, sizeof copy, path);
  sjisCopy(chipSheetPath, PATH_STORE, copy);
  sjisCopy(chipSheetName, PATH_STORE, pathFileName(copy));
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

void pathBeside(const char* path, const char* name, char* out) {
  char joined[PATH_STORE * 2];
  size_t dirLen = path ? static_cast<size_t>(pathFileName(path) - path) : 0;
  if (dirLen >= PATH_STORE) dirLen = PATH_STORE - 1;  // cut again below, safely
  if (dirLen) std::memcpy(joined, path, dirLen);
  size_t nameLen = std::strlen(name);
  if (nameLen >= PATH_STORE) nameLen = PATH_STORE - 1;
  std::memcpy(joined + dirLen, name, nameLen);
  joined[dirLen + nameLen] = 0;
  sjisCopy(out, PATH_STORE, joined);
}
