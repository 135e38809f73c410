// [SECTION] The undo history over the planes: steps of changed cells in one
// fixed ring, stepped back and forth by XOR.
#include "map/history.h"

#include <cstring>

#include "map/map.h"

History history;

namespace {

uint32_t nextSerial = 1;

MapSizes currentSizes() { return MapSizes{doc.mapCellsX, doc.mapCellsY, doc.chipWidth, doc.chipHeight}; }

bool sameSizes(const MapSizes& a, const MapSizes& b) {
  return a.cellsX == b.cellsX && a.cellsY == b.cellsY && a.chipWidth == b.chipWidth && a.chipHeight == b.chipHeight;
}

// Through the model's gate, like every other writer of the sizes.
void applySizes(const MapSizes& s) {
  setMapCells(s.cellsX, s.cellsY);
  setChipWidth(s.chipWidth);
  setChipHeight(s.chipHeight);
}

HistoryStep& stepAt(uint32_t k) { return history.steps[(history.oldest + k) % HISTORY_STEPS]; }

void evictOldest() {
  HistoryStep& s = stepAt(0);
  history.cellsUsed -= s.count;
  history.baseSerial = s.serial;
  history.oldest = (history.oldest + 1) % HISTORY_STEPS;
  --history.count;
  --history.position;
}

// The ring slot after the last kept step's cells.
uint32_t ringHead() {
  if (history.count == 0) return 0;
  const HistoryStep& last = stepAt(history.count - 1);
  return (last.first + last.count) % HISTORY_CELLS;
}

void dropStepsAhead() {
  while (history.count > history.position) {
    history.cellsUsed -= stepAt(history.count - 1).count;
    --history.count;
  }
}

// Stores every cell that differs from the step's copies; evicts the oldest
// steps as the ring fills. A step changes at most 65,536 cells, far below the
// ring's size, so only older steps are ever evicted.
uint32_t storeChangedCells(uint32_t first) {
  uint32_t slot = first, count = 0;
  for (uint32_t i = 0; i < static_cast<uint32_t>(MAP_CELLS); ++i) {
    const int32_t dx = doc.planeX[i] ^ doc.undoX[i];
    const int32_t dy = doc.planeY[i] ^ doc.undoY[i];
    const int32_t da = doc.planeA[i] ^ doc.undoA[i];
    if ((dx | dy | da) == 0) continue;
    while (history.cellsUsed + count >= HISTORY_CELLS) evictOldest();
    history.cells[slot] = HistoryCell{i, dx, dy, da};
    slot = slot + 1 == HISTORY_CELLS ? 0 : slot + 1;
    ++count;
  }
  return count;
}

// Undo and redo are the same XOR; a step that wraps the ring's end is two runs.
void applyCells(const HistoryStep& s) {
  uint32_t firstRun = s.count;
  if (s.first + s.count > HISTORY_CELLS) firstRun = HISTORY_CELLS - s.first;
  auto run = [](const HistoryCell* c, uint32_t n) {
    for (uint32_t k = 0; k < n; ++k) {
      doc.planeX[c[k].index] ^= c[k].x;
      doc.planeY[c[k].index] ^= c[k].y;
      doc.planeA[c[k].index] ^= c[k].a;
    }
  };
  run(history.cells + s.first, firstRun);
  run(history.cells, s.count - firstRun);
}

}  // namespace

void snapshotUndo() {
  closeHistoryStep();
  std::memcpy(doc.undoX, doc.planeX, sizeof doc.planeX);
  std::memcpy(doc.undoY, doc.planeY, sizeof doc.planeY);
  std::memcpy(doc.undoA, doc.planeA, sizeof doc.planeA);
  history.openSizes = currentSizes();
  history.open = true;
  documentChanged();  // told at once; the step's end tells whether it changed anything
}

void closeHistoryStep() {
  if (!history.open) return;
  history.open = false;
  const MapSizes now = currentSizes();
  const bool cellsSame = std::memcmp(doc.planeX, doc.undoX, sizeof doc.planeX) == 0 &&
                         std::memcmp(doc.planeY, doc.undoY, sizeof doc.planeY) == 0 &&
                         std::memcmp(doc.planeA, doc.undoA, sizeof doc.planeA) == 0;
  if (cellsSame && sameSizes(now, history.openSizes)) {  // no change, no step
    documentHistoryMoved();
    return;
  }
  dropStepsAhead();
  if (history.count == HISTORY_STEPS) evictOldest();
  const uint32_t first = ringHead();
  const uint32_t count = storeChangedCells(first);
  // Eviction may have emptied the table; the new step still starts at `first`.
  HistoryStep& s = stepAt(history.count);
  s = HistoryStep{first, count, history.openSizes, now, nextSerial++};
  history.cellsUsed += count;
  ++history.count;
  history.position = history.count;
  ++history.changes;
  documentHistoryMoved();
}

void discardHistoryStep() {
  if (!history.open) return;
  history.open = false;
  std::memcpy(doc.planeX, doc.undoX, sizeof doc.planeX);
  std::memcpy(doc.planeY, doc.undoY, sizeof doc.planeY);
  std::memcpy(doc.planeA, doc.undoA, sizeof doc.planeA);
  applySizes(history.openSizes);
  documentHistoryMoved();
}

int undoStep() {
  closeHistoryStep();
  if (history.position == 0) return 0;
  const HistoryStep& s = stepAt(--history.position);
  applyCells(s);
  applySizes(s.before);
  ++history.changes;
  documentHistoryMoved();
  return 1;
}

int redoStep() {
  closeHistoryStep();
  if (history.position == history.count) return 0;
  const HistoryStep& s = stepAt(history.position++);
  applyCells(s);
  applySizes(s.after);
  ++history.changes;
  documentHistoryMoved();
  return 1;
}

void resetHistory() {
  history.oldest = history.count = history.position = history.cellsUsed = 0;
  history.open = false;
  history.baseSerial = nextSerial++;
  ++history.changes;
}

int historyStepOpen() { return history.open ? 1 : 0; }

uint32_t historySerial() { return history.position == 0 ? history.baseSerial : stepAt(history.position - 1).serial; }
