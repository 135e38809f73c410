// Rectangle selection into the brush: the pick over the chip-sheet window
// (primary button) and the copy over the map window (secondary button). Both
// use one rubber band that snaps to the chip grid and scrolls the view while
// the pointer is held outside it.
#include <cstdio>

#include "editor/editor.h"
#include "editor/view_internal.h"
#include "gfx/gfx.h"
#include "input/input.h"
#include "map/map.h"

using editor_detail::minI;
using editor_detail::snapDown;
using editor_detail::toImage;
using editor_detail::toScreen;

namespace {

int32_t clampTo(int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : (v > hi ? hi : v); }

}  // namespace

// The rubber band every rectangle on a view shares: the pick, the copy and
// the strip's tools on the map.
namespace editor_detail {

// The corner under the pointer, held on a visible chip and snapped: towards
// the far edge of that chip when the drag runs right/down of the anchor, to
// its near edge otherwise, so the band always covers both end chips.
int32_t cornerOnAxis(int32_t pointer, int32_t scroll, int32_t origin, int32_t extent, int32_t chip,
                     int32_t anchor, int32_t zoom) {
  int32_t c = toImage(pointer + scroll - origin, zoom);
  const int32_t lo = toImage(scroll, zoom);
  int32_t hi = toImage(scroll + extent, zoom) - chip;
  if (c < lo)
    c = lo;
  else if (c > hi)
    c = hi;
  return anchor < c ? c + chip - c % chip : c - c % chip;
}

void scrollTowardsPointer(ViewWindow& v, int32_t reach) {
  const int32_t x = frameState.mouseX, y = frameState.mouseY;
  if (reach > 0 && pointerInside(v.x - reach, v.y - reach, v.w + 2 * reach, v.h + 2 * reach) == 0) return;
  if (x < v.x) v.scrollX -= scrollStep();
  if (x > v.x + v.w) v.scrollX += scrollStep();
  if (y < v.y) v.scrollY -= scrollStep();
  if (y > v.y + v.h) v.scrollY += scrollStep();
}

void scrollWhileOutside(ViewWindow& v, int32_t imageW, int32_t imageH) {
  scrollTowardsPointer(v, DRAG_REACH);
  editor_detail::clampScroll(v, imageW, imageH);
}

void queueBand(const ViewWindow& v, int32_t ax, int32_t ay, int32_t cx, int32_t cy, int32_t zoom) {
  int32_t left = toScreen(ax + (ax >= cx ? doc.chipWidth : 0), zoom) - v.scrollX + v.x;
  int32_t top = toScreen(ay + (ay >= cy ? doc.chipHeight : 0), zoom) - v.scrollY + v.y;
  queueShape(left, top, toScreen(cx, zoom) - v.scrollX + v.x, toScreen(cy, zoom) - v.scrollY + v.y, 1, COLOR_PINK,
             SHAPE_BOX, 3);
}

namespace {

// One axis of a block: its start and its size in chips.
struct AxisRun {
  int32_t start, count;
};

AxisRun bandAxis(int32_t anchor, int32_t corner, int32_t chip) {
  if (anchor >= corner) return {corner, (anchor - corner) / chip + 1};
  return {anchor, (corner - anchor) / chip};
}

AxisRun cellAxis(int32_t anchor, int32_t corner, int32_t chip) {
  if (anchor > corner) return {corner, (anchor - corner) / chip + 1};
  return {anchor, (corner - anchor) / chip + 1};
}

ChipBlock blockOf(AxisRun x, AxisRun y) { return ChipBlock{x.start, y.start, x.count, y.count}; }

}  // namespace

ChipBlock bandBlock(int32_t anchorX, int32_t anchorY, int32_t cornerX, int32_t cornerY, int32_t chipW, int32_t chipH) {
  return blockOf(bandAxis(anchorX, cornerX, chipW), bandAxis(anchorY, cornerY, chipH));
}

ChipBlock cellBlock(int32_t anchorX, int32_t anchorY, int32_t cornerX, int32_t cornerY, int32_t chipW, int32_t chipH) {
  return blockOf(cellAxis(anchorX, cornerX, chipW), cellAxis(anchorY, cornerY, chipH));
}

}  // namespace editor_detail

