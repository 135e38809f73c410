// [SECTION] Performing a layer's queued copies, shapes and texts on the back
// buffer, the whole of it or only chosen parts.
#include <climits>
#include <cstddef>

#include "gfx/compose.h"
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

// Where commands are performed: a part of the back buffer seen as a surface
// of its own (the same pixels, its origin at the part's top-left corner), so
// that every copy and painting session, which hold themselves inside their
// target, writes nothing outside the part. A command's canvas coordinates
// are moved by the part's corner; the copies and the stepped lines depend
// only on differences of coordinates, so a pixel comes out as it would on
// the whole canvas.
struct Target {
  PlatSurface view;
  PlatRect part;
};

bool targetFor(PlatSurface* back, const PlatRect& wanted, Target* t) {
  const int32_t l = wanted.left < 0 ? 0 : wanted.left, top = wanted.top < 0 ? 0 : wanted.top;
  const int32_t r = wanted.right > back->width ? back->width : wanted.right;
  const int32_t b = wanted.bottom > back->height ? back->height : wanted.bottom;
  if (l >= r || top >= b) return false;
  t->view = PlatSurface{back->pixels + static_cast<std::ptrdiff_t>(top) * back->pitch + l, r - l, b - top, back->pitch};
  t->part = PlatRect{l, top, r, b};
  return true;
}

inline bool meets(const PlatRect& a, const PlatRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// v - by, held inside int (a queued coordinate may be any value).
inline int moved(int64_t v, int32_t by) {
  const int64_t m = v - by;
  return static_cast<int>(m < INT_MIN ? INT_MIN : (m > INT_MAX ? INT_MAX : m));
}

void performBlits(int layer, Target& t) {
  const int32_t ox = t.part.left, oy = t.part.top;
  PlatRect r;
  for (int i = 0; i < frameQueues.blitCount[layer]; ++i) {
    const BlitCommand& c = frameQueues.blit[layer][i];
    const PlatSurface* src = commandSource(c);
    if (!src || !blitBounds(c, &r) || !meets(r, t.part)) continue;
    // A key that could not be matched (CLR_INVALID) matches no pixel.
    uint32_t rawKey = surfaceSlots[c.slot].rawKey;
    bool keyOk = rawKey <= 0xFFFFu;
    uint16_t key = static_cast<uint16_t>(rawKey);
    if (c.stretched) {
      int keyed = (c.flags & BLT_KEYSRC) && keyOk;
      platSurfaceStretchClipped(&t.view, moved(c.dstLeft, ox), moved(c.dstTop, oy), moved(c.dstRight, ox),
                                moved(c.dstBottom, oy), moved(c.clipLeft, ox), moved(c.clipTop, oy),
                                moved(c.clipRight, ox), moved(c.clipBottom, oy), src, c.srcLeft, c.srcTop,
                                c.srcRight, c.srcBottom, keyed, key);
    } else if ((c.flags & BLTFAST_SRCCOLORKEY) && keyOk) {
      platSurfaceCopyKeyed(&t.view, moved(c.x, ox), moved(c.y, oy), src, c.srcLeft, c.srcTop, c.srcRight,
                           c.srcBottom, key);
    } else {
      platSurfaceCopy(&t.view, moved(c.x, ox), moved(c.y, oy), src, c.srcLeft, c.srcTop, c.srcRight, c.srcBottom);
    }
  }
}

void performShapes(int layer, Target& t) {
  const int32_t ox = t.part.left, oy = t.part.top;
  PlatRect r;
  platPaintBegin(&t.view);
  for (int i = 0; i < frameQueues.shapeCount[layer]; ++i) {
    const ShapeCommand& c = frameQueues.shape[layer][i];
    if (!shapeBounds(c, &r) || !meets(r, t.part)) continue;
    const int l = moved(c.left, ox), top = moved(c.top, oy), right = moved(c.right, ox), b = moved(c.bottom, oy);
    if (c.kind == SHAPE_LINE) platPaintLine(l, top, right, b, c.penWidth, c.color);
    else if (c.kind == SHAPE_BOX) platPaintBox(l, top, right, b, c.penWidth, c.color);
  }
  platPaintEnd();
}

void performTexts(int layer, Target& t) {
  const int32_t ox = t.part.left, oy = t.part.top;
  const int n = frameQueues.textCount[layer];
  PlatRect r;
  platPaintBegin(&t.view);
  // Every shadow of the layer first, so that no shadow lies over a text.
  for (int pass = 0; pass < 2; ++pass)
    for (int i = 0; i < n; ++i) {
      const TextCommand& c = frameQueues.text[layer][i];
      if (!textBounds(c, &r) || !meets(r, t.part)) continue;
      if (pass == 0) platPaintText(moved(int64_t(c.x) + 1, ox), moved(int64_t(c.y) + 1, oy), COLOR_TEXT_SHADOW, c.text);
      else platPaintText(moved(c.x, ox), moved(c.y, oy), c.color, c.text);
    }
  platPaintEnd();
}

PlatRect wholeCanvas() { return PlatRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}; }

