// The undo history: every change of cells, map size or chip size is one step.
//
// A step begins with snapshotUndo(): the planes are copied aside into the
// document's undo copies (doc.undoX/Y/A) and the sizes noted. It ends at the
// next snapshotUndo, an undo or redo, a save or when the editor sees its
// gesture over (closeHistoryStep); only then are the cells that differ from
// the copies stored, as old XOR new, into one fixed ring. The same record
// therefore takes a cell back and forth. When the ring or the step table is
// full, the oldest steps go first. Nothing here allocates.
#pragma once

#include <cstdint>

// A cell a step changed: its plane index and old ^ new of each plane.
struct HistoryCell {
  uint32_t index;
  int32_t x, y, a;
};

// Four whole-map changes more than the sixteen promised, so that sixteen
// CLEARs of a 256 x 256 map still fit with ordinary steps between them.
constexpr uint32_t HISTORY_CELLS = 20u * 65536u;  // 20 MiB of 16-byte records
constexpr uint32_t HISTORY_STEPS = 4096;

// The map's sizes, as a step takes them from and back to.
struct MapSizes {
  int32_t cellsX, cellsY, chipWidth, chipHeight;
};

struct HistoryStep {
  uint32_t first;   // ring slot of its first cell
  uint32_t count;   // cells it changed
  MapSizes before, after;
  uint32_t serial;  // names the document state after this step
};

struct History {
  HistoryCell cells[HISTORY_CELLS];
  HistoryStep steps[HISTORY_STEPS];
  uint32_t oldest = 0;     // table slot of the oldest kept step
  uint32_t count = 0;      // steps kept
  uint32_t position = 0;   // steps applied, 0..count
  uint32_t cellsUsed = 0;  // ring slots held by kept steps
  uint32_t baseSerial = 0; // names the state before the oldest kept step
  bool open = false;       // a step has begun and not yet ended
  MapSizes openSizes{};
  uint32_t changes = 0;    // counts every commit, undo, redo and reset
};
extern History history;

// Ends the step in progress, if any: stores what it changed (nothing when it
// changed nothing) and drops the steps ahead of the position.
void closeHistoryStep();
// Takes the step in progress back as if it never began: planes and sizes as
// at its snapshot. For an action that turns out to be part of a shortcut.
void discardHistoryStep();
// One step back or forth; 0 when there is none.
int undoStep();
int redoStep();
// A fresh history (a map opened, a new map): no steps, a new serial.
void resetHistory();
// 1 while a step is in progress.
int historyStepOpen();
// The document state at the position: equal serials mean equal documents,
// within one run (a step ended or undone reads its own). The step in progress
// counts only once it is closed.
uint32_t historySerial();
