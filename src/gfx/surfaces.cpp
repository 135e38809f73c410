// [SECTION] Surface slots: load by resource name or file path, release,
// reload from the stored names, size and colour-key match.
#include "gfx/gfx.h"
#include "platform/sjis.h"
#include "platform/surface.h"

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
  return 1;
}

void releaseSurface(int slot) {
  if (!validSlot(slot)) return;
  platSurfaceDestroy(surfaceSlots[slot].surface);
  surfaceSlots[slot].surface = nullptr;
  surfaceSlots[slot].loaded = 0;
}

void releaseAllSurfaces() {
  for (SurfaceSlot& s : surfaceSlots) {
    platSurfaceDestroy(s.surface);
    s.surface = nullptr;
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
