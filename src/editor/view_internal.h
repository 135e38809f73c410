// Helpers shared by the view windows and the tools that work inside them.
#pragma once

#include <cstdint>

#include "editor/editor.h"

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
int32_t cornerOnAxis(int32_t pointer, int32_t scroll, int32_t origin, int32_t extent, int32_t chip, int32_t anchor);
// While the pointer is held outside the window, the view scrolls towards it.
void scrollWhileOutside(ViewWindow& v, int32_t imageW, int32_t imageH);
// The band's pink box on layer 3, above both windows.
void queueBand(const ViewWindow& v, int32_t ax, int32_t ay, int32_t cx, int32_t cy);
// Start (image pixels) and size (chips) of the block between anchor and corner.
void bandBlockOnAxis(int32_t anchor, int32_t corner, int32_t chip, int32_t* start, int32_t* count);

// Rounds an image coordinate down to the chip grid (truncating remainder, as
// the rubber band and the hover cell are defined on it).
inline int32_t snapDown(int32_t v, int32_t step) { return step > 0 ? v - v % step : v; }
inline int32_t minI(int32_t a, int32_t b) { return a < b ? a : b; }
inline int32_t maxI(int32_t a, int32_t b) { return a > b ? a : b; }

}  // namespace editor_detail
