// [SECTION] Performing a layer's queued copies, shapes and texts on the back
// buffer.
#include "gfx/gfx.h"
#include "platform/surface.h"

namespace {

inline bool validLayer(int layer) { return layer >= 0 && layer < LAYER_COUNT; }

// The surface a command may read. The pointer was taken at queue time; the
// slot may have been released or replaced since (a command inside the frame
// can change the chip sheet), so the slot's current surface is used and a
// command whose slot is now empty copies nothing. This never reads a freed
// surface.
inline const PlatSurface* commandSource(const BlitCommand& c) {
  if (!c.source || c.slot < 0 || c.slot >= SLOT_COUNT) return nullptr;
  return surfaceSlots[c.slot].surface;
}

}  // namespace

void flushBlits(int layer) {
  if (!validLayer(layer)) return;
  PlatSurface* back = backBuffer();
  int n = frameQueues.blitCount[layer];
  for (int i = 0; i < n; ++i) {
    const BlitCommand& c = frameQueues.blit[layer][i];
    ++frameTiming.drawCount;
    const PlatSurface* src = commandSource(c);
    if (!src || !back) continue;
    // A key that could not be matched (CLR_INVALID) matches no pixel.
    uint32_t rawKey = surfaceSlots[c.slot].rawKey;
    bool keyOk = rawKey <= 0xFFFFu;
    uint16_t key = static_cast<uint16_t>(rawKey);
    if (c.stretched) {
      int keyed = (c.flags & BLT_KEYSRC) && keyOk;
      platSurfaceStretchClipped(back, c.dstLeft, c.dstTop, c.dstRight, c.dstBottom, c.clipLeft, c.clipTop,
                                c.clipRight, c.clipBottom, src, c.srcLeft, c.srcTop, c.srcRight, c.srcBottom, keyed,
                                key);
    } else if ((c.flags & BLTFAST_SRCCOLORKEY) && keyOk) {
      platSurfaceCopyKeyed(back, c.x, c.y, src, c.srcLeft, c.srcTop, c.srcRight, c.srcBottom, key);
    } else {
      platSurfaceCopy(back, c.x, c.y, src, c.srcLeft, c.srcTop, c.srcRight, c.srcBottom);
    }
  }
  frameQueues.blitCount[layer] = 0;
}

void flushShapes(int layer) {
  if (!validLayer(layer) || frameQueues.shapeCount[layer] == 0) return;
  platPaintBegin(backBuffer());
  int n = frameQueues.shapeCount[layer];
  for (int i = 0; i < n; ++i) {
    const ShapeCommand& c = frameQueues.shape[layer][i];
    if (c.kind == SHAPE_LINE) platPaintLine(c.left, c.top, c.right, c.bottom, c.penWidth, c.color);
    else if (c.kind == SHAPE_BOX) platPaintBox(c.left, c.top, c.right, c.bottom, c.penWidth, c.color);
    ++frameTiming.drawCount;
  }
  platPaintEnd();
  frameQueues.shapeCount[layer] = 0;
}

void flushTexts(int layer) {
  if (!validLayer(layer) || frameQueues.textCount[layer] == 0) return;
  platPaintBegin(backBuffer());
  int n = frameQueues.textCount[layer];
  // Every shadow of the layer first, so that no shadow lies over a text.
  for (int i = 0; i < n; ++i) {
    const TextCommand& t = frameQueues.text[layer][i];
    platPaintText(t.x + 1, t.y + 1, COLOR_TEXT_SHADOW, t.text);
  }
  for (int i = 0; i < n; ++i) {
    const TextCommand& t = frameQueues.text[layer][i];
    platPaintText(t.x, t.y, t.color, t.text);
    ++frameTiming.drawCount;
  }
  platPaintEnd();
  frameQueues.textCount[layer] = 0;
}
