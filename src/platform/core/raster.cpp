// [SECTION] RGB565 surfaces: creation, fill, copies (plain, keyed, stretched)
// [SECTION] Painting: sessions, thin lines and boxes written directly
//
// Everything here is plain pixel work on the surfaces' own memory. What needs
// a rasteriser or a font (wide pens, text, decoding bitmap files) is the
// picture back end's part (platform/core/picture.h).
#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/core/picture.h"
#include "platform/surface.h"

// ===========================================================================
// [SECTION] RGB565 surfaces
// ===========================================================================

PlatSurface* platSurfaceCreate(int width, int height) {
  if (width <= 0 || height <= 0 || width > PLAT_SURFACE_MAX_SIDE || height > PLAT_SURFACE_MAX_SIDE) return nullptr;
  size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  uint16_t* pixels = static_cast<uint16_t*>(std::calloc(count, sizeof(uint16_t)));
  if (!pixels) return nullptr;
  PlatSurface* s = new (std::nothrow) PlatSurface{pixels, width, height, width};
  if (!s) std::free(pixels);
  return s;
}

void platSurfaceDestroy(PlatSurface* surface) {
  if (!surface) return;
  std::free(surface->pixels);
  delete surface;
}

void platSurfaceFill(PlatSurface* surface, uint16_t raw) {
  if (!surface) return;
  for (int y = 0; y < surface->height; ++y) {
    uint16_t* row = surface->pixels + static_cast<ptrdiff_t>(y) * surface->pitch;
    std::fill(row, row + surface->width, raw);
  }
}

namespace {

// The part of an unstretched copy that lies inside both surfaces. Worked in
// 64 bits: the rectangles come from queued commands and may hold any value.
struct CopySpan {
  int srcX, srcY, dstX, dstY, w, h;
};

bool clipCopy(const PlatSurface* dst, int dx, int dy, const PlatSurface* src, int left, int top, int right,
              int bottom, CopySpan* out) {
  if (!dst || !src || !dst->pixels || !src->pixels) return false;
  int64_t l = left, t = top, r = right, b = bottom, x = dx, y = dy;
  if (r <= l || b <= t) return false;
  if (l < 0) { x -= l; l = 0; }
  if (t < 0) { y -= t; t = 0; }
  r = std::min<int64_t>(r, src->width);
  b = std::min<int64_t>(b, src->height);
  if (x < 0) { l -= x; x = 0; }
  if (y < 0) { t -= y; y = 0; }
  int64_t w = std::min<int64_t>(r - l, dst->width - x);
  int64_t h = std::min<int64_t>(b - t, dst->height - y);
  if (w <= 0 || h <= 0) return false;
  *out = CopySpan{static_cast<int>(l), static_cast<int>(t), static_cast<int>(x), static_cast<int>(y),
                  static_cast<int>(w), static_cast<int>(h)};
  return true;
}

// One row of a keyed copy. The unconditional store of a select keeps the loop
// free of branches so that the compiler turns it into vector code.
typedef uint16_t Pixels8 __attribute__((vector_size(16)));

inline void keyedRow(uint16_t* __restrict d, const uint16_t* __restrict s, int n, uint16_t key) {
  int i = 0;
  // Eight pixels at a time with a compare mask (plain SSE2 on x86-64); the
  // loads and stores go through memcpy because rows need not be aligned.
  Pixels8 keys = {key, key, key, key, key, key, key, key};
  for (; i + 8 <= n; i += 8) {
    Pixels8 sv, dv;
    std::memcpy(&sv, s + i, sizeof sv);
    std::memcpy(&dv, d + i, sizeof dv);
    Pixels8 isKey = reinterpret_cast<Pixels8>(sv == keys);
    dv = (dv & isKey) | (sv & ~isKey);
    std::memcpy(d + i, &dv, sizeof dv);
  }
  for (; i < n; ++i) {
    uint16_t v = s[i];
    d[i] = v == key ? d[i] : v;
  }
}

__extension__ typedef __int128 Wide;

// Column and row maps of a stretched copy, filled per command. Static so
// that a frame allocates nothing; a destination side never exceeds the
// largest surface side.
int32_t stretchCols[PLAT_SURFACE_MAX_SIDE];
int32_t stretchRows[PLAT_SURFACE_MAX_SIDE];

// Maps destination positions [from, to) of the destination span starting at
// dStart, dLen long, onto the source span sStart, sLen long, keeping only the
// positions whose source lies inside [0, sLimit). Returns the first and one
// past the last kept destination position (the kept range is contiguous
// because the mapping is monotonic).
void mapAxis(int64_t dStart, int64_t dLen, int64_t sStart, int64_t sLen, int64_t from, int64_t to, int64_t sLimit,
             int32_t* map, int* first, int* last) {
  int lo = static_cast<int>(to), hi = static_cast<int>(from);
  // Spans of any 32-bit rectangle reach 2^32, so their product may need more
  // than 64 bits; the usual small spans take the cheap path.
  bool narrow = sLen < (int64_t(1) << 31) && to - dStart < (int64_t(1) << 32);
  for (int64_t p = from; p < to; ++p) {
    int64_t s = narrow ? sStart + (p - dStart) * sLen / dLen
                       : sStart + static_cast<int64_t>(static_cast<Wide>(p - dStart) * sLen / dLen);
    if (s < 0 || s >= sLimit) continue;
    if (p < lo) lo = static_cast<int>(p);
    hi = static_cast<int>(p) + 1;
    map[p] = static_cast<int32_t>(s);
  }
  *first = lo;
  *last = hi;
}

// A chip's row is a few dozen bytes: copied in place in 32-byte steps, since
// a library call per row costs more than such a copy (a map window copies
// thousands of them a frame). Long rows go to memcpy.
constexpr int SHORT_ROW_PIXELS = 128;
void copyRow(uint16_t* d, const uint16_t* s, int w) {
  if (w > SHORT_ROW_PIXELS) {
    std::memcpy(d, s, static_cast<size_t>(w) * sizeof(uint16_t));
    return;
  }
  int x = 0;
  for (; x + 16 <= w; x += 16) {
    uint16_t block[16];
    __builtin_memcpy(block, s + x, sizeof block);
    __builtin_memcpy(d + x, block, sizeof block);
  }
  for (; x < w; ++x) d[x] = s[x];
}

}  // namespace

