// The picture back end without any library: no bitmap file can be decoded
// (a load fails cleanly, as for an unreadable file), texts draw nothing, and
// wide pens are stamped as squares along the line. Programs and tests that
// look at real bitmap or text pixels link the Qt Gui one instead.
#include <cstddef>
#include <cstdlib>
#include <string>

#include "platform/core/picture.h"
#include "platform/png.h"
#include "platform/surface.h"

int pictureStart(int, char**) { return 1; }

PlatSurface* platLoadBitmap(const char*) { return nullptr; }

void platPaintText(int, int, uint32_t, const char*) {}

int platEncodePng(const PlatSurface*, std::string*) { return 0; }

int platImageFileToPng(const char*, std::string*) { return 0; }

namespace {

// Beyond this range a line is not stepped at all, so that no coordinate can
// make a long loop.
constexpr int STAMP_LIMIT = 1 << 15;

void stamp(PlatSurface* s, int cx, int cy, int width, uint16_t v) {
  int lo = -(width / 2), hi = lo + width;
  for (int y = cy + lo; y < cy + hi; ++y) {
    if (y < 0 || y >= s->height) continue;
    for (int x = cx + lo; x < cx + hi; ++x)
      if (x >= 0 && x < s->width) s->pixels[static_cast<ptrdiff_t>(y) * s->pitch + x] = v;
  }
}

}  // namespace

void pictureWideLine(PlatSurface* s, int x0, int y0, int x1, int y1, int penWidth, uint32_t color) {
  auto inRange = [](int c) { return c > -STAMP_LIMIT && c < STAMP_LIMIT; };
  if (!s || !s->pixels || !inRange(x0) || !inRange(y0) || !inRange(x1) || !inRange(y1)) return;
  uint16_t v = platColorToRaw(color);
  int width = penWidth < 1 ? 1 : penWidth;
  int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  int x = x0, y = y0;
  while (x != x1 || y != y1) {  // the end point itself is left out
    stamp(s, x, y, width, v);
    int e2 = 2 * err;
    if (e2 >= dy) { err += dy; x += sx; }
    if (e2 <= dx) { err += dx; y += sy; }
  }
}

void pictureWideBox(PlatSurface* s, int left, int top, int right, int bottom, int penWidth, uint32_t color) {
  pictureWideLine(s, left, top, right, top, penWidth, color);
  pictureWideLine(s, right, top, right, bottom, penWidth, color);
  pictureWideLine(s, right, bottom, left, bottom, penWidth, color);
  pictureWideLine(s, left, bottom, left, top, penWidth, color);
}

void pictureEndSession() {}
