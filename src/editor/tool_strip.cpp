// [SECTION] The tool strip: a row of small buttons between the command buttons
// and the windows' titles, for the tools beyond POINT and FREE and the two
// painting switches; their keys; and the rectangle the strip's tools drag on
// the map.
#include <cstdio>

#include "dialogs/texts.h"
#include "editor/editor.h"
#include "editor/view_internal.h"
#include "gfx/gfx.h"
#include "input/input.h"
#include "map/map.h"
#include "platform/sjis.h"

using editor_detail::maxI;
using editor_detail::minI;

namespace {

constexpr int32_t KEY_B = 0x30;  // the stamp brush: FREE

// Frames of the strip in the interface bitmap, side by side.
constexpr int32_t STRIP_HOVER_X = 0, STRIP_PRESSED_X = 20, STRIP_SELECTED_X = 40;

}  // namespace

// Under the painting modes' buttons: the four tools, a gap, the two switches,
// a gap, and the zoom (its keys + - 0 are the input layer's).
const StripButton toolStrip[STRIP_COUNT] = {
    {384, 0, 80, 128, 0x21, STRIP_TOOL, TOOL_BUCKET},     // F
    {406, 20, 160, 128, 0x19, STRIP_TOOL, TOOL_RECT},     // P
    {428, 40, 0, 160, 0x31, STRIP_TOOL, TOOL_SLICE},      // N
    {450, 60, 80, 160, 0x13, STRIP_TOOL, TOOL_REPLACE},   // R
    {480, 80, 160, 160, 0x20, STRIP_RANDOM, TOOL_POINT},  // D
    {502, 100, 0, 192, 0x1E, STRIP_ALIGNED, TOOL_POINT},  // A
    {532, 120, 80, 192, 0, STRIP_ZOOM, TOOL_POINT},      // - + 0
};

namespace {

void runStripAction(const StripButton& b) {
  switch (b.action) {
    case STRIP_TOOL:
      session.toolMode = b.tool;
      session.replacedCount = -1;
      break;
    case STRIP_RANDOM:
      session.randomMode = !session.randomMode;
      break;
    case STRIP_ALIGNED:
      session.alignedMode = !session.alignedMode;
      break;
    case STRIP_ZOOM: {
      // Each click one step smaller, from 1/4x round to 2x.
      const ViewWindow& v = session.mapView;
      const int32_t z = session.mapZoom > MAP_ZOOM_MIN ? session.mapZoom - 1 : MAP_ZOOM_MAX;
      setMapZoom(z, v.x + v.w / 2, v.y + v.h / 2);
      break;
    }
  }
}

bool isOn(const StripButton& b) {
  switch (b.action) {
    case STRIP_TOOL: return session.toolMode == b.tool;
    case STRIP_RANDOM: return session.randomMode;
    case STRIP_ALIGNED: return session.alignedMode;
    case STRIP_ZOOM: return false;
  }
  return false;
}

void drawStripFrame(int32_t x, int32_t srcX, int layer) {
  sprites.stripFrame.x = static_cast<float>(x);
  sprites.stripFrame.y = static_cast<float>(screenMetrics.stripY);
  sprites.stripFrame.srcX = srcX;
  sprites.stripFrame.layer = layer;
  drawSprite(sprites.stripFrame);
}

bool keyDown(int32_t scanCode) { return (inputState.keyState[scanCode & 0xFF] & 0x80) != 0; }

// A key acts on the frame it goes down, and only while no gesture runs: a
// tool does not change under a rectangle being dragged.
void updateToolKeys() {
  int32_t down = keyDown(KEY_B) ? 1 : 0;
  for (int i = 0; i < STRIP_COUNT; ++i)
    if (toolStrip[i].key != 0 && keyDown(toolStrip[i].key)) down |= 2 << i;
  const int32_t fresh = down & ~session.stripKeysDown;
  session.stripKeysDown = down;
  if (gesture.kind != GESTURE_NONE || fresh == 0) return;
  if (fresh & 1) session.toolMode = TOOL_FREE;
  for (int i = 0; i < STRIP_COUNT; ++i)
    if (fresh & (2 << i)) runStripAction(toolStrip[i]);
}

}  // namespace

void declareToolStripRegions() {
  for (int i = 0; i < STRIP_COUNT; ++i)
    offerPointerRegion(TARGET_STRIP_BUTTON, nullptr, i, toolStrip[i].x, screenMetrics.stripY, screenMetrics.stripSize,
                       screenMetrics.stripSize);
}