// One of a layer's queues performed on the whole back buffer and emptied.
template <class Perform>
void flushWhole(int layer, int32_t* count, Perform perform) {
  if (!validLayer(layer)) return;
  Target t;
  PlatSurface* back = backBuffer();
  if (back && back->pixels && count[layer] > 0 && targetFor(back, wholeCanvas(), &t)) perform(layer, t);
  frameTiming.drawCount += count[layer];
  count[layer] = 0;
  // The canvas was written outside the present's reckoning.
  presentMissed();
}

}  // namespace

bool blitBounds(const BlitCommand& c, PlatRect* r) {
  if (c.stretched) {
    *r = PlatRect{c.dstLeft > c.clipLeft ? c.dstLeft : c.clipLeft, c.dstTop > c.clipTop ? c.dstTop : c.clipTop,
                  c.dstRight < c.clipRight ? c.dstRight : c.clipRight,
                  c.dstBottom < c.clipBottom ? c.dstBottom : c.clipBottom};
  } else {
    // The copy starts at (x, y) or, with a source rectangle reaching left of
    // or above its surface, further right or down; it is never wider.
    const int64_t w = int64_t(c.srcRight) - c.srcLeft, h = int64_t(c.srcBottom) - c.srcTop;
    if (w <= 0 || h <= 0) return false;
    const int64_t right = c.x + w, bottom = c.y + h;
    *r = PlatRect{c.x, c.y, static_cast<int32_t>(right > INT_MAX ? INT_MAX : right),
                  static_cast<int32_t>(bottom > INT_MAX ? INT_MAX : bottom)};
  }
  return r->left < r->right && r->top < r->bottom;
}

bool textBounds(const TextCommand& t, PlatRect* r) {
  // A glyph's mask is drawn from 8 px left of and above its pen position to
  // 24 px beyond; no glyph advances more than 16 px a byte; the shadow adds 1.
  int64_t bytes = 0;
  while (bytes < TEXT_STORE && t.text[bytes]) ++bytes;
  if (bytes == 0) return false;
  auto held = [](int64_t v) { return static_cast<int32_t>(v < INT_MIN ? INT_MIN : (v > INT_MAX ? INT_MAX : v)); };
  *r = PlatRect{held(int64_t(t.x) - 8), held(int64_t(t.y) - 8), held(int64_t(t.x) + 16 * bytes + 25),
                held(int64_t(t.y) + 25)};
  return true;
}

bool shapeBounds(const ShapeCommand& s, PlatRect* r) {
  // A pen reaches half its width beyond the line, rounded ends included; the
  // width-2 box writes one pixel beyond its right and bottom edges.
  const int64_t pen = (s.penWidth > 1 ? s.penWidth : 1) + 2;
  const int64_t l = s.left < s.right ? s.left : s.right, rr = s.left < s.right ? s.right : s.left;
  const int64_t t = s.top < s.bottom ? s.top : s.bottom, b = s.top < s.bottom ? s.bottom : s.top;
  auto held = [](int64_t v) { return static_cast<int32_t>(v < INT_MIN ? INT_MIN : (v > INT_MAX ? INT_MAX : v)); };
  *r = PlatRect{held(l - pen), held(t - pen), held(rr + pen + 1), held(b + pen + 1)};
  return true;
}

void composeParts(const PlatRect* parts, int partCount) {
  PlatSurface* back = backBuffer();
  if (!back || !back->pixels) return;
  const PlatRect whole = wholeCanvas();
  if (!parts || partCount <= 0) {
    parts = &whole;
    partCount = 1;
  }
  // The parts do not overlap, so each can be finished on its own.
  for (int p = 0; p < partCount; ++p) {
    Target t;
    if (!targetFor(back, parts[p], &t)) continue;
    if (frameQueues.clearQueued) platSurfaceFill(&t.view, frameQueues.clearPixel);
    for (int layer = 0; layer < LAYER_COUNT; ++layer) {
      performBlits(layer, t);
      if (frameQueues.textCount[layer] > 0) performTexts(layer, t);
      if (frameQueues.shapeCount[layer] > 0) performShapes(layer, t);
    }
  }
}

void emptyQueues() {
  for (int layer = 0; layer < LAYER_COUNT; ++layer) {
    frameTiming.drawCount += frameQueues.blitCount[layer] + frameQueues.textCount[layer] + frameQueues.shapeCount[layer];
    frameQueues.blitCount[layer] = frameQueues.textCount[layer] = frameQueues.shapeCount[layer] = 0;
  }
  frameQueues.clearQueued = 0;
}

void flushBlits(int layer) { flushWhole(layer, frameQueues.blitCount, performBlits); }
void flushShapes(int layer) { flushWhole(layer, frameQueues.shapeCount, performShapes); }
void flushTexts(int layer) { flushWhole(layer, frameQueues.textCount, performTexts); }
