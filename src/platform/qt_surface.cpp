// [SECTION] RGB565 surfaces: creation, fill, copies (plain, keyed, stretched)
// [SECTION] Bitmap loading through QImage
// [SECTION] Painting: lines, boxes and text through QPainter on a QImage view
#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPen>
#include <QString>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>

#include "platform/files.h"
#include "platform/sjis.h"
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

}  // namespace

void platSurfaceCopy(PlatSurface* dst, int dx, int dy, const PlatSurface* src, int left, int top, int right,
                     int bottom) {
  CopySpan c;
  if (!clipCopy(dst, dx, dy, src, left, top, right, bottom, &c)) return;
  size_t bytes = static_cast<size_t>(c.w) * sizeof(uint16_t);
  for (int row = 0; row < c.h; ++row) {
    uint16_t* d = dst->pixels + static_cast<ptrdiff_t>(c.dstY + row) * dst->pitch + c.dstX;
    const uint16_t* s = src->pixels + static_cast<ptrdiff_t>(c.srcY + row) * src->pitch + c.srcX;
    std::memmove(d, s, bytes);  // a surface may be copied onto itself
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
  if (!dst || !src || !dst->pixels || !src->pixels || dst == src) return;
  int64_t dw = int64_t(dRight) - dLeft, dh = int64_t(dBottom) - dTop;
  int64_t sw = int64_t(sRight) - sLeft, sh = int64_t(sBottom) - sTop;
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  if (dw == sw && dh == sh) {
    if (keyed) platSurfaceCopyKeyed(dst, dLeft, dTop, src, sLeft, sTop, sRight, sBottom, key);
    else platSurfaceCopy(dst, dLeft, dTop, src, sLeft, sTop, sRight, sBottom);
    return;
  }
  int64_t x0 = std::max<int64_t>(dLeft, 0), x1 = std::min<int64_t>(dRight, dst->width);
  int64_t y0 = std::max<int64_t>(dTop, 0), y1 = std::min<int64_t>(dBottom, dst->height);
  if (x0 >= x1 || y0 >= y1) return;
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
// [SECTION] Bitmap loading
// ===========================================================================

namespace {

PlatSurface* surfaceFromImage(const QImage& decoded) {
  QImage img = decoded;
  // Raising the depth to 32 bits is exact (palette look-up or bit expansion),
  // so no dithering can happen; the reduction to 16 bits is done below by
  // plain truncation, so that a key colour matches exactly the pixels that
  // truncate to its raw value.
  if (img.format() != QImage::Format_RGB32 && img.format() != QImage::Format_ARGB32)
    img = img.convertToFormat(QImage::Format_ARGB32);
  if (img.isNull()) return nullptr;
  PlatSurface* s = platSurfaceCreate(img.width(), img.height());
  if (!s) return nullptr;
  for (int y = 0; y < s->height; ++y) {
    const QRgb* in = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    uint16_t* out = s->pixels + static_cast<ptrdiff_t>(y) * s->pitch;
    for (int x = 0; x < s->width; ++x) {
      QRgb c = in[x];
      out[x] = static_cast<uint16_t>(((qRed(c) >> 3) << 11) | ((qGreen(c) >> 2) << 5) | (qBlue(c) >> 3));
    }
  }
  return s;
}

// The largest bitmap file a surface can come from: 32 bits at the largest side,
// with room for the headers and a palette.
constexpr qint64 BITMAP_READ_LIMIT = qint64(PLAT_SURFACE_MAX_SIDE) * PLAT_SURFACE_MAX_SIDE * 4 + 65536;

PlatSurface* decodeImage(QImageReader& reader) {
  QSize size = reader.size();  // from the header, before any pixel memory is taken
  if (size.isValid() && (size.width() > PLAT_SURFACE_MAX_SIDE || size.height() > PLAT_SURFACE_MAX_SIDE))
    return nullptr;
  QImage img;
  if (!reader.read(&img) || img.isNull()) return nullptr;
  if (img.width() > PLAT_SURFACE_MAX_SIDE || img.height() > PLAT_SURFACE_MAX_SIDE) return nullptr;
  return surfaceFromImage(img);
}

PlatSurface* loadResourceImage(const QString& path) {
  QImageReader reader(path);
  return decodeImage(reader);
}

// A user's file goes through the program's own safe open (only a regular file,
// never waiting on a FIFO) and is read whole, up to its size when opened, before
// it is decoded from memory.
PlatSurface* loadUserImage(const char* nameSjis) {
  uint64_t size = 0;
  int fd = openUserFile(nameSjis, &size);
  if (fd < 0) return nullptr;
  QByteArray bytes;
  qint64 want = size < uint64_t(BITMAP_READ_LIMIT) ? qint64(size) : BITMAP_READ_LIMIT;
  bytes.resize(want);
  qint64 got = 0;
  while (got < want) {
    ssize_t n = ::read(fd, bytes.data() + got, size_t(want - got));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += n;
  }
  ::close(fd);
  bytes.truncate(got);
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::ReadOnly)) return nullptr;
  QImageReader reader(&buffer);
  return decodeImage(reader);
}

}  // namespace

