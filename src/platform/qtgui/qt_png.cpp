#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QString>

#include "platform/png.h"
#include "platform/sjis.h"

namespace {

int encode(const QImage& image, std::string* png) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) return 0;
  png->assign(bytes.constData(), static_cast<size_t>(bytes.size()));
  return 1;
}

}  // namespace

int platEncodePng(const PlatSurface* s, std::string* png) {
  if (!s || !s->pixels) return 0;
  // A view of the surface's own memory: no copy of the pixels.
  QImage view(reinterpret_cast<const uchar*>(s->pixels), s->width, s->height,
              static_cast<qsizetype>(s->pitch) * 2, QImage::Format_RGB16);
  return encode(view, png);
}

int platImageFileToPng(const char* path, std::string* png) {
  char utf8[4096];
  if (osPathOf(path, utf8, sizeof utf8) <= 0) return 0;
  QImageReader reader(QString::fromUtf8(utf8));
  QSize size = reader.size();
  if (size.isValid() && (size.width() > PLAT_SURFACE_MAX_SIDE || size.height() > PLAT_SURFACE_MAX_SIDE)) return 0;
  QImage image;
  if (!reader.read(&image) || image.isNull()) return 0;
  return encode(image, png);
}
