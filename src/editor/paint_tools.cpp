// The painting tools on the planes: the stroke's stamp (aligned and random),
// bucket fill, rectangle fill, 9-slice and chip replace. Nothing here reads
// the pointer or the input, so each tool can be run on the planes alone; the
// tool strip and the map tool call them once per action.
#include <cstring>

#include "editor/editor.h"
#include "editor/view_internal.h"
#include "map/map.h"

using editor_detail::maxI;
using editor_detail::minI;

PaintStroke paintStroke;

namespace {

// Per cell: the stroke generation in which it got its random chip.
uint32_t rolledIn[MAP_CELLS];
// Flood fill scratch: every cell enters the queue at most once, so a queue of
// one entry per cell of the planes never overflows.
uint16_t floodQueue[MAP_CELLS];
uint8_t floodSeen[MAP_CELLS];

int32_t floorMod(int32_t v, int32_t m) {
  int32_t r = v % m;
  return r < 0 ? r + m : r;
}

uint32_t nextRandom() {
  uint32_t s = paintStroke.randomState;
  s ^= s << 13;
  s ^= s >> 17;
  s ^= s << 5;
  paintStroke.randomState = s;
  return s;
}

int32_t brushWidth() { return minI(maxI(session.brushW, 1), MAP_MAX); }
int32_t brushHeight() { return minI(maxI(session.brushH, 1), MAP_MAX); }

void setCell(int32_t col, int32_t row, int32_t x, int32_t y) {
  doc.planeX[cellIndex(col, row)] = x;
  doc.planeY[cellIndex(col, row)] = y;
}

// A rectangle held inside the map; false when nothing of it is left.
bool cutToMap(int32_t* col0, int32_t* row0, int32_t* columns, int32_t* rows) {
  int32_t c1 = minI(*col0 + *columns, doc.mapCellsX), r1 = minI(*row0 + *rows, doc.mapCellsY);
  *col0 = maxI(*col0, 0);
  *row0 = maxI(*row0, 0);
  *columns = c1 - *col0;
  *rows = r1 - *row0;
  return *columns > 0 && *rows > 0;
}

// The brush index along one axis of a 9-slice of `length` cells.
int32_t sliceIndex(int32_t i, int32_t length, int32_t brushCells) {
  if (brushCells < 3) return i % brushCells;
  if (i == 0) return 0;
  if (i == length - 1) return brushCells - 1;
  return 1 + (i - 1) % (brushCells - 2);
}

// The start of a new stroke's random marks, so no cell counts as rolled.
void newGeneration() {
  if (++paintStroke.generation == 0) {
    std::memset(rolledIn, 0, sizeof rolledIn);
    paintStroke.generation = 1;
  }
}

}  // namespace

void brushChipAt(int32_t col, int32_t row, int32_t originCol, int32_t originRow, int32_t* x, int32_t* y) {
  const int32_t bw = brushWidth(), bh = brushHeight();
  int32_t c = 0, r = 0;
  if (session.randomMode) {
    c = static_cast<int32_t>(nextRandom() % static_cast<uint32_t>(bw));
    r = static_cast<int32_t>(nextRandom() % static_cast<uint32_t>(bh));
  } else {
    c = floorMod(col - originCol, bw);
    r = floorMod(row - originRow, bh);
  }
  *x = session.brushX[cellIndex(c, r)];
  *y = session.brushY[cellIndex(c, r)];
}

void strokeStampAt(int32_t col, int32_t row) {
  const int32_t bw = brushWidth(), bh = brushHeight();
  if (!paintStroke.active) {
    paintStroke.active = true;
    paintStroke.anchorCol = col;
    paintStroke.anchorRow = row;
    newGeneration();
  }
  if (session.alignedMode && session.toolMode == TOOL_FREE) {
    col -= floorMod(col - paintStroke.anchorCol, bw);
    row -= floorMod(row - paintStroke.anchorRow, bh);
  }
  if (!session.randomMode) {
    stampBrush(col, row);
    return;
  }
  // A resting pointer stamps the same cells frame after frame: each keeps the
  // chip it was first given, or the stroke would flicker.
  for (int32_t c = maxI(col, 0); c < minI(col + bw, MAP_MAX); ++c)
    for (int32_t r = maxI(row, 0); r < minI(row + bh, MAP_MAX); ++r) {
      uint32_t& mark = rolledIn[cellIndex(c, r)];
      if (mark == paintStroke.generation) continue;
      mark = paintStroke.generation;
      int32_t x = 0, y = 0;
      brushChipAt(c, r, col, row, &x, &y);
      setCell(c, r, x, y);
    }
}

void endPaintStroke() { paintStroke.active = false; }

