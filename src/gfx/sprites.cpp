// [SECTION] The Sprite table of the interface, filled once at start.
#include "gfx/gfx.h"

SurfaceSlot surfaceSlots[SLOT_COUNT];

Sprite cursorSprite, toolIconSprite, toolFrameSprite, toolCaptionSprite, modeMarkerSprite;
Sprite frameTopSprite, frameBottomSprite, frameLeftSprite, frameRightSprite;
Sprite frameTopLeftSprite, frameTopRightSprite, frameBottomLeftSprite, frameBottomRightSprite;
Sprite sheetViewSprite, sheetTitleSprite, sheetHThumbSprite, sheetVThumbSprite;
Sprite mapCellSprite, mapTitleSprite, mapHThumbSprite, mapVThumbSprite;
Sprite brushCellSprite, digitSprite;
Sprite stripIconSprite, stripFrameSprite;

namespace {
Sprite make(int slot, int sx, int sy, int w, int h, int opaque, int layer) {
  return Sprite{0.0f, 0.0f, sx, sy, w, h, slot, opaque, layer};
}
}  // namespace

void initSprites() {
  cursorSprite = make(SLOT_DATA, 0, 0, 32, 32, 0, 4);
  toolIconSprite = make(SLOT_ICON, 0, 0, 48, 48, 0, 3);
  toolFrameSprite = make(SLOT_DATA, 0, 32, 48, 48, 0, 4);
  toolCaptionSprite = make(SLOT_MES, 0, 0, 80, 32, 0, 4);
  modeMarkerSprite = make(SLOT_DATA, 96, 32, 48, 48, 0, 3);
  modeMarkerSprite.x = 384;
  modeMarkerSprite.y = 16;
  frameTopSprite = make(SLOT_DATA, 0, 80, 64, 6, 0, 2);
  frameBottomSprite = make(SLOT_DATA, 0, 90, 64, 6, 0, 2);
  frameLeftSprite = make(SLOT_DATA, 64, 80, 6, 64, 0, 2);
  frameRightSprite = make(SLOT_DATA, 74, 80, 6, 64, 0, 2);
  frameTopLeftSprite = make(SLOT_DATA, 0, 96, 6, 6, 0, 2);
  frameTopRightSprite = make(SLOT_DATA, 10, 96, 6, 6, 0, 2);
  frameBottomLeftSprite = make(SLOT_DATA, 0, 106, 6, 6, 0, 2);
  frameBottomRightSprite = make(SLOT_DATA, 10, 106, 6, 6, 0, 2);
  sheetViewSprite = make(SLOT_CHIPSHEET, 0, 0, 0, 0, 1, 2);
  sheetTitleSprite = make(SLOT_DATA, 80, 112, 80, 23, 1, 2);
  sheetHThumbSprite = make(SLOT_DATA, 16, 112, 7, 11, 1, 2);
  sheetVThumbSprite = make(SLOT_DATA, 0, 112, 11, 7, 1, 2);
  mapCellSprite = make(SLOT_CHIPSHEET, 0, 0, 0, 0, 1, 2);
  mapTitleSprite = make(SLOT_DATA, 80, 80, 80, 23, 1, 2);
  mapHThumbSprite = make(SLOT_DATA, 16, 112, 7, 11, 1, 2);
  mapVThumbSprite = make(SLOT_DATA, 0, 112, 11, 7, 1, 2);
  brushCellSprite = make(SLOT_CHIPSHEET, 0, 0, 0, 0, 1, 2);
  digitSprite = make(SLOT_DATA, 0, 144, 8, 12, 0, 4);
  // The tool strip: its icons in the icon bitmap's second column, its hover,
  // pressed and selected frames side by side in the interface bitmap.
  stripIconSprite = make(SLOT_ICON, 48, 0, 18, 18, 0, 3);
  stripFrameSprite = make(SLOT_DATA, 0, 125, 18, 18, 0, 4);
}
