// The whole-map preview: the map at its real pixel size, centred when it is
// smaller than the screen and panned by mouse motion when it is larger.
#include "editor/editor.h"
#include "gfx/gfx.h"
#include "input/input.h"
#include "map/map.h"

namespace {

constexpr int PREVIEW_CELL_LAYER = 1;  // above the background, below the clock

struct Placement {
  int32_t firstCell, lastCell;  // cells drawn: firstCell .. lastCell - 1
};

// One axis: centre a map smaller than the screen, otherwise pan it by the
// mouse motion within 0 .. mapPixels - screenPixels.
Placement placeAxis(int32_t cells, int32_t chip, int32_t screenPixels, int32_t motion, int32_t* scroll,
                    int32_t* offset) {
  int64_t mapPixels = static_cast<int64_t>(cells) * chip;
  if (mapPixels <= screenPixels) {
    *scroll = 0;
    *offset = static_cast<int32_t>((screenPixels - mapPixels) / 2);
    return Placement{0, cells};
  }
  *offset = 0;
  int64_t limit = mapPixels - screenPixels;
  int64_t s = static_cast<int64_t>(*scroll) + motion;
  if (s <= 0)
    s = 0;
  else if (s >= limit)
    s = limit;
  *scroll = static_cast<int32_t>(s);
  int64_t last = (s + screenPixels) / chip + 1;
  return Placement{static_cast<int32_t>(s / chip), static_cast<int32_t>(last < cells ? last : cells)};
}

// The whole map fitted to the screen, centred, drawn from the map's picture.
void drawFitted() {
  syncMapPictures();
  int64_t mapW = static_cast<int64_t>(doc.mapCellsX) * doc.chipWidth;
  int64_t mapH = static_cast<int64_t>(doc.mapCellsY) * doc.chipHeight;
  if (mapW <= 0 || mapH <= 0) return;
  // The larger of the two ratios decides: width if mapW / screenMetrics.canvasW >= mapH / screenMetrics.canvasH.
  int64_t w = screenMetrics.canvasW, h = screenMetrics.canvasH;
  if (mapW * screenMetrics.canvasH >= mapH * screenMetrics.canvasW)
    h = mapH * screenMetrics.canvasW / mapW;
  else
    w = mapW * screenMetrics.canvasH / mapH;
  if (w < 1) w = 1;
  if (h < 1) h = 1;
  const int32_t k = -mapPictureShift();
  drawScaled(static_cast<int32_t>((screenMetrics.canvasW - w) / 2),
             static_cast<int32_t>((screenMetrics.canvasH - h) / 2), static_cast<int32_t>(w), static_cast<int32_t>(h), 0,
             0, static_cast<int32_t>(mapW >> k > 0 ? mapW >> k : 1),
             static_cast<int32_t>(mapH >> k > 0 ? mapH >> k : 1), 1, PREVIEW_CELL_LAYER, SLOT_MAP_PICTURE);
}

}  // namespace

void updatePreview() {
  if (preview.fitted) {
    drawFitted();
    if ((inputState.buttonsPressed & BTN_PRIMARY) != 0) session.editorMode = EDITOR_EDITING;
    return;
  }
  Placement cols = placeAxis(doc.mapCellsX, doc.chipWidth, screenMetrics.canvasW, inputState.mouseDX, &preview.scrollX,
                             &preview.offsetX);
  Placement rows = placeAxis(doc.mapCellsY, doc.chipHeight, screenMetrics.canvasH, inputState.mouseDY, &preview.scrollY,
                             &preview.offsetY);

  sprites.mapCell.width = doc.chipWidth;
  sprites.mapCell.height = doc.chipHeight;
  sprites.mapCell.layer = PREVIEW_CELL_LAYER;
  for (int32_t c = cols.firstCell; c < cols.lastCell; ++c) {
    int32_t sx = c * doc.chipWidth - preview.scrollX + preview.offsetX;
    for (int32_t r = rows.firstCell; r < rows.lastCell; ++r) {
      int idx = cellIndex(c, r);
      sprites.mapCell.x = static_cast<float>(sx);
      sprites.mapCell.y = static_cast<float>(r * doc.chipHeight - preview.scrollY + preview.offsetY);
      sprites.mapCell.srcX = doc.planeX[idx];
      sprites.mapCell.srcY = doc.planeY[idx];
      drawSprite(sprites.mapCell);
    }
  }

  if ((inputState.buttonsPressed & BTN_PRIMARY) != 0) session.editorMode = EDITOR_EDITING;
}
