// Helpers shared by the view windows and the tools that work inside them.
#pragma once

#include <cstdint>

#include "editor/editor.h"

namespace editor_detail {

// The map window's title strip, left to right from its window's left edge:
// the title piece, the unsaved mark, then the status text of the tool.
constexpr int32_t TITLE_MARK_X = 82;
constexpr int32_t TITLE_STATUS_X = 100;
constexpr int32_t TITLE_TEXT_Y = -22;  // above the window's top edge

// The chip sheet's pixel size as the chip-sheet window sees it this frame
// (0 by 0 when no bitmap is loaded).
void sheetImageSize(int32_t* w, int32_t* h);
// The map's pixel size, doc.mapCellsX x doc.chipWidth by doc.mapCellsY x doc.chipHeight.
void mapImageSize(int32_t* w, int32_t* h);
// Holds the scroll offsets within 0..image - window. When the window is
// larger than its image the range is empty and the offset stays at 0, so
// nothing left of or above the image is ever shown.
void clampScroll(ViewWindow& v, int32_t imageW, int32_t imageH);

// Rounds an image coordinate down to the chip grid (truncating remainder, as
// the rubber band and the hover cell are defined on it).
inline int32_t snapDown(int32_t v, int32_t step) { return step > 0 ? v - v % step : v; }
inline int32_t minI(int32_t a, int32_t b) { return a < b ? a : b; }
inline int32_t maxI(int32_t a, int32_t b) { return a > b ? a : b; }

}  // namespace editor_detail
