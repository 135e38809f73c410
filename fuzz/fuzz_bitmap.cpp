// Bitmap loading into a surface slot from any bytes, then a keyed and a
// stretched copy from that slot onto the back buffer.
#include <cstdlib>

#include "fuzz_common.h"
#include "gfx/gfx.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool started = startDisplay(screenMetrics.canvasW, screenMetrics.canvasH, 16) == 1;
  if (!started) std::abort();
  static const std::string in = scratchPath("bmp");
  if (!writeScratch(in, data, size)) return 0;
  releaseSurface(SLOT_CHIPSHEET);
  resetGraphicsQueues();
  if (loadSurface(in.c_str(), SLOT_CHIPSHEET, KEY_BLACK) == 1) {
    int32_t w = 0, h = 0;
    surfaceSize(SLOT_CHIPSHEET, &w, &h);
    if (w <= 0 || h <= 0) std::abort();
    Sprite s{-3.0f, 590.0f, 0, 0, w, h, SLOT_CHIPSHEET, 0, 1};
    drawSprite(s);
    blitStretched(0, 0, screenMetrics.canvasW, screenMetrics.canvasH, 0, 0, w, h, 0, 2, SLOT_CHIPSHEET);
    blitStretched(10, 10, 7, 5, w / 2, h / 2, w, h, 1, 2, SLOT_CHIPSHEET);  // source past the edge
    flushBlits(1);
    flushBlits(2);
  }
  return 0;
}
