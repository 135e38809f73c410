// Link placeholders for functions and variables that other parts of the
// program define; the real definitions replace these.
#include <cstdio>

#include "app/app.h"
#include "dialogs/dialogs.h"
#include "editor/editor.h"
#include "gfx/gfx.h"

__attribute__((weak)) float frameSeconds = 0.0f;

__attribute__((weak)) int surfaceSize(int slot, int32_t* width, int32_t* height) {
  bool ok = slot >= 0 && slot < SLOT_COUNT && surfaceSlots[slot].loaded != 0;
  *width = ok ? surfaceSlots[slot].width : 0;
  *height = ok ? surfaceSlots[slot].height : 0;
  return 0;
}
__attribute__((weak)) void clearBackBuffer(uint32_t) {}
__attribute__((weak)) void presentFrame() {}
__attribute__((weak)) int attributeDialog() { return 0; }
__attribute__((weak)) void showSystemCursor(int state) {
  if (state == 0 || state == 1) cursorShown = state;
}
__attribute__((weak)) void formatClock(char* out, int outSize) {
  if (outSize > 0) std::snprintf(out, static_cast<size_t>(outSize), "clock");
}
