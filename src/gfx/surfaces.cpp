// [SECTION] Surface slots: load by resource name or file path, release,
// reload from the stored names, size and colour-key match.
#include "gfx/gfx.h"
#include "platform/sjis.h"
#include "platform/surface.h"

#include <cstddef>

SurfaceSlot surfaceSlots[SLOT_COUNT];

namespace {
inline bool validSlot(int slot) { return slot >= 0 && slot < SLOT_COUNT; }
}  // namespace

int loadSurface(const char* name, int slot, uint32_t colorKey) {
  if (!validSlot(slot)) return 0;
  SurfaceSlot& s = surfaceSlots[slot];
  // Name and key first, so that a later reload retries what was asked for
  // even when this load fails.
  sjisCopy(s.name, sizeof s.name, name ? name : "");
  s.colorKey = colorKey;
  PlatSurface* surface = platLoadBitmap(s.name);
  if (!surface) return 0;
  // A surface still in the slot is replaced, not leaked.
  platSurfaceDestroy(s.surface);
  s.surface = surface;
  s.rawKey = matchSurfaceColor(surface, colorKey);
  s.loaded = 1;
  s.width = surface->width;
  s.height = surface->height;
  ++s.generation;
  return 1;
}

int createBlankSurface(int slot, int32_t width, int32_t height) {
  if (!validSlot(slot)) return 0;
  SurfaceSlot& s = surfaceSlots[slot];
  platSurfaceDestroy(s.surface);
  s.surface = platSurfaceCreate(width, height);
  s.name[0] = '\0';
  s.loaded = 0;
  s.colorKey = CLR_INVALID;
  s.rawKey = CLR_INVALID;
  s.width = s.surface ? width : 0;
  s.height = s.surface ? height : 0;
  ++s.generation;
  return s.surface ? 1 : 0;
}

void paintSurface(int dstSlot, int32_t dx, int32_t dy, int32_t dw, int32_t dh, int srcSlot, int32_t sx, int32_t sy,
                  int32_t sw, int32_t sh) {
  if (!validSlot(dstSlot) || !validSlot(srcSlot)) return;
  platSurfaceStretch(surfaceSlots[dstSlot].surface, dx, dy, dx + dw, dy + dh, surfaceSlots[srcSlot].surface, sx, sy,
                     sx + sw, sy + sh, 0, 0);
  ++surfaceSlots[dstSlot].drawnInPlace;
}

void fillSurface(int slot, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t color) {
  if (!validSlot(slot) || !surfaceSlots[slot].surface) return;
  PlatSurface* p = surfaceSlots[slot].surface;
  const int32_t x0 = x < 0 ? 0 : x, y0 = y < 0 ? 0 : y;
  const int32_t x1 = x + w > p->width ? p->width : x + w, y1 = y + h > p->height ? p->height : y + h;
  const uint16_t raw = platColorToRaw(color);
  ++surfaceSlots[slot].drawnInPlace;
  for (int32_t row = y0; row < y1; ++row)
    for (int32_t col = x0; col < x1; ++col) p->pixels[static_cast<ptrdiff_t>(row) * p->pitch + col] = raw;
}

void releaseSurface(int slot) {
  if (!validSlot(slot)) return;
  platSurfaceDestroy(surfaceSlots[slot].surface);
  surfaceSlots[slot].surface = nullptr;
  surfaceSlots[slot].loaded = 0;
  ++surfaceSlots[slot].generation;
}

void releaseAllSurfaces() {
  for (SurfaceSlot& s : surfaceSlots) {
    platSurfaceDestroy(s.surface);
    s.surface = nullptr;
    ++s.generation;
  }
}

void reloadSurfaces() {
  for (int i = 0; i < SLOT_COUNT; ++i) {
    if (surfaceSlots[i].loaded != 1) continue;
    // loadSurface copies the name into the same store: take it out first.
    char name[sizeof surfaceSlots[i].name];
    sjisCopy(name, sizeof name, surfaceSlots[i].name);
    loadSurface(name, i, surfaceSlots[i].colorKey);
  }
}

int surfaceSize(int slot, int32_t* width, int32_t* height) {
  bool has = validSlot(slot) && surfaceSlots[slot].surface;
  if (width) *width = has ? surfaceSlots[slot].width : 0;
  if (height) *height = has ? surfaceSlots[slot].height : 0;
  return 0;
}

uint32_t matchSurfaceColor(PlatSurface* surface, uint32_t color) {
  if (!surface || !surface->pixels || surface->width <= 0 || surface->height <= 0) return CLR_INVALID;
  // CLR_INVALID asks for the surface's own top-left pixel as the key.
  if (color == CLR_INVALID) return surface->pixels[0];
  return platColorToRaw(color);
}
