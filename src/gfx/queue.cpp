// [SECTION] Queuing of copies, shapes and texts. Performing them is flush.cpp.
#include <cstring>

#include "gfx/gfx.h"
#include "platform/sjis.h"

BlitCommand blitQueue[LAYER_COUNT][BLIT_QUEUE_SIZE];
int32_t blitCount[LAYER_COUNT];
ShapeCommand shapeQueue[LAYER_COUNT][SHAPE_QUEUE_SIZE];
int32_t shapeCount[LAYER_COUNT];
TextCommand textQueue[LAYER_COUNT][TEXT_QUEUE_SIZE];
int32_t textCount[LAYER_COUNT];
int32_t clipLeft = 0, clipTop = 0, clipRight = CLASSIC_CANVAS_W, clipBottom = CLASSIC_CANVAS_H;

namespace {
inline int32_t trunc32(float v) { return static_cast<int32_t>(v); }
inline int32_t absDiff(int32_t a, int32_t b) { return a > b ? a - b : b - a; }
}  // namespace

void setClipRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  clipLeft = left;
  clipTop = top;
  clipRight = right;
  clipBottom = bottom;
}

int drawSprite(Sprite s) {
  if (s.layer < 0 || s.layer >= LAYER_COUNT) return 0;
  if (blitCount[s.layer] >= BLIT_QUEUE_SIZE) return 0;
  int32_t left = s.srcX, top = s.srcY, right = s.srcX + s.width, bottom = s.srcY + s.height;
  float x = s.x, y = s.y;
  // The four edges are tested in this order and not symmetrically: only a
  // sprite whose right edge lies on the left clip line is dropped outright;
  // the other three touching cases queue an empty rectangle.
  if (static_cast<float>(clipLeft) > x) {
    if (x + static_cast<float>(right - left) <= static_cast<float>(clipLeft)) return 0;
    left += absDiff(clipLeft, trunc32(x));
    x = static_cast<float>(clipLeft);
  }
  if (x + static_cast<float>(right - left) >= static_cast<float>(clipRight)) {
    if (x > static_cast<float>(clipRight)) return 0;
    right = left + trunc32(static_cast<float>(clipRight) - x);
  }
  if (static_cast<float>(clipTop) > y) {
    if (y + static_cast<float>(bottom - top) < static_cast<float>(clipTop)) return 0;
    top += absDiff(clipTop, trunc32(y));
    y = static_cast<float>(clipTop);
  }
  if (y + static_cast<float>(bottom - top) > static_cast<float>(clipBottom)) {
    if (y > static_cast<float>(clipBottom)) return 0;
    bottom = top + trunc32(static_cast<float>(clipBottom) - y);
  }
  BlitCommand& c = blitQueue[s.layer][blitCount[s.layer]];
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
  ++blitCount[s.layer];
  return 1;
}

namespace {

int16_t clip16(int32_t v) { return static_cast<int16_t>(v < -32768 ? -32768 : (v > 32767 ? 32767 : v)); }

void queueStretched(int32_t dx, int32_t dy, int32_t dw, int32_t dh, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                    int32_t opaque, int32_t layer, int32_t slot, const int32_t clip[4]) {
  if (layer < 0 || layer >= LAYER_COUNT) return;
  if (blitCount[layer] >= BLIT_QUEUE_SIZE) return;
  BlitCommand& c = blitQueue[layer][blitCount[layer]];
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
  ++blitCount[layer];
}

}  // namespace

void blitStretched(int32_t dx, int32_t dy, int32_t dw, int32_t dh, int32_t sx, int32_t sy, int32_t sw,
                   int32_t sh, int32_t opaque, int32_t layer, int32_t slot) {
  static const int32_t whole[4] = {-32768, -32768, 32767, 32767};
  queueStretched(dx, dy, dw, dh, sx, sy, sw, sh, opaque, layer, slot, whole);
}

void drawScaled(int32_t dx, int32_t dy, int32_t dw, int32_t dh, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                int32_t opaque, int32_t layer, int32_t slot) {
  const int32_t clip[4] = {clipLeft, clipTop, clipRight, clipBottom};
  if (dx >= clipRight || dy >= clipBottom || dx + dw <= clipLeft || dy + dh <= clipTop) return;
  queueStretched(dx, dy, dw, dh, sx, sy, sw, sh, opaque, layer, slot, clip);
}

void queueShape(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t penWidth, uint32_t color,
                int32_t kind, int32_t layer) {
  if (layer < 0 || layer >= LAYER_COUNT) return;
  if (shapeCount[layer] >= SHAPE_QUEUE_SIZE) return;
  shapeQueue[layer][shapeCount[layer]++] = ShapeCommand{left, top, right, bottom, penWidth, color, kind};
}

void queueText(int32_t x, int32_t y, uint32_t color, const char* text, int32_t layer) {
  if (layer < 0 || layer >= LAYER_COUNT) return;
  if (textCount[layer] >= TEXT_QUEUE_SIZE) return;
  TextCommand& t = textQueue[layer][textCount[layer]++];
  sjisCopy(t.text, sizeof t.text, text);
  t.x = x;
  t.y = y;
  t.color = color;
}

void resetGraphicsQueues() {
  for (int l = 0; l < LAYER_COUNT; ++l) blitCount[l] = shapeCount[l] = textCount[l] = 0;
  setClipRect(0, 0, screenMetrics.canvasW, screenMetrics.canvasH);
  resetFrameCounters();
}