int32_t bucketFill(int32_t col, int32_t row) {
  if (col < 0 || row < 0 || col >= doc.mapCellsX || row >= doc.mapCellsY) return 0;
  const int32_t fromX = doc.planeX[cellIndex(col, row)], fromY = doc.planeY[cellIndex(col, row)];
  std::memset(floodSeen, 0, sizeof floodSeen);
  // First the whole region, then the paint: a brush that holds the region's
  // own chip must not make the region grow or stop early.
  int32_t head = 0, tail = 0;
  floodQueue[tail++] = static_cast<uint16_t>(cellIndex(col, row));
  floodSeen[cellIndex(col, row)] = 1;
  while (head < tail) {
    const int32_t at = floodQueue[head++];
    const int32_t c = at / MAP_MAX, r = at % MAP_MAX;
    const int32_t next[4][2] = {{c - 1, r}, {c + 1, r}, {c, r - 1}, {c, r + 1}};
    for (const auto& n : next) {
      if (n[0] < 0 || n[1] < 0 || n[0] >= doc.mapCellsX || n[1] >= doc.mapCellsY) continue;
      const int32_t i = cellIndex(n[0], n[1]);
      if (floodSeen[i] != 0 || doc.planeX[i] != fromX || doc.planeY[i] != fromY) continue;
      floodSeen[i] = 1;
      floodQueue[tail++] = static_cast<uint16_t>(i);
    }
  }
  for (int32_t k = 0; k < tail; ++k) {
    const int32_t c = floodQueue[k] / MAP_MAX, r = floodQueue[k] % MAP_MAX;
    int32_t x = 0, y = 0;
    brushChipAt(c, r, col, row, &x, &y);
    setCell(c, r, x, y);
  }
  return tail;
}

void fillRectangle(int32_t col0, int32_t row0, int32_t columns, int32_t rows) {
  const int32_t originCol = col0, originRow = row0;
  if (!cutToMap(&col0, &row0, &columns, &rows)) return;
  for (int32_t c = col0; c < col0 + columns; ++c)
    for (int32_t r = row0; r < row0 + rows; ++r) {
      int32_t x = 0, y = 0;
      brushChipAt(c, r, originCol, originRow, &x, &y);
      setCell(c, r, x, y);
    }
}

void sliceChipAt(int32_t col, int32_t row, int32_t col0, int32_t row0, int32_t columns, int32_t rows, int32_t* x,
                 int32_t* y) {
  const int32_t bc = sliceIndex(col - col0, columns, brushWidth()), br = sliceIndex(row - row0, rows, brushHeight());
  *x = session.brushX[cellIndex(bc, br)];
  *y = session.brushY[cellIndex(bc, br)];
}

void fillNineSlice(int32_t col0, int32_t row0, int32_t columns, int32_t rows) {
  const int32_t fullCol0 = col0, fullRow0 = row0, fullColumns = columns, fullRows = rows;
  // The slices belong to the whole rectangle; only the part on the map is written.
  if (!cutToMap(&col0, &row0, &columns, &rows)) return;
  for (int32_t c = col0; c < col0 + columns; ++c)
    for (int32_t r = row0; r < row0 + rows; ++r) {
      int32_t x = 0, y = 0;
      sliceChipAt(c, r, fullCol0, fullRow0, fullColumns, fullRows, &x, &y);
      setCell(c, r, x, y);
    }
}

int32_t countChip(int32_t fromX, int32_t fromY, int32_t col0, int32_t row0, int32_t columns, int32_t rows) {
  if (!cutToMap(&col0, &row0, &columns, &rows)) return 0;
  int32_t n = 0;
  for (int32_t c = col0; c < col0 + columns; ++c)
    for (int32_t r = row0; r < row0 + rows; ++r)
      n += doc.planeX[cellIndex(c, r)] == fromX && doc.planeY[cellIndex(c, r)] == fromY;
  return n;
}

int32_t replaceChip(int32_t fromX, int32_t fromY, int32_t col0, int32_t row0, int32_t columns, int32_t rows) {
  if (!cutToMap(&col0, &row0, &columns, &rows)) return 0;
  const int32_t toX = session.brushX[0], toY = session.brushY[0];
  int32_t n = 0;
  for (int32_t c = col0; c < col0 + columns; ++c)
    for (int32_t r = row0; r < row0 + rows; ++r) {
      const int32_t i = cellIndex(c, r);
      if (doc.planeX[i] != fromX || doc.planeY[i] != fromY) continue;
      doc.planeX[i] = toX;
      doc.planeY[i] = toY;
      ++n;
    }
  return n;
}

void resetPaintTools() {
  paintStroke = PaintStroke{};
  std::memset(rolledIn, 0, sizeof rolledIn);
}
