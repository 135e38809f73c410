// The map window's tool: the brush ghost under the pointer and painting in
// POINT and FREE mode. Attribute mode and the copy drag are dispatched from
// here to attribute.cpp and selection.cpp.
#include <cstdio>

#include "dialogs/dialogs.h"
#include "editor/editor.h"
#include "editor/view_internal.h"
#include "gfx/gfx.h"
#include "input/input.h"
#include "map/history.h"
#include "map/map.h"

using editor_detail::minI;

namespace {

// Chip replace puts down the brush's first chip alone: its ghost is that chip.
int32_t ghostColumns() { return session.toolMode == TOOL_REPLACE ? 1 : session.brushW; }
int32_t ghostRows() { return session.toolMode == TOOL_REPLACE ? 1 : session.brushH; }
int64_t minI64(int64_t a, int64_t b) { return a < b ? a : b; }

void drawBrushGhost(int layer) {
  const int32_t tx = doc.chipWidth, ty = doc.chipHeight;
  sprites.brushCell.width = tx;
  sprites.brushCell.height = ty;
  sprites.brushCell.layer = layer;
  const int32_t bw = minI(ghostColumns(), MAP_MAX), bh = minI(ghostRows(), MAP_MAX);
  // The columns and rows that reach into the window.
  const int32_t shownC =
      minI(bw, editor_detail::mapPixelX(session.mapClipRect.right) / tx - session.hoverCellX / tx + 1);
  const int32_t shownR =
      minI(bh, editor_detail::mapPixelY(session.mapClipRect.bottom) / ty - session.hoverCellY / ty + 1);
  if (!editor_detail::cellsFitFrame(shownC, shownR)) return;
  for (int32_t c = 0; c < shownC; ++c) {
    for (int32_t r = 0; r < shownR; ++r) {
      int idx = cellIndex(c, r);
      sprites.brushCell.srcX = session.brushX[idx];
      sprites.brushCell.srcY = session.brushY[idx];
      editor_detail::drawMapCell(sprites.brushCell, session.hoverCellX + c * tx, session.hoverCellY + r * ty);
    }
  }
}

// Stamps at (col, row) and, when the stroke stamped in the previous frame,
// at every cell of the line from there, so a fast drag leaves no gaps.
void strokeTo(int32_t col, int32_t row, bool joined) {
  int32_t c = joined ? session.strokeCol : col, r = joined ? session.strokeRow : row;
  const int32_t dc = col > c ? col - c : c - col, dr = row > r ? row - r : r - row;
  const int32_t sc = c < col ? 1 : -1, sr = r < row ? 1 : -1;
  int32_t err = dc - dr;
  for (;;) {
    strokeStampAt(c, r);
    if (c == col && r == row) break;
    const int32_t e2 = 2 * err;
    if (e2 > -dr) {
      err -= dr;
      c += sc;
    }
    if (e2 < dc) {
      err += dc;
      r += sr;
    }
  }
  session.strokeStamped = true;
  session.strokeCol = col;
  session.strokeRow = row;
}

void hoverAndPaint(int layer, bool stampedBefore) {
  const ViewWindow& v = session.mapView;
  if (!pointerHovers(TARGET_CONTENT, &v)) return;

  session.hoverCellX = editor_detail::snapDown(editor_detail::mapPixelX(frameState.mouseX), doc.chipWidth);
  session.hoverCellY = editor_detail::snapDown(editor_detail::mapPixelY(frameState.mouseY), doc.chipHeight);
  const int32_t left = editor_detail::screenOfMapX(session.hoverCellX);
  const int32_t top = editor_detail::screenOfMapY(session.hoverCellY);

  setClipRect(session.mapClipRect.left, session.mapClipRect.top, session.mapClipRect.right, session.mapClipRect.bottom);
  drawBrushGhost(layer);
  // Only the right and bottom sides are held inside the window; the left and
  // top follow the cell even when it is partly scrolled out.
  const int64_t ghostW = static_cast<int64_t>(ghostColumns()) * doc.chipWidth;
  const int64_t ghostH = static_cast<int64_t>(ghostRows()) * doc.chipHeight;
  const int32_t right =
      editor_detail::screenOfMapX(static_cast<int32_t>(minI64(session.hoverCellX + ghostW, 0x3FFFFFFF)));
  const int32_t bottom =
      editor_detail::screenOfMapY(static_cast<int32_t>(minI64(session.hoverCellY + ghostH, 0x3FFFFFFF)));
  queueShape(left, top, minI(right, v.x + v.w), minI(bottom, v.y + v.h), 1, COLOR_WHITE, SHAPE_BOX, layer);
  setClipRect(0, 0, screenMetrics.canvasW, screenMetrics.canvasH);

  const bool pressed = (inputState.buttonsPressed & BTN_PRIMARY) != 0;
  const bool held = (inputState.buttonsHeld & BTN_PRIMARY) != 0;
  if (session.toolMode == TOOL_POINT) {
    if (pressed) {
      snapshotUndo();
      session.frontWindow = FRONT_MAP;
      strokeStampAt(session.hoverCellX / doc.chipWidth, session.hoverCellY / doc.chipHeight);
    }
  } else if (session.toolMode == TOOL_FREE) {
    if (held) {
      // One step per stroke, also for a stroke that entered the window with
      // the button already down.
      if (pressed || !historyStepOpen()) snapshotUndo();
      session.frontWindow = FRONT_MAP;
      strokeTo(session.hoverCellX / doc.chipWidth, session.hoverCellY / doc.chipHeight, !pressed && stampedBefore);
    }
  } else if (pressed) {
    startMapToolAction();
  }

  char status[TEXT_STORE];
  formatMapStatus(status, sizeof status);
  queueMapTitlePart(status, layer);

  if ((inputState.buttonsPressed & BTN_SECONDARY) != 0) startCopyDrag();
}

}  // namespace