void updateToolStrip() {
  updateToolKeys();
  for (int i = 0; i < STRIP_COUNT; ++i) {
    const StripButton& b = toolStrip[i];
    if (pointerHovers(TARGET_STRIP_BUTTON, nullptr, i)) {
      drawStripFrame(b.x, STRIP_HOVER_X, 4);
      // The balloon hangs below the strip, over the windows' titles.
      drawCaptionBalloon(b.x - 8, screenMetrics.stripY + screenMetrics.stripSize + 2, b.captionX, b.captionY);
      if (inputState.buttonsPressed & BTN_PRIMARY) {
        session.pressedStripButton = i;
        gesture.kind = GESTURE_STRIP;
      }
    }
    sprites.stripIcon.x = static_cast<float>(b.x);
    sprites.stripIcon.y = static_cast<float>(screenMetrics.stripY);
    sprites.stripIcon.srcY = b.iconY;
    drawSprite(sprites.stripIcon);
    if (isOn(b)) drawStripFrame(b.x, STRIP_SELECTED_X, 3);
  }
  if (gesture.kind == GESTURE_STRIP) {
    const StripButton& b = toolStrip[session.pressedStripButton];
    drawStripFrame(b.x, STRIP_PRESSED_X, 4);
    if (!(inputState.buttonsHeld & BTN_PRIMARY)) {
      // As with the command buttons, a press released elsewhere does nothing.
      if (pointerInside(b.x, screenMetrics.stripY, screenMetrics.stripSize, screenMetrics.stripSize)) runStripAction(b);
      gesture.kind = GESTURE_NONE;
    }
  }
}

// ---------------------------------------------------------------------------
// The strip's tools on the map

namespace {
bool onMapCell(int32_t col, int32_t row) { return col < doc.mapCellsX && row < doc.mapCellsY; }
}  // namespace

void startMapToolAction() {
  const int32_t col = session.hoverCellX / doc.chipWidth, row = session.hoverCellY / doc.chipHeight;
  session.frontWindow = FRONT_MAP;
  if (session.toolMode == TOOL_BUCKET) {
    if (onMapCell(col, row)) {
      snapshotUndo();
      bucketFill(col, row);
    }
    return;
  }
  // A replace starts from the chip a map cell shows; past the map's end
  // (a window wider than the map) there is none, and perhaps no plane either.
  const bool onMap = onMapCell(col, row);
  if (session.toolMode == TOOL_REPLACE && !onMap) return;
  gesture.kind = GESTURE_MAP_RECT;
  gesture.rectAnchorX = gesture.rectCornerX = session.hoverCellX;
  gesture.rectAnchorY = gesture.rectCornerY = session.hoverCellY;
  if (onMap) {
    gesture.replaceChipX = doc.planeX[cellIndex(col, row)];
    gesture.replaceChipY = doc.planeY[cellIndex(col, row)];
  }
}

