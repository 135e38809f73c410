#include "map/map.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/files.h"
#include "platform/sjis.h"

Document doc;

void snapshotUndo() {
  std::memcpy(doc.undoX, doc.planeX, sizeof doc.planeX);
  std::memcpy(doc.undoY, doc.planeY, sizeof doc.planeY);
  std::memcpy(doc.undoA, doc.planeA, sizeof doc.planeA);
}

void swapUndo() {
  std::swap_ranges(doc.planeX, doc.planeX + MAP_CELLS, doc.undoX);
  std::swap_ranges(doc.planeY, doc.planeY + MAP_CELLS, doc.undoY);
  std::swap_ranges(doc.planeA, doc.planeA + MAP_CELLS, doc.undoA);
}

void clearMap() {
  snapshotUndo();
  std::memset(doc.planeX, 0, sizeof doc.planeX);
  std::memset(doc.planeY, 0, sizeof doc.planeY);
  std::memset(doc.planeA, 0, sizeof doc.planeA);
}

// With one level of undo, a fresh start is a snapshot of the planes as they
// are: UNDO then exchanges them with themselves.
void resetUndo() { snapshotUndo(); }

void documentChanged() {
  doc.unsaved = 1;
  ++doc.changeCount;
}

void documentSaved() { doc.unsaved = 0; }

void clearDocumentPlanes() {
  std::memset(doc.planeX, 0, sizeof doc.planeX);
  std::memset(doc.planeY, 0, sizeof doc.planeY);
  std::memset(doc.planeA, 0, sizeof doc.planeA);
  resetUndo();
}

void startNewDocument() {
  clearDocumentPlanes();
  if (doc.mapPath[0]) sjisCopy(doc.lastMapPath, PATH_STORE, doc.mapPath);
  doc.mapPath[0] = 0;
  documentSaved();
}

void documentOpened(const char* path) {
  char copy[PATH_STORE];  // the path may be doc.mapPath itself
  sjisCopy(copy, sizeof copy, path);
  sjisCopy(doc.mapPath, PATH_STORE, copy);
  sjisCopy(doc.lastMapPath, PATH_STORE, copy);
  resetUndo();
  documentSaved();
}

void clearChipPlanes() {
  std::memset(doc.planeX, 0, sizeof doc.planeX);
  std::memset(doc.planeY, 0, sizeof doc.planeY);
}

int32_t clampCells(int32_t k) { return k < 0 ? 0 : (k > MAP_MAX ? MAP_MAX : k); }

void setMapCellsX(int32_t kx) { doc.mapCellsX = clampCells(kx); }
void setMapCellsY(int32_t ky) { doc.mapCellsY = clampCells(ky); }
void setMapCells(int32_t kx, int32_t ky) {
  setMapCellsX(kx);
  setMapCellsY(ky);
}
void setChipWidth(int32_t tx) {
  if (tx >= 1) doc.chipWidth = std::min<int32_t>(tx, CHIP_MAX);
}
void setChipHeight(int32_t ty) {
  if (ty >= 1) doc.chipHeight = std::min<int32_t>(ty, CHIP_MAX);
}

void setChipSheetPath(const char* path) {
  char copy[PATH_STORE];  // the path may be doc.chipSheetPath itself
  sjisCopy(copy, sizeof copy, path);
  sjisCopy(doc.chipSheetPath, PATH_STORE, copy);
  sjisCopy(doc.chipSheetName, PATH_STORE, pathFileName(copy));
}

void resetMapModel() {
  // Built in place: a temporary of this size would take 1.5 MB of stack.
  doc.~Document();
  ::new (&doc) Document();
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