void updateMapTool(int layer) {
  if ((inputState.buttonsHeld & BTN_PRIMARY) == 0) endPaintStroke();
  // A stroke joins its stamps only from one frame to the next.
  const bool stampedBefore = session.strokeStamped;
  session.strokeStamped = false;
  if (session.toolMode == TOOL_ATTRIBUTE) {
    updateAttributeTool(layer);
  } else if (gesture.kind == GESTURE_NONE) {
    hoverAndPaint(layer, stampedBefore);
  } else if (gesture.kind == GESTURE_COPY) {
    updateCopyDrag(layer);
  } else if (gesture.kind == GESTURE_MAP_RECT) {
    updateMapRectDrag(layer);
  }
}

// The bound is the planes' fixed extent, not the map size: cells beyond
// doc.mapCellsX / doc.mapCellsY are written too and reappear when the map grows.
void stampBrush(int32_t col0, int32_t row0) {
  int32_t bw = minI(session.brushW, MAP_MAX), bh = minI(session.brushH, MAP_MAX);
  for (int32_t c = 0; c < bw; ++c) {
    int32_t col = col0 + c;
    if (col < 0) continue;
    if (col >= MAP_MAX) break;
    for (int32_t r = 0; r < bh; ++r) {
      int32_t row = row0 + r;
      if (row < 0) continue;
      if (row >= MAP_MAX) break;
      doc.planeX[cellIndex(col, row)] = session.brushX[cellIndex(c, r)];
      doc.planeY[cellIndex(col, row)] = session.brushY[cellIndex(c, r)];
    }
  }
  documentChanged();
}

void fitBrushToSheet() {
  int32_t w = 0, h = 0;
  editor_detail::sheetImageSize(&w, &h);
  bool inside = session.brushW >= 1 && session.brushH >= 1;
  for (int32_t c = 0; inside && c < minI(session.brushW, MAP_MAX); ++c) {
    for (int32_t r = 0; inside && r < minI(session.brushH, MAP_MAX); ++r) {
      const int32_t x = session.brushX[cellIndex(c, r)], y = session.brushY[cellIndex(c, r)];
      inside = x >= 0 && y >= 0 && x <= w - doc.chipWidth && y <= h - doc.chipHeight;
    }
  }
  if (inside) return;
  session.brushW = session.brushH = 1;
  session.brushX[0] = session.brushY[0] = 0;
  session.pickLeft = session.pickTop = 0;
  session.brushFromMap = false;
}

int askMapSize() {
  MapSizeChoice chosen{};
  if (mapSizeDialog(&chosen) != 1) return 0;
  snapshotUndo();  // a new size is a step of the history like any edit
  setMapCellsX(chosen.cellsX);
  setMapCellsY(chosen.cellsY);
  setChipWidth(chosen.chipWidth);
  setChipHeight(chosen.chipHeight);
  // The old block and its corner may not fit the new chip size.
  session.pickLeft = 0;
  session.pickTop = 0;
  session.brushW = 1;
  session.brushH = 1;
  return 1;
}
