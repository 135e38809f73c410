// Helpers shared by the view windows and the tools that work inside them.
#pragma once

#include <cstdint>

#include "editor/editor.h"
#include "gfx/gfx.h"

namespace editor_detail {

// The chip sheet's pixel size as the chip-sheet window sees it this frame
// (0 by 0 when no bitmap is loaded).
void sheetImageSize(int32_t* w, int32_t* h);
// The map's pixel size, doc.mapCellsX x doc.chipWidth by doc.mapCellsY x doc.chipHeight.
void mapImageSize(int32_t* w, int32_t* h);
// Holds the scroll offsets within 0..image - window. When the window is
// larger than its image the range is empty and the offset stays at 0, so
// nothing left of or above the image is ever shown.
void clampScroll(ViewWindow& v, int32_t imageW, int32_t imageH);

// The rubber band of the pick, the copy and the strip's map tools (selection.cpp).
// The corner under the pointer on one axis, held on a visible chip and snapped
// so that the band covers the anchor's chip and the pointer's.
int32_t cornerOnAxis(int32_t pointer, int32_t scroll, int32_t origin, int32_t extent, int32_t chip, int32_t anchor,
                     int32_t zoom = 0);
// Scrolls the window one step towards each side the pointer lies beyond.
// `reach` is how far past the window the pointer still counts: a drag scrolls
// however far out it is held (DRAG_REACH), the resting pointer only in the
// auto-scroll band around the window (screenMetrics.scrollBand).
constexpr int32_t DRAG_REACH = 0;
void scrollTowardsPointer(ViewWindow& v, int32_t reach);
// A drag held outside its window: the view scrolls towards the pointer and
// stays within its image.
void scrollWhileOutside(ViewWindow& v, int32_t imageW, int32_t imageH);
// The band's pink box on layer 3, above both windows.
void queueBand(const ViewWindow& v, int32_t ax, int32_t ay, int32_t cx, int32_t cy, int32_t zoom = 0);

// A block of chips on an image: its top-left in image pixels and its size in
// chips. The drags read their two ends by two different rules, on purpose;
// each rule has its own maker.
struct ChipBlock {
  int32_t left = 0, top = 0;
  int32_t columns = 1, rows = 1;
};
// The rubber band's rule (the pick, the copy, the strip's rectangles): the
// corner comes from cornerOnAxis, already at the far edge of the pointer's
// chip when the drag runs right or down, so that side ends at the corner;
// run left or up (or not at all) it counts the anchor's own chip as well.
ChipBlock bandBlock(int32_t anchorX, int32_t anchorY, int32_t cornerX, int32_t cornerY, int32_t chipW, int32_t chipH);
// The attribute drag's rule: anchor and corner are both the top-left of a
// cell inside the block, so it holds both end cells whichever way it runs.
ChipBlock cellBlock(int32_t anchorX, int32_t anchorY, int32_t cornerX, int32_t cornerY, int32_t chipW, int32_t chipH);

// Image pixels to screen pixels and back at a zoom (2^zoom screen pixels an
// image pixel), rounding down; the chip-sheet window's zoom is 0.
inline int32_t floorDiv(int32_t a, int32_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
inline int32_t toScreen(int32_t len, int32_t zoom) { return zoom >= 0 ? len * (1 << zoom) : floorDiv(len, 1 << -zoom); }
inline int32_t toImage(int32_t len, int32_t zoom) { return zoom >= 0 ? floorDiv(len, 1 << zoom) : len * (1 << -zoom); }
// The map pixel under a screen position of the map window, and back.
inline int32_t mapPixelX(int32_t screenX) {
  return toImage(screenX + session.mapView.scrollX - session.mapView.x, session.mapZoom);
}
inline int32_t mapPixelY(int32_t screenY) {
  return toImage(screenY + session.mapView.scrollY - session.mapView.y, session.mapZoom);
}
inline int32_t screenOfMapX(int32_t mapX) { return session.mapView.x + toScreen(mapX, session.mapZoom) - session.mapView.scrollX; }
inline int32_t screenOfMapY(int32_t mapY) { return session.mapView.y + toScreen(mapY, session.mapZoom) - session.mapView.scrollY; }
// The map's pixel size at 1:1 (mapImageSize gives it as the window shows it).
void mapPixelSize(int32_t* w, int32_t* h);
// Below 1:1 a brush or a fill may cover more cells than a frame's copies can
// show one by one; such a ghost shows its outline alone.
bool cellsFitFrame(int32_t columns, int32_t rows);
// Queues one chip-sized sprite (its source rectangle as set) for the map cell
// whose top-left is at map pixel (mapX, mapY), scaled to the map window's
// zoom and cut to the clip rectangle.
void drawMapCell(Sprite& s, int32_t mapX, int32_t mapY);

// Rounds an image coordinate down to the chip grid (truncating remainder, as
// the rubber band and the hover cell are defined on it).
inline int32_t snapDown(int32_t v, int32_t step) { return step > 0 ? v - v % step : v; }
inline int32_t minI(int32_t a, int32_t b) { return a < b ? a : b; }
inline int32_t maxI(int32_t a, int32_t b) { return a > b ? a : b; }

}  // namespace editor_detail