void platSurfaceCopy(PlatSurface* dst, int dx, int dy, const PlatSurface* src, int left, int top, int right,
                     int bottom) {
  CopySpan c;
  if (!clipCopy(dst, dx, dy, src, left, top, right, bottom, &c)) return;
  size_t bytes = static_cast<size_t>(c.w) * sizeof(uint16_t);
  for (int row = 0; row < c.h; ++row) {
    uint16_t* d = dst->pixels + static_cast<ptrdiff_t>(c.dstY + row) * dst->pitch + c.dstX;
    const uint16_t* s = src->pixels + static_cast<ptrdiff_t>(c.srcY + row) * src->pitch + c.srcX;
    if (dst == src)
      std::memmove(d, s, bytes);  // a surface copied onto itself may overlap
    else
      copyRow(d, s, c.w);
  }
}

void platSurfaceCopyKeyed(PlatSurface* dst, int dx, int dy, const PlatSurface* src, int left, int top, int right,
                          int bottom, uint16_t key) {
  CopySpan c;
  if (!clipCopy(dst, dx, dy, src, left, top, right, bottom, &c)) return;
  if (dst == src) {
    // Overlapping rows of one surface: go through a row buffer.
    static uint16_t rowBuf[PLAT_SURFACE_MAX_SIDE];
    for (int row = 0; row < c.h; ++row) {
      const uint16_t* s = src->pixels + static_cast<ptrdiff_t>(c.srcY + row) * src->pitch + c.srcX;
      std::memcpy(rowBuf, s, static_cast<size_t>(c.w) * sizeof(uint16_t));
      keyedRow(dst->pixels + static_cast<ptrdiff_t>(c.dstY + row) * dst->pitch + c.dstX, rowBuf, c.w, key);
    }
    return;
  }
  for (int row = 0; row < c.h; ++row) {
    keyedRow(dst->pixels + static_cast<ptrdiff_t>(c.dstY + row) * dst->pitch + c.dstX,
             src->pixels + static_cast<ptrdiff_t>(c.srcY + row) * src->pitch + c.srcX, c.w, key);
  }
}