namespace {

using editor_detail::bandBlock;
using editor_detail::ChipBlock;
using editor_detail::cornerOnAxis;
using editor_detail::queueBand;
using editor_detail::scrollWhileOutside;

// ---------------------------------------------------------------------------
// Pick

void releasePick() {
  gesture.kind = GESTURE_NONE;
  for (int32_t c = 0; c < session.brushW; ++c)
    for (int32_t r = 0; r < session.brushH; ++r) {
      session.brushX[cellIndex(c, r)] = session.pickLeft + c * doc.chipWidth;
      session.brushY[cellIndex(c, r)] = session.pickTop + r * doc.chipHeight;
    }
}

void pickDragStep(int32_t imageW, int32_t imageH) {
  ViewWindow& v = session.sheetView;
  if ((inputState.buttonsHeld & BTN_PRIMARY) == 0) {
    releasePick();
    return;
  }
  gesture.pickCornerX = cornerOnAxis(frameState.mouseX, v.scrollX, v.x, v.w, doc.chipWidth, gesture.pickAnchorX);
  gesture.pickCornerY = cornerOnAxis(frameState.mouseY, v.scrollY, v.y, v.h, doc.chipHeight, gesture.pickAnchorY);
  scrollWhileOutside(v, imageW, imageH);
  queueBand(v, gesture.pickAnchorX, gesture.pickAnchorY, gesture.pickCornerX, gesture.pickCornerY);
  const ChipBlock b = bandBlock(gesture.pickAnchorX, gesture.pickAnchorY, gesture.pickCornerX, gesture.pickCornerY,
                                doc.chipWidth, doc.chipHeight);
  session.pickLeft = b.left;
  session.pickTop = b.top;
  // The brush holds 256 by 256 chips; a longer pick (a sheet of more than
  // 256 chips, scrolled during the drag) keeps its first 256 from the start.
  session.brushW = clampTo(b.columns, 1, MAP_MAX);
  session.brushH = clampTo(b.rows, 1, MAP_MAX);
}

void startPick() {
  const ViewWindow& v = session.sheetView;
  gesture.kind = GESTURE_PICK;
  gesture.pickAnchorX = snapDown(frameState.mouseX + v.scrollX - v.x, doc.chipWidth);
  gesture.pickAnchorY = snapDown(frameState.mouseY + v.scrollY - v.y, doc.chipHeight);
  session.frontWindow = FRONT_SHEET;
  session.brushW = session.brushH = 1;
  // The pressed chip is the pick from the start: a click whose release
  // comes in the very next frame takes it, not the pick before.
  session.pickLeft = gesture.pickAnchorX;
  session.pickTop = gesture.pickAnchorY;
  session.brushFromMap = false;
}

void drawPickHighlight(const ViewWindow& v, int layer) {
  int32_t left = session.pickLeft - v.scrollX + v.x;
  int32_t top = session.pickTop - v.scrollY + v.y;
  int32_t right = left + session.brushW * doc.chipWidth;
  int32_t bottom = top + session.brushH * doc.chipHeight;
  queueShape(clampTo(left, v.x, v.x + v.w), clampTo(top, v.y, v.y + v.h), clampTo(right, v.x, v.x + v.w),
             clampTo(bottom, v.y, v.y + v.h), 1, COLOR_LIGHT_CYAN, SHAPE_BOX, layer);
}

// ---------------------------------------------------------------------------
// Copy

void releaseCopy() {
  const ChipBlock b = bandBlock(gesture.copyAnchorX, gesture.copyAnchorY, gesture.copyCornerX, gesture.copyCornerY,
                                doc.chipWidth, doc.chipHeight);
  // The corner is held on a visible chip, but a window larger than the map
  // (or a map resized mid-drag) can still place the block past the planes:
  // it is held inside them, at least one cell.
  int32_t col0 = clampTo(b.left / doc.chipWidth, 0, MAP_MAX - 1);
  int32_t row0 = clampTo(b.top / doc.chipHeight, 0, MAP_MAX - 1);
  session.brushW = clampTo(b.columns, 1, MAP_MAX - col0);
  session.brushH = clampTo(b.rows, 1, MAP_MAX - row0);
  for (int32_t c = 0; c < session.brushW; ++c)
    for (int32_t r = 0; r < session.brushH; ++r) {
      session.brushX[cellIndex(c, r)] = doc.planeX[cellIndex(col0 + c, row0 + r)];
      session.brushY[cellIndex(c, r)] = doc.planeY[cellIndex(col0 + c, row0 + r)];
    }
  session.brushFromMap = true;
  gesture.kind = GESTURE_NONE;
}

}  // namespace

