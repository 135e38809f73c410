// [SECTION] The map as pictures, for drawing it smaller than 1:1 (the
// zoomed-out map window, the fitted preview): one scaled copy of a picture
// instead of a copy a cell. The pictures are kept up to date cell by cell: a
// cell is drawn again when its chip or attribute differs from what the
// picture shows, whoever changed it (a tool, undo, a file read).
#include "editor/editor.h"
#include "editor/view_internal.h"
#include "gfx/gfx.h"
#include "map/map.h"

namespace {

// The chips' picture is at most this wide and high: a map larger than that
// at 1:1 is kept at a half, a quarter, ... of its size.
constexpr int32_t PICTURE_MAX_SIDE = 4096;

struct PictureState {
  int32_t cellsX = -1, cellsY = -1, chipW = -1, chipH = -1, shift = 0;
  uint32_t pictureGeneration = 0, attributeGeneration = 0, sheetGeneration = 0;
  const PlatSurface* sheet = nullptr;
  bool chipsValid = false, attributesValid = false;
};
PictureState state;
// What each picture shows per cell.
int32_t shownX[MAP_MAX * MAP_MAX], shownY[MAP_MAX * MAP_MAX], shownA[MAP_MAX * MAP_MAX];

int32_t shiftFor(int64_t w, int64_t h) {
  int32_t shift = 0;
  while ((w >> -shift) > PICTURE_MAX_SIDE || (h >> -shift) > PICTURE_MAX_SIDE) --shift;
  return shift;
}

int32_t scaled(int32_t v, int32_t shift) { return v >> -shift; }

// Creates the chips' picture when the map's pixel size or its scale changed,
// or when lost surfaces took it; false when it must be drawn whole.
bool chipPictureCurrent() {
  const SurfaceSlot& slot = surfaceSlots[SLOT_MAP_PICTURE];
  int32_t w = 0, h = 0;
  editor_detail::mapPixelSize(&w, &h);
  const int32_t shift = shiftFor(w, h);
  const int32_t pw = editor_detail::maxI(scaled(w, shift), 1), ph = editor_detail::maxI(scaled(h, shift), 1);
  const SurfaceSlot& sheet = surfaceSlots[SLOT_CHIPSHEET];
  bool current = state.chipsValid && slot.surface && slot.generation == state.pictureGeneration &&
                 state.cellsX == doc.mapCellsX && state.cellsY == doc.mapCellsY && state.chipW == doc.chipWidth &&
                 state.chipH == doc.chipHeight && sheet.generation == state.sheetGeneration && sheet.surface == state.sheet;
  if (current) return true;
  if (!slot.surface || slot.width != pw || slot.height != ph) createBlankSurface(SLOT_MAP_PICTURE, pw, ph);
  state.pictureGeneration = surfaceSlots[SLOT_MAP_PICTURE].generation;
  state.cellsX = doc.mapCellsX;
  state.cellsY = doc.mapCellsY;
  state.chipW = doc.chipWidth;
  state.chipH = doc.chipHeight;
  state.shift = shift;
  state.sheetGeneration = sheet.generation;
  state.sheet = sheet.surface;
  state.chipsValid = surfaceSlots[SLOT_MAP_PICTURE].surface != nullptr;
  return false;
}

bool attributePictureCurrent() {
  const SurfaceSlot& slot = surfaceSlots[SLOT_ATTRIBUTE_PICTURE];
  if (state.attributesValid && slot.surface && slot.generation == state.attributeGeneration) return true;
  if (!slot.surface) createBlankSurface(SLOT_ATTRIBUTE_PICTURE, MAP_MAX, MAP_MAX);
  state.attributeGeneration = surfaceSlots[SLOT_ATTRIBUTE_PICTURE].generation;
  state.attributesValid = surfaceSlots[SLOT_ATTRIBUTE_PICTURE].surface != nullptr;
  return false;
}

void drawChip(int32_t c, int32_t r, int idx) {
  const int32_t x0 = scaled(c * doc.chipWidth, state.shift), x1 = scaled((c + 1) * doc.chipWidth, state.shift);
  const int32_t y0 = scaled(r * doc.chipHeight, state.shift), y1 = scaled((r + 1) * doc.chipHeight, state.shift);
  // Black first: a chip outside the sheet (or no sheet) leaves nothing of
  // the cell's old chip behind.
  fillSurface(SLOT_MAP_PICTURE, x0, y0, x1 - x0, y1 - y0, 0);
  paintSurface(SLOT_MAP_PICTURE, x0, y0, x1 - x0, y1 - y0, SLOT_CHIPSHEET, doc.planeX[idx], doc.planeY[idx],
               doc.chipWidth, doc.chipHeight);
  shownX[idx] = doc.planeX[idx];
  shownY[idx] = doc.planeY[idx];
}

}  // namespace

int32_t mapPictureShift() { return state.shift; }

uint32_t attributeColor(int32_t value) {
  if (value == 0) return 0x303030;  // the untouched cells stay dark
  // A few well-told-apart colours for the small values, then a hash.
  static const uint32_t first[] = {0x3030FF, 0x30C030, 0xFF6030, 0x30E0E0, 0xE040E0, 0xE0E030, 0x8080FF, 0x40A0FF};
  if (value >= 1 && value <= 8) return first[value - 1];
  uint32_t h = static_cast<uint32_t>(value) * 2654435761u;
  h ^= h >> 15;
  return 0x404040u + (h & 0x7F7F7Fu) + ((h >> 7) & 0x3F3F3Fu);
}

void syncMapPictures() {
  const bool allChips = !chipPictureCurrent();
  const bool allAttributes = !attributePictureCurrent();
  const bool chips = state.chipsValid, attributes = state.attributesValid;
  for (int32_t c = 0; c < doc.mapCellsX; ++c)
    for (int32_t r = 0; r < doc.mapCellsY; ++r) {
      const int idx = cellIndex(c, r);
      if (chips && (allChips || shownX[idx] != doc.planeX[idx] || shownY[idx] != doc.planeY[idx])) drawChip(c, r, idx);
      if (attributes && (allAttributes || shownA[idx] != doc.planeA[idx])) {
        fillSurface(SLOT_ATTRIBUTE_PICTURE, c, r, 1, 1, attributeColor(doc.planeA[idx]));
        shownA[idx] = doc.planeA[idx];
      }
    }
}

void resetMapPictures() { state = PictureState{}; }