void platSurfaceStretch(PlatSurface* dst, int dLeft, int dTop, int dRight, int dBottom, const PlatSurface* src,
                        int sLeft, int sTop, int sRight, int sBottom, int keyed, uint16_t key) {
  platSurfaceStretchClipped(dst, dLeft, dTop, dRight, dBottom, dLeft, dTop, dRight, dBottom, src, sLeft, sTop, sRight,
                            sBottom, keyed, key);
}

void platSurfaceStretchClipped(PlatSurface* dst, int dLeft, int dTop, int dRight, int dBottom, int cLeft, int cTop,
                               int cRight, int cBottom, const PlatSurface* src, int sLeft, int sTop, int sRight,
                               int sBottom, int keyed, uint16_t key) {
  if (!dst || !src || !dst->pixels || !src->pixels || dst == src) return;
  int64_t dw = int64_t(dRight) - dLeft, dh = int64_t(dBottom) - dTop;
  int64_t sw = int64_t(sRight) - sLeft, sh = int64_t(sBottom) - sTop;
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  // The written pixels: the destination rectangle cut to the clip and to the
  // surface; the mapping onto the source stays that of the whole rectangle.
  int64_t x0 = std::max<int64_t>({dLeft, cLeft, 0}), x1 = std::min<int64_t>({dRight, cRight, dst->width});
  int64_t y0 = std::max<int64_t>({dTop, cTop, 0}), y1 = std::min<int64_t>({dBottom, cBottom, dst->height});
  if (x0 >= x1 || y0 >= y1) return;
  if (dw == sw && dh == sh) {
    const int ox = static_cast<int>(x0 - dLeft), oy = static_cast<int>(y0 - dTop);
    const int w = static_cast<int>(x1 - x0), h = static_cast<int>(y1 - y0);
    if (keyed)
      platSurfaceCopyKeyed(dst, int(x0), int(y0), src, sLeft + ox, sTop + oy, sLeft + ox + w, sTop + oy + h, key);
    else
      platSurfaceCopy(dst, int(x0), int(y0), src, sLeft + ox, sTop + oy, sLeft + ox + w, sTop + oy + h);
    return;
  }
  int cx0, cx1, cy0, cy1;
  mapAxis(dLeft, dw, sLeft, sw, x0, x1, src->width, stretchCols, &cx0, &cx1);
  mapAxis(dTop, dh, sTop, sh, y0, y1, src->height, stretchRows, &cy0, &cy1);
  for (int y = cy0; y < cy1; ++y) {
    uint16_t* d = dst->pixels + static_cast<ptrdiff_t>(y) * dst->pitch;
    const uint16_t* s = src->pixels + static_cast<ptrdiff_t>(stretchRows[y]) * src->pitch;
    if (keyed) {
      for (int x = cx0; x < cx1; ++x) {
        uint16_t v = s[stretchCols[x]];
        if (v != key) d[x] = v;
      }
    } else {
      for (int x = cx0; x < cx1; ++x) d[x] = s[stretchCols[x]];
    }
  }
}

// ===========================================================================
// [SECTION] Painting
// ===========================================================================

