// RGB565 pixel surfaces and the painting on them: the stand-in for the
// display's off-screen surfaces, its copies and a device context.
//
// Surfaces are created only at load time (bitmaps, the back buffer), never
// per frame. Every copy clips itself to both surfaces: any rectangle may be
// handed in, nothing outside either buffer is read or written, and an empty
// or inverted rectangle copies nothing.
#pragma once

#include <cstdint>

struct PlatSurface {
  uint16_t* pixels;  // RGB565
  int width, height;
  int pitch;  // in pixels
};

// Limit on each side of a surface; bigger bitmaps are refused.
constexpr int PLAT_SURFACE_MAX_SIDE = 16384;

// A zero-filled surface, or null when the size is out of range or memory is
// short.
PlatSurface* platSurfaceCreate(int width, int height);
void platSurfaceDestroy(PlatSurface* surface);  // null is fine

void platSurfaceFill(PlatSurface* surface, uint16_t raw);

// Unstretched copy of the source rectangle (left, top, right, bottom; right
// and bottom exclusive) to (dx, dy).
void platSurfaceCopy(PlatSurface* dst, int dx, int dy, const PlatSurface* src, int left, int top, int right,
                     int bottom);
// Same, leaving the destination unchanged where the source pixel equals key.
void platSurfaceCopyKeyed(PlatSurface* dst, int dx, int dy, const PlatSurface* src, int left, int top, int right,
                          int bottom, uint16_t key);
// Nearest-neighbour stretch of the source rectangle onto the destination
// rectangle; keyed != 0 skips source pixels equal to key.
void platSurfaceStretch(PlatSurface* dst, int dLeft, int dTop, int dRight, int dBottom, const PlatSurface* src,
                        int sLeft, int sTop, int sRight, int sBottom, int keyed, uint16_t key);
// Same, writing only the pixels inside the clip rectangle (cLeft, cTop,
// cRight, cBottom): a scaled picture cut at a window's edge keeps the pixel
// grid it has as a whole.
void platSurfaceStretchClipped(PlatSurface* dst, int dLeft, int dTop, int dRight, int dBottom, int cLeft, int cTop,
                               int cRight, int cBottom, const PlatSurface* src, int sLeft, int sTop, int sRight,
                               int sBottom, int keyed, uint16_t key);

// GDI colour 0x00BBGGRR to RGB565 by truncating each channel (no dithering),
// the same conversion the bitmap loader applies to every pixel.
inline uint16_t platColorToRaw(uint32_t gdiColor) {
  uint32_t r = gdiColor & 0xFFu, g = (gdiColor >> 8) & 0xFFu, b = (gdiColor >> 16) & 0xFFu;
  return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

// Loads a bitmap by name: the program resource ":/NAME.bmp" first, otherwise
// the file at the UTF-8 path. Any depth the Qt Gui picture back end
// decodes; converted to RGB565 by truncation. Null on failure (missing,
// unreadable, absurd size), and always with the picture back end that
// decodes nothing.
PlatSurface* platLoadBitmap(const char* name);

// Whether the first bytes of a file of `fileSize` bytes (at least 14 of them
// given in `head`) can begin a BMP file at all: the "BM" signature and pixel
// data that starts inside the file. A file failing this is broken, whatever a
// decoder would make of it.
inline bool bitmapHeadWhole(const uint8_t* head, uint64_t given, uint64_t fileSize) {
  if (given < 14 || head[0] != 'B' || head[1] != 'M') return false;
  const uint32_t dataAt = uint32_t(head[10]) | uint32_t(head[11]) << 8 | uint32_t(head[12]) << 16 | uint32_t(head[13]) << 24;
  return dataAt >= 14 && dataAt < fileSize;
}

// ---------------------------------------------------------------------------
// Painting: one session per flush over one surface. Lines follow the Windows
// rule (the end point is not drawn), pens wider than 1 centre on the line,
// nothing is antialiased. Colours are GDI colours.
void platPaintBegin(PlatSurface* surface);
void platPaintEnd();
void platPaintLine(int x0, int y0, int x1, int y1, int penWidth, uint32_t color);
// The closed outline through (l,t), (r,t), (r,b), (l,b), (l,t), right and
// bottom edges included.
void platPaintBox(int left, int top, int right, int bottom, int penWidth, uint32_t color);
// Shift_JIS text with the top-left of its cell at (x, y): bold 16-pixel
// Gothic, transparent background. Text that is not valid Shift_JIS is not
// drawn; the picture back end without a font draws none.
void platPaintText(int x, int y, uint32_t color, const char* sjis);