namespace {

void releaseMapRect() {
  const editor_detail::ChipBlock b =
      editor_detail::bandBlock(gesture.rectAnchorX, gesture.rectAnchorY, gesture.rectCornerX, gesture.rectCornerY,
                               doc.chipWidth, doc.chipHeight);
  const int32_t col0 = b.left / doc.chipWidth, row0 = b.top / doc.chipHeight, columns = b.columns, rows = b.rows;
  gesture.kind = GESTURE_NONE;
  if (session.toolMode == TOOL_REPLACE) {
    // A click (the band never left the pressed cell) means the whole map.
    const bool wholeMap = columns == 1 && rows == 1;
    const int32_t c0 = wholeMap ? 0 : col0, r0 = wholeMap ? 0 : row0;
    const int32_t cw = wholeMap ? doc.mapCellsX : columns, rh = wholeMap ? doc.mapCellsY : rows;
    // Cells that already show the brush's chip are not counted as replaced.
    const bool same = gesture.replaceChipX == session.brushX[0] && gesture.replaceChipY == session.brushY[0];
    session.replacedCount = same ? 0 : countChip(gesture.replaceChipX, gesture.replaceChipY, c0, r0, cw, rh);
    if (session.replacedCount > 0) {
      snapshotUndo();
      replaceChip(gesture.replaceChipX, gesture.replaceChipY, c0, r0, cw, rh);
    }
    return;
  }
  // A rectangle wholly past the map's end (a window larger than the map)
  // changes nothing and makes no step.
  if (col0 >= doc.mapCellsX || row0 >= doc.mapCellsY) return;
  snapshotUndo();
  if (session.toolMode == TOOL_SLICE)
    fillNineSlice(col0, row0, columns, rows);
  else
    fillRectangle(col0, row0, columns, rows);
}

// While a rectangle or 9-slice is dragged, the cells it will paint show what
// they will get (random chips are rolled only at the release, so a random
// rectangle shows just its band).
void drawFillPreview(const ViewWindow& v, int layer) {
  if (session.toolMode == TOOL_REPLACE || (session.toolMode == TOOL_RECT && session.randomMode)) return;
  const int32_t tx = doc.chipWidth, ty = doc.chipHeight;
  const editor_detail::ChipBlock b = editor_detail::bandBlock(gesture.rectAnchorX, gesture.rectAnchorY,
                                                              gesture.rectCornerX, gesture.rectCornerY, tx, ty);
  const int32_t col0 = b.left / tx, row0 = b.top / ty, columns = b.columns, rows = b.rows;
  // Only the cells on the map and in the window.
  using editor_detail::mapPixelX;
  using editor_detail::mapPixelY;
  const int32_t c0 = maxI(col0, mapPixelX(v.x) / tx),
                c1 = minI(minI(col0 + columns, doc.mapCellsX), mapPixelX(v.x + v.w) / tx + 1);
  const int32_t r0 = maxI(row0, mapPixelY(v.y) / ty),
                r1 = minI(minI(row0 + rows, doc.mapCellsY), mapPixelY(v.y + v.h) / ty + 1);
  if (!editor_detail::cellsFitFrame(c1 - c0, r1 - r0)) return;
  setClipRect(session.mapClipRect.left, session.mapClipRect.top, session.mapClipRect.right, session.mapClipRect.bottom);
  sprites.brushCell.width = tx;
  sprites.brushCell.height = ty;
  sprites.brushCell.layer = layer;
  for (int32_t c = c0; c < c1; ++c)
    for (int32_t r = r0; r < r1; ++r) {
      if (session.toolMode == TOOL_SLICE)
        sliceChipAt(c, r, col0, row0, columns, rows, &sprites.brushCell.srcX, &sprites.brushCell.srcY);
      else
        brushChipAt(c, r, col0, row0, &sprites.brushCell.srcX, &sprites.brushCell.srcY);
      editor_detail::drawMapCell(sprites.brushCell, c * tx, r * ty);
    }
  setClipRect(0, 0, screenMetrics.canvasW, screenMetrics.canvasH);
}

}  // namespace

void updateMapRectDrag(int layer) {
  ViewWindow& v = session.mapView;
  const int32_t z = session.mapZoom;
  gesture.rectCornerX =
      editor_detail::cornerOnAxis(frameState.mouseX, v.scrollX, v.x, v.w, doc.chipWidth, gesture.rectAnchorX, z);
  gesture.rectCornerY =
      editor_detail::cornerOnAxis(frameState.mouseY, v.scrollY, v.y, v.h, doc.chipHeight, gesture.rectAnchorY, z);
  if ((inputState.buttonsHeld & BTN_PRIMARY) == 0) {
    releaseMapRect();
    return;
  }
  int32_t imageW = 0, imageH = 0;
  editor_detail::mapImageSize(&imageW, &imageH);
  editor_detail::scrollWhileOutside(v, imageW, imageH);
  drawFillPreview(v, layer);
  editor_detail::queueBand(v, gesture.rectAnchorX, gesture.rectAnchorY, gesture.rectCornerX, gesture.rectCornerY, z);
  char status[64];
  std::snprintf(status, sizeof status, "[%d,%d],[%d,%d]", static_cast<int>(gesture.rectAnchorX),
                static_cast<int>(gesture.rectAnchorY), static_cast<int>(gesture.rectCornerX),
                static_cast<int>(gesture.rectCornerY));
  queueText(v.x + 82, v.y - 22, COLOR_WHITE, status, layer);
}

void formatMapStatus(char* out, int outSize) {
  const int x = static_cast<int>(session.hoverCellX), y = static_cast<int>(session.hoverCellY);
  if (session.toolMode == TOOL_REPLACE && session.replacedCount >= 0)
    std::snprintf(out, static_cast<size_t>(outSize), uiTextSjis(texts::REPLACED_STATUS), x, y,
                  static_cast<int>(session.replacedCount));
  else
    std::snprintf(out, static_cast<size_t>(outSize), "[%d,%d]", x, y);
}
