// The map window's tool: the brush ghost under the pointer and painting in
// POINT and FREE mode. Attribute mode and the copy drag are dispatched from
// here to attribute.cpp and selection.cpp.
#include <cstdio>

#include "editor/editor.h"
#include "editor/view_internal.h"
#include "gfx/gfx.h"
#include "input/input.h"
#include "map/map.h"

using editor_detail::minI;

namespace {

void drawBrushGhost(int32_t left, int32_t top, int layer) {
  const int32_t tx = TIP_X, ty = TIP_Y;
  brushCellSprite.width = tx;
  brushCellSprite.height = ty;
  brushCellSprite.layer = layer;
  const int32_t bw = minI(brushW, MAP_MAX), bh = minI(brushH, MAP_MAX);
  for (int32_t c = 0; c < bw; ++c) {
    int32_t cellX = left + c * tx;
    // Past the clip's right edge drawSprite refuses every cell of the column,
    // so the rest of a wide brush is not even offered.
    if (cellX > mapClipRect.right) break;
    for (int32_t r = 0; r < bh; ++r) {
      int32_t cellY = top + r * ty;
      if (cellY > mapClipRect.bottom) break;
      int idx = cellIndex(c, r);
      brushCellSprite.x = static_cast<float>(cellX);
      brushCellSprite.y = static_cast<float>(cellY);
      brushCellSprite.srcX = brushX[idx];
      brushCellSprite.srcY = brushY[idx];
      drawSprite(brushCellSprite);
    }
  }
}

void hoverAndPaint(int layer) {
  const ViewWindow& v = mapView;
  if (pointerInside(v.x, v.y, v.w, v.h) == 0 || pointerClaimed != 0) return;
  pointerClaimed = 1;

  hoverCellX = editor_detail::snapDown(mouseX + v.scrollX - v.x, TIP_X);
  hoverCellY = editor_detail::snapDown(mouseY + v.scrollY - v.y, TIP_Y);
  int32_t left = v.x + hoverCellX - v.scrollX;
  int32_t top = v.y + hoverCellY - v.scrollY;

  setClipRect(mapClipRect.left, mapClipRect.top, mapClipRect.right, mapClipRect.bottom);
  drawBrushGhost(left, top, layer);
  // Only the right and bottom sides are held inside the window; the left and
  // top follow the cell even when it is partly scrolled out.
  queueShape(left, top, v.x + minI(hoverCellX - v.scrollX + brushW * TIP_X, v.w),
             v.y + minI(hoverCellY - v.scrollY + brushH * TIP_Y, v.h), 1, 0xFFFFFF, SHAPE_BOX, layer);
  setClipRect(0, 0, screenW, screenH);

  bool pressed = (buttonsPressed & BTN_PRIMARY) != 0;
  bool held = (buttonsHeld & BTN_PRIMARY) != 0;
  if (toolMode == 0) {
    if (pressed) {
      snapshotUndo();
      frontWindow = 1;
      stampBrush(hoverCellX / TIP_X, hoverCellY / TIP_Y);
    }
  } else {
    // One snapshot per stroke: a stroke that entered the window with the
    // button already down has none of its own.
    if (pressed) snapshotUndo();
    if (held) {
      frontWindow = 1;
      stampBrush(hoverCellX / TIP_X, hoverCellY / TIP_Y);
    }
  }

  char status[32];
  std::snprintf(status, sizeof status, "[%d,%d]", static_cast<int>(hoverCellX), static_cast<int>(hoverCellY));
  queueText(v.x + 82, v.y - 22, 0xFFFFFF, status, layer);

  if ((buttonsPressed & BTN_SECONDARY) != 0) startCopyDrag();
}

}  // namespace

void updateMapTool(int layer) {
  if (toolMode == 2) {
    updateAttributeTool(layer);
  } else if (dragLock == 0) {
    hoverAndPaint(layer);
  } else if (copyDrag != 0) {
    updateCopyDrag(layer);
  }
}

// The bound is the planes' fixed extent, not the map size: cells beyond
// KOMA_X / KOMA_Y are written too and reappear when the map grows.
void stampBrush(int32_t col0, int32_t row0) {
  int32_t bw = minI(brushW, MAP_MAX), bh = minI(brushH, MAP_MAX);
  for (int32_t c = 0; c < bw; ++c) {
    int32_t col = col0 + c;
    if (col < 0) continue;
    if (col >= MAP_MAX) break;
    for (int32_t r = 0; r < bh; ++r) {
      int32_t row = row0 + r;
      if (row < 0) continue;
      if (row >= MAP_MAX) break;
      planeX[cellIndex(col, row)] = brushX[cellIndex(c, r)];
      planeY[cellIndex(col, row)] = brushY[cellIndex(c, r)];
    }
  }
}

void fitBrushToSheet() {
  int32_t w = 0, h = 0;
  editor_detail::sheetImageSize(&w, &h);
  bool inside = brushW >= 1 && brushH >= 1;
  for (int32_t c = 0; inside && c < minI(brushW, MAP_MAX); ++c) {
    for (int32_t r = 0; inside && r < minI(brushH, MAP_MAX); ++r) {
      const int32_t x = brushX[cellIndex(c, r)], y = brushY[cellIndex(c, r)];
      inside = x >= 0 && y >= 0 && x <= w - TIP_X && y <= h - TIP_Y;
    }
  }
  if (inside) return;
  brushW = brushH = 1;
  brushX[0] = brushY[0] = 0;
  pickLeft = pickTop = 0;
  brushFromMap = 0;
}
