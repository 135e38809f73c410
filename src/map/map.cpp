#include "map/map.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "map/history.h"
#include "platform/files.h"
#include "platform/sjis.h"

Document doc;

void clearMap() {
  snapshotUndo();
  std::memset(doc.planeX, 0, sizeof doc.planeX);
  std::memset(doc.planeY, 0, sizeof doc.planeY);
  std::memset(doc.planeA, 0, sizeof doc.planeA);
}

void resetUndo() { resetHistory(); }

void documentChanged() {
  doc.unsaved = 1;
  ++doc.changeCount;
}

void documentChangedOutsideHistory() {
  doc.unsavedOutsideHistory = 1;
  documentChanged();
}

void documentSaved() {
  closeHistoryStep();  // the file holds the step in progress too
  doc.unsaved = 0;
  doc.unsavedOutsideHistory = 0;
  doc.savedSerial = historySerial();
}

void documentHistoryMoved() {
  // Stepping back to the state last saved (or opened) leaves nothing unsaved,
  // unless something the history does not hold changed since; a step begun and not
  // yet ended counts as a change.
  doc.unsaved = (doc.unsavedOutsideHistory || history.open || historySerial() != doc.savedSerial) ? 1 : 0;
  ++doc.changeCount;
}

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
  resetHistory();
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