namespace {

PlatSurface* paintTarget = nullptr;

inline void putPixel(PlatSurface* s, int64_t x, int64_t y, uint16_t v) {
  if (x >= 0 && y >= 0 && x < s->width && y < s->height) s->pixels[y * s->pitch + x] = v;
}

void hSpan(PlatSurface* s, int64_t y, int64_t xa, int64_t xb, uint16_t v) {  // xa..xb inclusive
  if (y < 0 || y >= s->height) return;
  xa = std::max<int64_t>(xa, 0);
  xb = std::min<int64_t>(xb, s->width - 1);
  if (xa > xb) return;
  uint16_t* row = s->pixels + y * s->pitch;
  std::fill(row + xa, row + xb + 1, v);
}

void vSpan(PlatSurface* s, int64_t x, int64_t ya, int64_t yb, uint16_t v) {  // ya..yb inclusive
  if (x < 0 || x >= s->width) return;
  ya = std::max<int64_t>(ya, 0);
  yb = std::min<int64_t>(yb, s->height - 1);
  for (int64_t y = ya; y <= yb; ++y) s->pixels[y * s->pitch + x] = v;
}

// Diagonal lines are stepped pixel by pixel; beyond this range they go to
// the picture back end, which clips them, so that no coordinate can make a
// long loop.
constexpr int STEP_LIMIT = 1 << 15;

bool thinLine(PlatSurface* s, int x0, int y0, int x1, int y1, uint16_t v) {
  if (y0 == y1) {
    if (x1 > x0) hSpan(s, y0, x0, int64_t(x1) - 1, v);
    else if (x1 < x0) hSpan(s, y0, int64_t(x1) + 1, x0, v);
    return true;
  }
  if (x0 == x1) {
    if (y1 > y0) vSpan(s, x0, y0, int64_t(y1) - 1, v);
    else vSpan(s, x0, int64_t(y1) + 1, y0, v);
    return true;
  }
  auto inRange = [](int c) { return c > -STEP_LIMIT && c < STEP_LIMIT; };
  if (!inRange(x0) || !inRange(y0) || !inRange(x1) || !inRange(y1)) return false;
  int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  int x = x0, y = y0;
  while (x != x1 || y != y1) {  // the end point itself is left out
    putPixel(s, x, y, v);
    int e2 = 2 * err;
    if (e2 >= dy) { err += dy; x += sx; }
    if (e2 <= dx) { err += dx; y += sy; }
  }
  return true;
}

// A box of pen width 2, pixel for pixel as the centred round pen draws it:
// every edge is two pixels thick, on the line and right of or below it, and
// the round joins leave out the outer corner pixel at the top right and at
// the bottom left. A flat box is its one edge drawn there and back; a box of
// no size draws nothing. All in 64 bits, so that no edge overflows.
void thickBox2(PlatSurface* s, int64_t l, int64_t t, int64_t r, int64_t b, uint16_t v) {
  if (l == r && t == b) return;
  if (t == b) {
    hSpan(s, t, l, r, v);
    hSpan(s, t + 1, l + 1, r, v);
    return;
  }
  if (l == r) {
    putPixel(s, l, t, v);
    vSpan(s, l, t + 1, b, v);
    vSpan(s, l + 1, t + 1, b, v);
    return;
  }
  hSpan(s, t, l, r, v);
  hSpan(s, t + 1, l, r + 1, v);
  hSpan(s, b, l, r + 1, v);
  hSpan(s, b + 1, l + 1, r, v);
  for (int64_t x : {l, l + 1, r, r + 1}) vSpan(s, x, t + 2, b - 1, v);
}

}  // namespace

PlatSurface* platPaintTarget() { return paintTarget; }

void platPaintBegin(PlatSurface* surface) {
  platPaintEnd();
  paintTarget = surface;
}

void platPaintEnd() {
  if (paintTarget) pictureEndSession();
  paintTarget = nullptr;
}

void platPaintLine(int x0, int y0, int x1, int y1, int penWidth, uint32_t color) {
  PlatSurface* s = paintTarget;
  if (!s || !s->pixels) return;
  if (penWidth <= 1 && thinLine(s, x0, y0, x1, y1, platColorToRaw(color))) return;
  pictureWideLine(s, x0, y0, x1, y1, penWidth, color);
}

void platPaintBox(int left, int top, int right, int bottom, int penWidth, uint32_t color) {
  PlatSurface* s = paintTarget;
  if (!s || !s->pixels) return;
  uint16_t v = platColorToRaw(color);
  int64_t l = std::min(left, right), r = std::max(left, right);
  int64_t t = std::min(top, bottom), b = std::max(top, bottom);
  if (penWidth <= 1) {
    hSpan(s, t, l, r, v);
    hSpan(s, b, l, r, v);
    vSpan(s, l, t, b, v);
    vSpan(s, r, t, b, v);
    return;
  }
  // Attribute mode outlines its cells with width 2 every frame: written
  // directly. Wider pens, which no frame draws, go to the picture back end.
  if (penWidth == 2) {
    thickBox2(s, l, t, r, b, v);
    return;
  }
  pictureWideBox(s, left, top, right, bottom, penWidth, color);
}
