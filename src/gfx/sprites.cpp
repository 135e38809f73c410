// [SECTION] The Sprite table of the interface, filled once at start.
#include "gfx/gfx.h"

SpriteTable sprites;

namespace {
Sprite make(int slot, int sx, int sy, int w, int h, int opaque, int layer) {
  return Sprite{0.0f, 0.0f, sx, sy, w, h, slot, opaque, layer};
}
}  // namespace

void initSprites() {
  sprites.cursor = make(SLOT_DATA, 0, 0, 32, 32, 0, 4);
  sprites.toolIcon = make(SLOT_ICON, 0, 0, 48, 48, 0, 3);
  sprites.toolFrame = make(SLOT_DATA, 0, 32, 48, 48, 0, 4);
  sprites.toolCaption = make(SLOT_MES, 0, 0, 80, 32, 0, 4);
  sprites.modeMarker = make(SLOT_DATA, 96, 32, 48, 48, 0, 3);
  sprites.modeMarker.x = 384;
  sprites.modeMarker.y = 16;
  sprites.frameTop = make(SLOT_DATA, 0, 80, 64, 6, 0, 2);
  sprites.frameBottom = make(SLOT_DATA, 0, 90, 64, 6, 0, 2);
  sprites.frameLeft = make(SLOT_DATA, 64, 80, 6, 64, 0, 2);
  sprites.frameRight = make(SLOT_DATA, 74, 80, 6, 64, 0, 2);
  sprites.frameTopLeft = make(SLOT_DATA, 0, 96, 6, 6, 0, 2);
  sprites.frameTopRight = make(SLOT_DATA, 10, 96, 6, 6, 0, 2);
  sprites.frameBottomLeft = make(SLOT_DATA, 0, 106, 6, 6, 0, 2);
  sprites.frameBottomRight = make(SLOT_DATA, 10, 106, 6, 6, 0, 2);
  sprites.sheetView = make(SLOT_CHIPSHEET, 0, 0, 0, 0, 1, 2);
  sprites.sheetTitle = make(SLOT_DATA, 80, 112, 80, 23, 1, 2);
  sprites.sheetHThumb = make(SLOT_DATA, 16, 112, 7, 11, 1, 2);
  sprites.sheetVThumb = make(SLOT_DATA, 0, 112, 11, 7, 1, 2);
  sprites.mapCell = make(SLOT_CHIPSHEET, 0, 0, 0, 0, 1, 2);
  sprites.mapTitle = make(SLOT_DATA, 80, 80, 80, 23, 1, 2);
  sprites.mapHThumb = make(SLOT_DATA, 16, 112, 7, 11, 1, 2);
  sprites.mapVThumb = make(SLOT_DATA, 0, 112, 11, 7, 1, 2);
  sprites.brushCell = make(SLOT_CHIPSHEET, 0, 0, 0, 0, 1, 2);
  sprites.digit = make(SLOT_DATA, 0, 144, 8, 12, 0, 4);
  // The tool strip: its icons in the icon bitmap's second column, its hover,
  // pressed and selected frames side by side in the interface bitmap.
  sprites.stripIcon = make(SLOT_ICON, 48, 0, 18, 18, 0, 3);
  sprites.stripFrame = make(SLOT_DATA, 0, 125, 18, 18, 0, 4);
}