void startCopyDrag() {
  gesture.kind = GESTURE_COPY;
  session.frontWindow = FRONT_MAP;
  session.brushW = session.brushH = 1;
  gesture.copyAnchorX = snapDown(editor_detail::mapPixelX(frameState.mouseX), doc.chipWidth);
  gesture.copyAnchorY = snapDown(editor_detail::mapPixelY(frameState.mouseY), doc.chipHeight);
  gesture.copyCornerX = gesture.copyAnchorX;
  gesture.copyCornerY = gesture.copyAnchorY;
}

void updateCopyDrag(int layer) {
  ViewWindow& v = session.mapView;
  // The corner follows the pointer in the release frame too: a copy takes
  // the block under the pointer at the moment the button comes up.
  const int32_t z = session.mapZoom;
  gesture.copyCornerX = cornerOnAxis(frameState.mouseX, v.scrollX, v.x, v.w, doc.chipWidth, gesture.copyAnchorX, z);
  gesture.copyCornerY = cornerOnAxis(frameState.mouseY, v.scrollY, v.y, v.h, doc.chipHeight, gesture.copyAnchorY, z);
  if ((inputState.buttonsHeld & BTN_SECONDARY) == 0) {
    releaseCopy();
    return;
  }
  int32_t imageW = 0, imageH = 0;
  editor_detail::mapImageSize(&imageW, &imageH);
  scrollWhileOutside(v, imageW, imageH);
  queueBand(v, gesture.copyAnchorX, gesture.copyAnchorY, gesture.copyCornerX, gesture.copyCornerY, z);
  char status[64];
  std::snprintf(status, sizeof status, "[%d,%d],[%d,%d]", static_cast<int>(gesture.copyAnchorX),
                static_cast<int>(gesture.copyAnchorY), static_cast<int>(gesture.copyCornerX), static_cast<int>(gesture.copyCornerY));
  queueMapTitlePart(status, layer);
}

void updateSheetTool(int layer) {
  const ViewWindow& v = session.sheetView;
  int32_t imageW = 0, imageH = 0;
  editor_detail::sheetImageSize(&imageW, &imageH);
  if (gesture.kind == GESTURE_PICK) {
    pickDragStep(imageW, imageH);
  } else if (pointerHovers(TARGET_CONTENT, &v)) {
    frameState.pointerShape = POINTER_ARROW;
    if ((inputState.buttonsPressed & BTN_PRIMARY) != 0) startPick();
  }
  if (!session.brushFromMap) drawPickHighlight(v, layer);
  char status[64];
  std::snprintf(status, sizeof status, "[%d,%d],%d*%d", static_cast<int>(session.pickLeft), static_cast<int>(session.pickTop),
                static_cast<int>(session.brushW), static_cast<int>(session.brushH));
  queueText(v.x + 82, v.y - 22, COLOR_WHITE, status, layer);
}