PlatSurface* platLoadBitmap(const char* nameSjis) {
  if (!nameSjis || !nameSjis[0]) return nullptr;
  char utf8[1024];
  if (sjisToUtf8(nameSjis, utf8, sizeof utf8) <= 0) return nullptr;
  QString name = QString::fromUtf8(utf8);
  QString resource = QStringLiteral(":/") + name + QStringLiteral(".bmp");
  if (QFile::exists(resource)) {
    if (PlatSurface* s = loadResourceImage(resource)) return s;
  }
  return loadUserImage(nameSjis);
}

// ===========================================================================
// [SECTION] Painting
// ===========================================================================

namespace {

struct PaintState {
  PlatSurface* target = nullptr;
  // A QImage view of the target's own memory, kept while the target stays the
  // same buffer; the painter is opened lazily, once per session, only when an
  // item needs it (wide pens, lines too long to step, text once the glyph
  // table is full). Thin lines, boxes and text write the pixels directly.
  std::optional<QImage> image;
  const uint16_t* imagePixels = nullptr;
  int imageW = 0, imageH = 0, imagePitch = 0;
  std::optional<QPainter> painter;
  std::optional<QFont> font;
  int ascent = 0;
  bool fontSelected = false;  // the font is set on the open painter
};
PaintState paint;

inline QColor qColorOf(uint32_t gdi) { return QColor(int(gdi & 0xFF), int((gdi >> 8) & 0xFF), int((gdi >> 16) & 0xFF)); }

QPainter* painterForSession() {
  if (paint.painter) return &*paint.painter;
  PlatSurface* s = paint.target;
  if (!s) return nullptr;
  if (!paint.image || paint.imagePixels != s->pixels || paint.imageW != s->width || paint.imageH != s->height ||
      paint.imagePitch != s->pitch) {
    paint.image.emplace(reinterpret_cast<uchar*>(s->pixels), s->width, s->height,
                        static_cast<qsizetype>(s->pitch) * 2, QImage::Format_RGB16);
    paint.imagePixels = s->pixels;
    paint.imageW = s->width;
    paint.imageH = s->height;
    paint.imagePitch = s->pitch;
  }
  paint.painter.emplace();
  if (!paint.painter->begin(&*paint.image)) {
    paint.painter.reset();
    return nullptr;
  }
  paint.painter->setRenderHint(QPainter::Antialiasing, false);
  paint.painter->setRenderHint(QPainter::TextAntialiasing, false);
  paint.fontSelected = false;
  return &*paint.painter;
}

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
// QPainter, which clips them, so that no coordinate can make a long loop.
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

QPen penOf(int width, uint32_t color) {
  // Wide pens centre on the line with round ends and joins, like a geometric
  // solid pen; a width-1 pen that reaches QPainter is cosmetic with flat caps,
  // which leaves out the end point.
  if (width <= 1) return QPen(qColorOf(color), 0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
  return QPen(qColorOf(color), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

}  // namespace

void platPaintBegin(PlatSurface* surface) {
  platPaintEnd();
  paint.target = surface;
}

void platPaintEnd() {
  if (paint.painter) {
    paint.painter->end();
    paint.painter.reset();
  }
  paint.target = nullptr;
}

void platPaintLine(int x0, int y0, int x1, int y1, int penWidth, uint32_t color) {
  PlatSurface* s = paint.target;
  if (!s || !s->pixels) return;
  if (penWidth <= 1 && thinLine(s, x0, y0, x1, y1, platColorToRaw(color))) return;
  QPainter* p = painterForSession();
  if (!p) return;
  p->setPen(penOf(penWidth, color));
  // Pixel centres, so that a centred pen covers whole pixels on both sides.
  p->drawLine(QPointF(x0 + 0.5, y0 + 0.5), QPointF(x1 + 0.5, y1 + 0.5));
}

void platPaintBox(int left, int top, int right, int bottom, int penWidth, uint32_t color) {
  PlatSurface* s = paint.target;
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
  // directly, without opening a painter. Wider pens, which no frame draws,
  // go to QPainter.
  if (penWidth == 2) {
    thickBox2(s, l, t, r, b, v);
    return;
  }
  QPainter* p = painterForSession();
  if (!p) return;
  p->setPen(penOf(penWidth, color));
  const QPointF pts[5] = {{left + 0.5, top + 0.5}, {right + 0.5, top + 0.5}, {right + 0.5, bottom + 0.5},
                          {left + 0.5, bottom + 0.5}, {left + 0.5, top + 0.5}};
  p->drawPolyline(pts, 5);
}

namespace {

// UTF-8 to UTF-16 into a fixed store; the input is the output of the
// Shift_JIS conversion, so it is well formed and within the BMP.
int utf8ToUtf16(const char* in, char16_t* out, int outCap) {
  int n = 0;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(in);
  while (*p && n < outCap) {
    uint32_t c = *p++;
    if (c >= 0xF0) {
      c = ((c & 0x07) << 18) | ((p[0] & 0x3F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F);
      p += 3;
    } else if (c >= 0xE0) {
      c = ((c & 0x0F) << 12) | ((p[0] & 0x3F) << 6) | (p[1] & 0x3F);
      p += 2;
    } else if (c >= 0xC0) {
      c = ((c & 0x1F) << 6) | (p[0] & 0x3F);
      p += 1;
    }
    out[n++] = static_cast<char16_t>(c > 0xFFFF ? 0xFFFD : c);
  }
  return n;
}

struct Glyph;
const Glyph* glyphFor(char16_t code);

bool ensureFont() {
  if (paint.font) return true;
  // Fonts need the GUI application; without one no text is drawn.
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return false;
  QFont f;
  f.setFamilies({QString::fromUtf8("標準ゴシック"), QStringLiteral("IPAGothic")});
  f.setPixelSize(16);
  f.setBold(true);
  f.setStyleStrategy(QFont::NoAntialias);
  paint.font.emplace(f);
  paint.ascent = QFontMetrics(f).ascent();
  // Printable ASCII is rendered now, with the first text: the numbers and key
  // codes of the status and debug lines then never make a glyph (which
  // allocates) in a later frame.
  for (char16_t c = 0x20; c < 0x7F; ++c) glyphFor(c);
  return true;
}

}  // namespace

namespace {

// Glyph masks. Each character is rendered once with the text font (without
// antialiasing every pixel is either ink or not) into a 1-bit mask; texts
// are then put together from the masks. This keeps the text flush, two
// passes over up to 50 texts, to plain bit tests instead of a full text
// layout per string and pass.
constexpr int GLYPH_BOX = 32;  // mask side; the pen position sits at GLYPH_PAD
constexpr int GLYPH_PAD = 8;
constexpr int GLYPH_SLOTS = 2048;  // open addressing, far more than the texts use

struct Glyph {
  char16_t code;  // 0: free
  int16_t advance;
  uint32_t rows[GLYPH_BOX];  // bit x of rows[y]: ink at (pen - PAD + x, top - PAD + y)
};
Glyph glyphs[GLYPH_SLOTS];
int glyphsUsed = 0;

const Glyph* glyphFor(char16_t code) {
  unsigned h = (code * 2654435761u) >> 21;  // 11 bits
  for (int probe = 0; probe < GLYPH_SLOTS; ++probe) {
    Glyph& g = glyphs[(h + unsigned(probe)) & (GLYPH_SLOTS - 1)];
    if (g.code == code) return &g;
    if (g.code != 0) continue;
    if (glyphsUsed >= GLYPH_SLOTS * 3 / 4) return nullptr;
    // First use of this character: render it once.
    QImage cell(GLYPH_BOX, GLYPH_BOX, QImage::Format_RGB32);
    cell.fill(0);
    {
      QPainter p(&cell);
      p.setRenderHint(QPainter::TextAntialiasing, false);
      p.setFont(*paint.font);
      p.setPen(QColor(255, 255, 255));
      p.drawText(QPoint(GLYPH_PAD, GLYPH_PAD + paint.ascent), QString(QChar(code)));
    }
    for (int y = 0; y < GLYPH_BOX; ++y) {
      const QRgb* row = reinterpret_cast<const QRgb*>(cell.constScanLine(y));
      uint32_t bits = 0;
      for (int x = 0; x < GLYPH_BOX; ++x)
        if (qGreen(row[x]) >= 128) bits |= 1u << x;
      g.rows[y] = bits;
    }
    g.advance = static_cast<int16_t>(QFontMetrics(*paint.font).horizontalAdvance(QChar(code)));
    g.code = code;
    ++glyphsUsed;
    return &g;
  }
  return nullptr;
}

void putGlyph(PlatSurface* s, const Glyph& g, int64_t penX, int64_t top, uint16_t v) {
  for (int r = 0; r < GLYPH_BOX; ++r) {
    uint32_t bits = g.rows[r];
    int64_t y = top - GLYPH_PAD + r;
    if (!bits || y < 0 || y >= s->height) continue;
    uint16_t* row = s->pixels + y * s->pitch;
    while (bits) {
      int b = __builtin_ctz(bits);
      bits &= bits - 1;
      int64_t x = penX - GLYPH_PAD + b;
      if (x >= 0 && x < s->width) row[x] = v;
    }
  }
}

}  // namespace

void platPaintText(int x, int y, uint32_t color, const char* sjis) {
  PlatSurface* s = paint.target;
  if (!s || !s->pixels || !sjis || !sjis[0]) return;
  char utf8[512];
  if (sjisToUtf8(sjis, utf8, sizeof utf8) <= 0) return;
  char16_t wide[256];
  int n = utf8ToUtf16(utf8, wide, 256);
  if (n <= 0 || !ensureFont()) return;
  uint16_t v = platColorToRaw(color);
  int64_t pen = x;
  for (int i = 0; i < n; ++i) {
    const Glyph* g = glyphFor(wide[i]);
    if (!g) {
      // The mask table is full: the rest of the text goes through QPainter.
      QPainter* p = painterForSession();
      if (!p) return;
      if (!paint.fontSelected) {
        p->setFont(*paint.font);
        paint.fontSelected = true;
      }
      p->setPen(qColorOf(color));
      p->drawText(QPoint(int(pen), y + paint.ascent),
                  QString::fromRawData(reinterpret_cast<const QChar*>(wide + i), n - i));
      return;
    }
    putGlyph(s, *g, pen, y, v);
    pen += g->advance;
  }
}
