// [SECTION] What changed since the frame on screen: the canvas in tiles, each
// with a hash of the commands queued over it (in their order, with the state
// of the pictures they copy), compared with the last presented frame's. The
// tiles that differ, gathered into a few rectangles, are all a present
// composes and hands the window to compare.
#include "gfx/compose.h"
#include "gfx/gfx.h"

namespace {

// 32 x 16: a chip of 32 px covers a tile or two across, and a tile row is one
// band of the window's comparison.
constexpr int TILE_W = 32, TILE_H = 16;
constexpr int TILE_COLS = (CANVAS_MAX_W + TILE_W - 1) / TILE_W;  // 80
constexpr int TILE_ROWS = (CANVAS_MAX_H + TILE_H - 1) / TILE_H;  // 100
// More rectangles than this, or more than half the tiles, and the whole
// canvas is composed at once: every part costs a pass over the queues.
constexpr int MAX_PARTS = 32;

struct FrameDamage {
  uint64_t shown[TILE_ROWS * TILE_COLS];  // the tiles of the frame on screen (1.25 MB both: 8000 tiles)
  uint64_t next[TILE_ROWS * TILE_COLS];   // the same for the frame being presented
  int32_t cols = 0, rows = 0;             // the canvas in tiles when `shown` was reckoned
  bool whole = true;                      // the next present composes and compares everything
  bool tracking = true;
  PlatRect parts[MAX_PARTS];
};
FrameDamage frameDamage;

inline uint64_t mix(uint64_t h, uint64_t v) {
  h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
  return h * 0xFF51AFD7ED558CCDull;
}
inline uint64_t word(int64_t v) { return static_cast<uint64_t>(v); }

// Adds a command's hash to every tile its rectangle reaches.
void stamp(const PlatRect& r, uint64_t h, int32_t canvasW, int32_t canvasH) {
  const int32_t l = r.left < 0 ? 0 : r.left, t = r.top < 0 ? 0 : r.top;
  const int32_t rr = r.right > canvasW ? canvasW : r.right, b = r.bottom > canvasH ? canvasH : r.bottom;
  if (l >= rr || t >= b) return;
  const int32_t c0 = l / TILE_W, c1 = (rr - 1) / TILE_W, r0 = t / TILE_H, r1 = (b - 1) / TILE_H;
  for (int32_t row = r0; row <= r1; ++row) {
    uint64_t* tile = frameDamage.next + row * frameDamage.cols;
    for (int32_t col = c0; col <= c1; ++col) tile[col] = mix(tile[col], h);
  }
}

uint64_t blitHash(const BlitCommand& c, int layer) {
  uint64_t h = mix(word(layer) << 8 | 1u, word(c.srcLeft) << 32 ^ word(c.srcTop));
  h = mix(h, word(c.srcRight) << 32 ^ word(c.srcBottom));
  h = mix(h, word(c.flags) << 1 ^ word(c.stretched));
  if (c.stretched) {
    h = mix(h, word(c.dstLeft) << 32 ^ word(c.dstTop));
    h = mix(h, word(c.dstRight) << 32 ^ word(c.dstBottom));
    h = mix(h, word(c.clipLeft) << 48 ^ word(c.clipTop) << 32 ^ word(c.clipRight) << 16 ^ word(c.clipBottom));
  } else {
    h = mix(h, word(c.x) << 32 ^ word(c.y));
  }
  // The picture as it is now: which surface, redrawn how often, its key.
  const bool valid = c.source && c.slot >= 0 && c.slot < SLOT_COUNT;
  const SurfaceSlot* s = valid ? &surfaceSlots[c.slot] : nullptr;
  h = mix(h, valid ? reinterpret_cast<uintptr_t>(s->surface) : 0u);
  h = mix(h, valid ? word(s->generation) << 32 ^ word(s->drawnInPlace) : 0u);
  return mix(h, valid ? word(s->rawKey) << 16 ^ word(c.slot) : 0u);
}

uint64_t textHash(const TextCommand& t, int layer) {
  uint64_t h = mix(word(layer) << 8 | 2u, word(t.x) << 32 ^ word(t.y));
  h = mix(h, t.color);
  for (int i = 0; i < TEXT_STORE && t.text[i]; ++i) h = mix(h, static_cast<uint8_t>(t.text[i]));
  return h;
}

uint64_t shapeHash(const ShapeCommand& s, int layer) {
  uint64_t h = mix(word(layer) << 8 | 3u, word(s.left) << 32 ^ word(s.top));
  h = mix(h, word(s.right) << 32 ^ word(s.bottom));
  return mix(h, word(s.penWidth) << 40 ^ word(s.kind) << 32 ^ s.color);
}

// Every tile's hash of the frame's queues, in the order the present performs them.
void hashQueues(int32_t canvasW, int32_t canvasH) {
  const int32_t tiles = frameDamage.cols * frameDamage.rows;
  const uint64_t start = frameQueues.clearQueued ? mix(0x5EEDu, frameQueues.clearPixel) : 0x5EEDu;
  for (int32_t i = 0; i < tiles; ++i) frameDamage.next[i] = start;
  PlatRect r;
  for (int layer = 0; layer < LAYER_COUNT; ++layer) {
    for (int i = 0; i < frameQueues.blitCount[layer]; ++i) {
      const BlitCommand& c = frameQueues.blit[layer][i];
      if (blitBounds(c, &r)) stamp(r, blitHash(c, layer), canvasW, canvasH);
    }
    for (int i = 0; i < frameQueues.textCount[layer]; ++i) {
      const TextCommand& t = frameQueues.text[layer][i];
      if (textBounds(t, &r)) stamp(r, textHash(t, layer), canvasW, canvasH);
    }
    for (int i = 0; i < frameQueues.shapeCount[layer]; ++i) {
      const ShapeCommand& s = frameQueues.shape[layer][i];
      if (shapeBounds(s, &r)) stamp(r, shapeHash(s, layer), canvasW, canvasH);
    }
  }
}

// The changed tiles as rectangles: each tile row's runs, a run joined to a
// rectangle ending just above it when that spans the same columns. 0 when
// they are too many or cover too much to be worth composing apart.
int gatherParts(int32_t canvasW, int32_t canvasH) {
  int count = 0, changed = 0;
  // The rectangles that end at the row above, and those that end at this one.
  int above[TILE_COLS], here[TILE_COLS];
  int aboveCount = 0;
  const int32_t cols = frameDamage.cols;
  for (int32_t row = 0; row < frameDamage.rows; ++row) {
    const uint64_t* now = frameDamage.next + row * cols;
    const uint64_t* was = frameDamage.shown + row * cols;
    const int32_t top = row * TILE_H, bottom = top + TILE_H > canvasH ? canvasH : top + TILE_H;
    int hereCount = 0;
    for (int32_t col = 0; col < cols; ++col) {
      if (now[col] == was[col]) continue;
      int32_t end = col;
      while (end < cols && now[end] != was[end]) ++end;
      changed += end - col;
      const int32_t left = col * TILE_W, right = end * TILE_W > canvasW ? canvasW : end * TILE_W;
      int found = -1;
      for (int i = 0; i < aboveCount && found < 0; ++i) {
        const PlatRect& p = frameDamage.parts[above[i]];
        if (p.left == left && p.right == right) found = above[i];
      }
      if (found < 0) {
        if (count == MAX_PARTS) return 0;
        found = count++;
        frameDamage.parts[found] = PlatRect{left, top, right, bottom};
      }
      frameDamage.parts[found].bottom = bottom;
      here[hereCount++] = found;
      col = end;
    }
    for (int i = 0; i < hereCount; ++i) above[i] = here[i];
    aboveCount = hereCount;
  }
  if (changed * 2 > cols * frameDamage.rows) return 0;
  if (count == 0) {
    // Nothing changed: one empty part, so that nothing is composed or compared.
    frameDamage.parts[0] = PlatRect{0, 0, 0, 0};
    return 1;
  }
  return count;
}

}  // namespace

void setDamageTracking(int on) {
  frameDamage.tracking = on != 0;
  frameDamage.whole = true;
}

void presentMissed() { frameDamage.whole = true; }

int reckonDamage(const PlatRect** parts) {
  *parts = nullptr;
  const int32_t w = screenMetrics.canvasW, h = screenMetrics.canvasH;
  const PlatSurface* back = backBuffer();
  if (!back || w <= 0 || h <= 0 || w > CANVAS_MAX_W || h > CANVAS_MAX_H) {
    frameDamage.whole = true;
    return 0;
  }
  const int32_t cols = (w + TILE_W - 1) / TILE_W, rows = (h + TILE_H - 1) / TILE_H;
  if (cols != frameDamage.cols || rows != frameDamage.rows) frameDamage.whole = true;
  frameDamage.cols = cols;
  frameDamage.rows = rows;
  hashQueues(w, h);
  const int count = frameDamage.whole || !frameDamage.tracking ? 0 : gatherParts(w, h);
  for (int32_t i = 0; i < cols * rows; ++i) frameDamage.shown[i] = frameDamage.next[i];
  frameDamage.whole = false;
  if (count > 0) *parts = frameDamage.parts;
  return count;
}
