// [SECTION] Bitmap loading through QImage
// [SECTION] Painting: wide pens and text through QPainter on a QImage view
//
// The picture back end on Qt Gui: no window, no widgets. The editor, bctool
// and the tests that look at real bitmap and text pixels link it.
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

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "platform/core/picture.h"
#include "platform/files.h"
#include "platform/sjis.h"
#include "platform/surface.h"

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
PlatSurface* loadUserImage(const char* name) {
  uint64_t size = 0;
  int fd = openUserFile(name, &size);
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
  // A bitmap whose pixels would start past its end is broken: refused here
  // rather than handed to the decoder, which would warn on the terminal.
  if (got >= 2 && bytes[0] == 'B' && bytes[1] == 'M' &&
      !bitmapHeadWhole(reinterpret_cast<const uint8_t*>(bytes.constData()), uint64_t(got), uint64_t(got)))
    return nullptr;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::ReadOnly)) return nullptr;
  QImageReader reader(&buffer);
  return decodeImage(reader);
}

}  // namespace

PlatSurface* platLoadBitmap(const char* given) {
  if (!given || !given[0]) return nullptr;
  char utf8[4096];
  if (osPathOf(given, utf8, sizeof utf8) <= 0) return nullptr;
  const QString name = QString::fromUtf8(utf8);
  QString resource = QStringLiteral(":/") + name + QStringLiteral(".bmp");
  if (QFile::exists(resource)) {
    if (PlatSurface* s = loadResourceImage(resource)) return s;
  }
  return loadUserImage(given);
}

// ===========================================================================
// [SECTION] Painting
// ===========================================================================

namespace {

struct PaintState {
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
  PlatSurface* s = platPaintTarget();
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

QPen penOf(int width, uint32_t color) {
  // Wide pens centre on the line with round ends and joins, like a geometric
  // solid pen; a width-1 pen that reaches QPainter is cosmetic with flat caps,
  // which leaves out the end point.
  if (width <= 1) return QPen(qColorOf(color), 0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
  return QPen(qColorOf(color), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

}  // namespace

namespace {
void quietToolkit(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtFatalMsg) std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}
}  // namespace

int pictureStart(int argc, char** argv) {
  if (QCoreApplication::instance()) return 1;
  // The window back end made none (the headless one): the application object
  // that fonts need, without widgets. Such a program (bctool) reports in its
  // own words: the toolkit's warnings do not reach its user's terminal.
  qInstallMessageHandler(quietToolkit);
  new QGuiApplication(platAppArgc(), platAppArgv(argc, argv));
  return 1;
}

void pictureEndSession() {
  if (paint.painter) {
    paint.painter->end();
    paint.painter.reset();
  }
}

void pictureWideLine(PlatSurface*, int x0, int y0, int x1, int y1, int penWidth, uint32_t color) {
  QPainter* p = painterForSession();
  if (!p) return;
  p->setPen(penOf(penWidth, color));
  // Pixel centres, so that a centred pen covers whole pixels on both sides.
  p->drawLine(QPointF(x0 + 0.5, y0 + 0.5), QPointF(x1 + 0.5, y1 + 0.5));
}

void pictureWideBox(PlatSurface*, int left, int top, int right, int bottom, int penWidth, uint32_t color) {
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
  // Fonts need the GUI application (platformInit); without one no text is drawn.
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
  PlatSurface* s = platPaintTarget();
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
