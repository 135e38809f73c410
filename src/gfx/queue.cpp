// [SECTION] Queuing of copies, shapes and texts. Performing them is flush.cpp.
#include <cstring>

#include "gfx/compose.h"
#include "gfx/gfx.h"
#include "platform/sjis.h"

FrameQueues frameQueues;

namespace {
inline int32_t trunc32(float v) { return static_cast<int32_t>(v); }
inline int32_t absDiff(int32_t a, int32_t b) { return a > b ? a - b : b - a; }
}  // namespace

void setClipRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  frameQueues.clipLeft = left;
  frameQueues.clipTop = top;
  frameQueues.clipRight = right;
  frameQueues.clipBottom = bottom;
}

int drawSprite(Sprite s) {
  if (s.layer < 0 || s.layer >= LAYER_COUNT) return 0;
  if (frameQueues.blitCount[s.layer] >= BLIT_QUEUE_SIZE) return 0;
  int32_t left = s.srcX, top = s.srcY, right = s.srcX + s.width, bottom = s.srcY + s.height;
  float x = s.x, y = s.y;
  // The four edges are tested in this order and not symmetrically: only a
  // sprite whose right edge lies on the left clip line is dropped outright;
  // the other three touching cases queue an empty rectangle.
  if (static_cast<float>(frameQueues.clipLeft) > x) {
    if (x + static_cast<float>(right - left) <= static_cast<float>(frameQueues.clipLeft)) return 0;
    left += absDiff(frameQueues.clipLeft, trunc32(x));
    x = static_cast<float>(frameQueues.clipLeft);
  }
  if (x + static_cast<float>(right - left) >= static_cast<float>(frameQueues.clipRight)) {
    if (x > static_cast<float>(frameQueues.clipRight)) return 0;
    right = left + trunc32(static_cast<float>(frameQueues.clipRight) - x);
  }
  if (static_cast<float>(frameQueues.clipTop) > y) {
    if (y + static_cast<float>(bottom - top) < static_cast<float>(frameQueues.clipTop)) return 0;
    top += absDiff(frameQueues.clipTop, trunc32(y));
    y = static_cast<float>(frameQueues.clipTop);
  }
  if (y + static_cast<float>(bottom - top) > static_cast<float>(frameQueues.clipBottom)) {
    if (y > static_cast<float>(frameQueues.clipBottom)) return 0;
    bottom = top + trunc32(static_cast<float>(frameQueues.clipBottom) - y);
  }
  BlitCommand& c = frameQueues.blit[s.layer][frameQueues.blitCount[s.layer]];
  c.srcLeft = left;
  c.srcTop = top;
  c.srcRight = right;
  c.srcBottom = bottom;
  c.dstLeft = c.dstTop = c.dstRight = c.dstBottom = 0;
  bool validSlot = s.slot >= 0 && s.slot < SLOT_COUNT;
  c.source = validSlot ? surfaceSlots[s.slot].surface : nullptr;
  c.slot = static_cast<int16_t>(validSlot ? s.slot : -1);
  c.x = trunc32(x);
  c.y = trunc32(y);
  c.flags = s.opaque == 0 ? (BLTFAST_WAIT | BLTFAST_SRCCOLORKEY) : BLTFAST_WAIT;
  c.stretched = 0;
  ++frameQueues.blitCount[s.layer];
  return 1;
}

namespace {

int16_t clip16(int32_t v) { return static_cast<int16_t>(v < -32768 ? -32768 : (v > 32767 ? 32767 : v)); }

void queueStretched(int32_t dx, int32_t dy, int32_t dw, int32_t dh, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                    int32_t opaque, int32_t layer, int32_t slot, const int32_t clip[4]) {
  if (layer < 0 || layer >= LAYER_COUNT) return;
  if (frameQueues.blitCount[layer] >= BLIT_QUEUE_SIZE) return;
  BlitCommand& c = frameQueues.blit[layer][frameQueues.blitCount[layer]];
  c.srcLeft = sx;
  c.srcTop = sy;
  c.srcRight = sx + sw;
  c.srcBottom = sy + sh;
  c.dstLeft = dx;
  c.dstTop = dy;
  c.dstRight = dx + dw;
  c.dstBottom = dy + dh;
  bool validSlot = slot >= 0 && slot < SLOT_COUNT;
  c.source = validSlot ? surfaceSlots[slot].surface : nullptr;
  c.slot = static_cast<int16_t>(validSlot ? slot : -1);
  c.x = c.y = 0;
  c.flags = opaque != 0 ? BLT_WAIT : (BLT_WAIT | BLT_KEYSRC);
  c.stretched = 1;
  c.clipLeft = clip16(clip[0]);
  c.clipTop = clip16(clip[1]);
  c.clipRight = clip16(clip[2]);
  c.clipBottom = clip16(clip[3]);
  ++frameQueues.blitCount[layer];
}

}  // namespace

void blitStretched(int32_t dx, int32_t dy, int32_t dw, int32_t dh, int32_t sx, int32_t sy, int32_t sw,
                   int32_t sh, int32_t opaque, int32_t layer, int32_t slot) {
  static const int32_t whole[4] = {-32768, -32768, 32767, 32767};
  queueStretched(dx, dy, dw, dh, sx, sy, sw, sh, opaque, layer, slot, whole);
}

void drawScaled(int32_t dx, int32_t dy, int32_t dw, int32_t dh, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                int32_t opaque, int32_t layer, int32_t slot) {
  const int32_t clip[4] = {frameQueues.clipLeft, frameQueues.clipTop, frameQueues.clipRight, frameQueues.clipBottom};
  if (dx >= frameQueues.clipRight || dy >= frameQueues.clipBottom || dx + dw <= frameQueues.clipLeft ||
      dy + dh <= frameQueues.clipTop)
    return;
  queueStretched(dx, dy, dw, dh, sx, sy, sw, sh, opaque, layer, slot, clip);
}

void queueShape(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t penWidth, uint32_t color,
                int32_t kind, int32_t layer) {
  if (layer < 0 || layer >= LAYER_COUNT) return;
  if (frameQueues.shapeCount[layer] >= SHAPE_QUEUE_SIZE) return;
  frameQueues.shape[layer][frameQueues.shapeCount[layer]++] =
      ShapeCommand{left, top, right, bottom, penWidth, color, kind};
}

void queueText(int32_t x, int32_t y, uint32_t color, const char* text, int32_t layer) {
  if (layer < 0 || layer >= LAYER_COUNT) return;
  if (frameQueues.textCount[layer] >= TEXT_QUEUE_SIZE) return;
  TextCommand& t = frameQueues.text[layer][frameQueues.textCount[layer]++];
  sjisCopy(t.text, sizeof t.text, text);
  t.x = x;
  t.y = y;
  t.color = color;
}

void queueClear(uint32_t rawPixel) {
  frameQueues.clearQueued = 1;
  frameQueues.clearPixel = static_cast<uint16_t>(rawPixel & 0xFFFFu);
}

void resetGraphicsQueues() {
  for (int l = 0; l < LAYER_COUNT; ++l)
    frameQueues.blitCount[l] = frameQueues.shapeCount[l] = frameQueues.textCount[l] = 0;
  frameQueues.clearQueued = 0;
  presentMissed();  // a fixture may have drawn on the canvas itself
  setClipRect(0, 0, screenMetrics.canvasW, screenMetrics.canvasH);
  resetFrameCounters();
}
