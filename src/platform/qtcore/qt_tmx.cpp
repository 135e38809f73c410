// [SECTION] Numbers: attributes and comma-separated lists
// [SECTION] Layer data: CSV, base64, zlib and gzip
// [SECTION] Reader
// [SECTION] Writer
#include "platform/tmx_xml.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <zlib.h>

#include <charconv>
#include <cstring>

namespace {

// Pixel sizes above this are no chip sheet's (a bitmap side is at most 16384).
constexpr int TMX_MAX_PIXELS = 16384;
// Groups nest no deeper than this; deeper files are refused, not recursed into.
constexpr int TMX_MAX_GROUP_DEPTH = 32;

// ===========================================================================
// [SECTION] Numbers
// ===========================================================================

// A whole decimal attribute within [lo, hi]. Absent: `fallback` when one is
// allowed (`required` false), else a failure.
bool intAttr(const QXmlStreamAttributes& attrs, const char* name, bool required, int fallback, int lo, int hi,
             int* out) {
  QStringView v = attrs.value(QLatin1String(name));
  if (v.isNull()) {
    *out = fallback;
    return !required;
  }
  bool ok = false;
  qlonglong n = v.trimmed().toLongLong(&ok);
  if (!ok || n < lo || n > hi) return false;
  *out = static_cast<int>(n);
  return true;
}

// A comma-separated list of whole numbers, as Tiled writes layer data and as
// the attributes are written: white space anywhere between, exactly one comma
// between two numbers, one trailing comma tolerated. Empty fields are refused
// rather than skipped, so that no cell can shift into its neighbour's place.
bool parseNumberList(QStringView text, bool allowSign, int64_t lo, int64_t hi, size_t limit,
                     std::vector<int64_t>* out, std::string* why) {
  out->clear();
  bool wantNumber = true;
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n;) {
    QChar ch = text[i];
    if (ch.isSpace()) {
      ++i;
      continue;
    }
    if (ch == u',') {
      if (wantNumber) {
        *why = "a comma-separated list has an empty field";
        return false;
      }
      wantNumber = true;
      ++i;
      continue;
    }
    if (!wantNumber) {
      *why = "a comma-separated list has two numbers without a comma between them";
      return false;
    }
    bool negative = false;
    if (allowSign && (ch == u'-' || ch == u'+')) {
      negative = ch == u'-';
      ++i;
    }
    int64_t v = 0;
    qsizetype start = i;
    while (i < n && text[i] >= u'0' && text[i] <= u'9') {
      v = v * 10 + (text[i].unicode() - u'0');
      if (v > (int64_t(1) << 40)) break;  // far past any 32-bit value
      ++i;
    }
    if (i == start) {
      *why = "a comma-separated list holds a character that is not part of a number";
      return false;
    }
    if (negative) v = -v;
    if (v < lo || v > hi) {
      *why = "a comma-separated list holds a number out of range: " + std::to_string(v);
      return false;
    }
    if (out->size() >= limit) {
      *why = "a comma-separated list holds more numbers than the map has cells";
      return false;
    }
    out->push_back(v);
    wantNumber = false;
  }
  return true;
}

// ===========================================================================
// [SECTION] Layer data
// ===========================================================================

// Inflates a zlib or gzip stream into exactly `expected` bytes.
bool inflateExactly(const QByteArray& in, bool gzip, size_t expected, std::string* outBytes, std::string* why) {
  outBytes->assign(expected + 1, '\0');  // one spare byte tells "too long" from "just right"
  z_stream zs;
  std::memset(&zs, 0, sizeof zs);
  if (inflateInit2(&zs, gzip ? 16 + MAX_WBITS : MAX_WBITS) != Z_OK) {
    *why = "the decompressor could not start";
    return false;
  }
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
  zs.avail_in = static_cast<uInt>(in.size());
  zs.next_out = reinterpret_cast<Bytef*>(outBytes->data());
  zs.avail_out = static_cast<uInt>(outBytes->size());
  int rc = inflate(&zs, Z_FINISH);
  size_t got = zs.total_out;
  inflateEnd(&zs);
  if (rc != Z_STREAM_END) {
    if (rc == Z_BUF_ERROR && zs.avail_out == 0) {
      *why = "the compressed layer data holds more tiles than the layer has cells";
    } else {
      *why = std::string("the compressed layer data is damaged or cut short (") + (gzip ? "gzip" : "zlib") + ")";
    }
    return false;
  }
  if (got != expected) {
    *why = "the compressed layer data holds " + std::to_string(got / 4) + " tiles for " +
           std::to_string(expected / 4) + " cells";
    return false;
  }
  outBytes->resize(expected);
  return true;
}

// ===========================================================================
// [SECTION] Reader
// ===========================================================================

class Reader {
 public:
  Reader(const char* data, size_t len, TmxMap* map, TmxTilesetLoader loader, void* ctx, std::string* why)
      : map_(map), loader_(loader), ctx_(ctx), why_(why) {
    xml_.addData(QByteArray::fromRawData(data, static_cast<qsizetype>(len)));
  }

  bool readMapDocument() {
    if (!enterRoot("map")) return false;
    QXmlStreamAttributes a = xml_.attributes();
    QStringView orientation = a.value(QLatin1String("orientation"));
    if (!orientation.isNull() && orientation != u"orthogonal")
      return fail("the map is " + orientation.toString().toStdString() + "; only orthogonal maps have bct cells");
    QStringView infinite = a.value(QLatin1String("infinite"));
    if (!infinite.isNull() && infinite != u"0") return fail("the map is infinite; a bct map has a fixed size");
    if (!intAttr(a, "width", true, 0, 0, INT32_MAX, &map_->width) ||
        !intAttr(a, "height", true, 0, 0, INT32_MAX, &map_->height))
      return fail("the map has no valid width and height");
    if (map_->width > TMX_MAX_CELLS || map_->height > TMX_MAX_CELLS)
      return fail("the map is " + std::to_string(map_->width) + " x " + std::to_string(map_->height) +
                  " cells; a bct map holds at most 256 x 256");
    if (!intAttr(a, "tilewidth", true, 0, 1, TMX_MAX_PIXELS, &map_->tileWidth) ||
        !intAttr(a, "tileheight", true, 0, 1, TMX_MAX_PIXELS, &map_->tileHeight))
      return fail("the map has no valid tilewidth and tileheight (1 to 16384 pixels)");
    if (!readMapChildren(0)) return false;
    if (xml_.hasError()) return xmlFail();
    if (tilesets_ == 0) return fail("the map has no tileset");
    if (layers_ == 0) return fail("the map has no tile layer");
    return true;
  }

 private:
  bool fail(const std::string& why) {
    if (why_->empty()) *why_ = why;
    return false;
  }

  bool xmlFail() {
    return fail("malformed XML at line " + std::to_string(xml_.lineNumber()) + ": " +
                xml_.errorString().toStdString());
  }

  bool enterRoot(const char* name) {
    while (!xml_.atEnd() && !xml_.isStartElement()) xml_.readNext();
    if (xml_.hasError() || !xml_.isStartElement()) {
      if (xml_.hasError()) return xmlFail();
      return fail("the file holds no XML element");
    }
    if (xml_.name() != QLatin1String(name))
      return fail("the document is a <" + xml_.name().toString().toStdString() + ">, not a <" + name + ">");
    return true;
  }

  // The children of <map> or of a <group>.
  bool readMapChildren(int depth) {
    if (depth > TMX_MAX_GROUP_DEPTH) return fail("layer groups nest too deeply");
    while (xml_.readNextStartElement()) {
      QStringView name = xml_.name();
      if (name == u"tileset") {
        if (++tilesets_ > 1) return fail("the map uses several tilesets; a bct map has one chip sheet");
        if (!readMapTileset()) return false;
      } else if (name == u"layer") {
        if (++layers_ > 1) return fail("the map has several tile layers; a bct map has one");
        if (!readLayer()) return false;
      } else if (name == u"group") {
        if (!readMapChildren(depth + 1)) return false;
      } else {
        if (name == u"objectgroup" || name == u"imagelayer")
          map_->ignored.push_back(name.toString().toStdString() + " \"" +
                                  xml_.attributes().value(QLatin1String("name")).toString().toStdString() + "\"");
        xml_.skipCurrentElement();
      }
    }
    return !xml_.hasError() || xmlFail();
  }

  bool readMapTileset() {
    TmxTileset& ts = map_->tileset;
    QXmlStreamAttributes a = xml_.attributes();
    if (!intAttr(a, "firstgid", true, 1, 1, INT32_MAX, &ts.firstGid)) return fail("the tileset has no valid firstgid");
    QStringView source = a.value(QLatin1String("source"));
    if (source.isNull()) return readTilesetBody();
    ts.sourceFile = source.toString().toStdString();
    xml_.skipCurrentElement();
    if (!loader_) return fail("the tileset is in a file of its own, which cannot be read here");
    std::string bytes;
    if (!loader_(ctx_, ts.sourceFile, &bytes)) return fail("cannot read the tileset file " + ts.sourceFile);
    Reader tsx(bytes.data(), bytes.size(), map_, nullptr, nullptr, why_);
    if (!tsx.enterRoot("tileset")) return false;
    return tsx.readTilesetBody() && (!tsx.xml_.hasError() || tsx.xmlFail());
  }

  // Attributes and children of a <tileset> element, embedded or external.
  bool readTilesetBody() {
    TmxTileset& ts = map_->tileset;
    QXmlStreamAttributes a = xml_.attributes();
    ts.name = a.value(QLatin1String("name")).toString().toStdString();
    if (!intAttr(a, "tilewidth", true, 0, 1, TMX_MAX_PIXELS, &ts.tileWidth) ||
        !intAttr(a, "tileheight", true, 0, 1, TMX_MAX_PIXELS, &ts.tileHeight))
      return fail("the tileset has no valid tilewidth and tileheight (1 to 16384 pixels)");
    if (!intAttr(a, "tilecount", false, -1, 0, INT32_MAX, &ts.tileCount) ||
        !intAttr(a, "columns", false, -1, 0, INT32_MAX, &ts.columns) ||
        !intAttr(a, "margin", false, 0, 0, TMX_MAX_PIXELS, &ts.margin) ||
        !intAttr(a, "spacing", false, 0, 0, TMX_MAX_PIXELS, &ts.spacing))
      return fail("the tileset has an invalid tilecount, columns, margin or spacing");
    while (xml_.readNextStartElement()) {
      if (xml_.name() == u"image") {
        QXmlStreamAttributes ia = xml_.attributes();
        ts.imageSource = ia.value(QLatin1String("source")).toString().toStdString();
        if (!intAttr(ia, "width", false, -1, 0, INT32_MAX, &ts.imageWidth) ||
            !intAttr(ia, "height", false, -1, 0, INT32_MAX, &ts.imageHeight))
          return fail("the tileset image has an invalid width or height");
      }
      xml_.skipCurrentElement();  // a <tile> with an image of its own is not a chip of the sheet
    }
    if (xml_.hasError()) return xmlFail();
    if (ts.imageSource.empty())
      return fail("the tileset has no single image; a collection of images is no chip sheet");
    return true;
  }

  bool readLayer() {
    QXmlStreamAttributes a = xml_.attributes();
    map_->layerName = a.value(QLatin1String("name")).toString().toStdString();
    int w = 0, h = 0;
    if (!intAttr(a, "width", false, map_->width, 0, INT32_MAX, &w) ||
        !intAttr(a, "height", false, map_->height, 0, INT32_MAX, &h) || w != map_->width || h != map_->height)
      return fail("the tile layer's size is not the map's size");
    bool data = false;
    while (xml_.readNextStartElement()) {
      if (xml_.name() == u"properties") {
        if (!readLayerProperties()) return false;
      } else if (xml_.name() == u"data") {
        if (data) return fail("the tile layer has two <data> elements");
        data = true;
        if (!readData()) return false;
      } else {
        xml_.skipCurrentElement();
      }
    }
    if (xml_.hasError()) return xmlFail();
    if (!data) return fail("the tile layer has no <data>");
    return true;
  }

  bool readLayerProperties() {
    while (xml_.readNextStartElement()) {
      if (xml_.name() != u"property" || xml_.attributes().value(QLatin1String("name")) != u"attributes") {
        xml_.skipCurrentElement();
        continue;
      }
      // Tiled keeps a one-line value in the attribute and a multi-line one as
      // the element's text.
      QString value = xml_.attributes().value(QLatin1String("value")).toString();
      bool inAttribute = xml_.attributes().hasAttribute(QLatin1String("value"));
      QString text = xml_.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
      if (xml_.hasError()) return xmlFail();
      if (!inAttribute) value = text;
      std::vector<int64_t> numbers;
      std::string why;
      size_t cells = static_cast<size_t>(map_->width) * static_cast<size_t>(map_->height);
      if (!parseNumberList(value, true, INT32_MIN, INT32_MAX, cells, &numbers, &why))
        return fail("the layer's attributes property: " + why);
      if (numbers.size() != cells)
        return fail("the layer's attributes property holds " + std::to_string(numbers.size()) + " values for " +
                    std::to_string(cells) + " cells");
      map_->hasAttributes = true;
      map_->attributes.assign(numbers.begin(), numbers.end());
    }
    return !xml_.hasError() || xmlFail();
  }

  bool readData() {
    QXmlStreamAttributes a = xml_.attributes();
    QString encoding = a.value(QLatin1String("encoding")).toString();
    QString compression = a.value(QLatin1String("compression")).toString();
    const size_t cells = static_cast<size_t>(map_->width) * static_cast<size_t>(map_->height);
    std::vector<uint32_t>& gids = map_->gids;
    gids.clear();
    gids.reserve(cells);
    if (encoding.isEmpty()) {
      if (!compression.isEmpty()) return fail("the layer data is compressed but not base64-encoded");
      // The oldest form: one <tile gid="..."/> per cell.
      while (xml_.readNextStartElement()) {
        if (xml_.name() == u"chunk") return fail("the layer data comes in chunks, as in an infinite map");
        if (xml_.name() == u"tile") {
          int64_t gid = 0;
          QStringView v = xml_.attributes().value(QLatin1String("gid"));
          if (!v.isNull()) {
            bool ok = false;
            gid = v.toLongLong(&ok);
            if (!ok || gid < 0 || gid > UINT32_MAX) return fail("a <tile> has an invalid gid");
          }
          if (gids.size() >= cells) return fail("the layer data holds more tiles than the layer has cells");
          gids.push_back(static_cast<uint32_t>(gid));
        }
        xml_.skipCurrentElement();
      }
      if (xml_.hasError()) return xmlFail();
    } else {
      QString text = xml_.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
      if (xml_.hasError()) {
        if (xml_.name() == u"chunk") return fail("the layer data comes in chunks, as in an infinite map");
        return xmlFail();
      }
      if (encoding == u"csv") {
        if (!compression.isEmpty()) return fail("the CSV layer data names a compression");
        std::vector<int64_t> numbers;
        std::string why;
        if (!parseNumberList(text, false, 0, UINT32_MAX, cells, &numbers, &why))
          return fail("the CSV layer data: " + why);
        gids.assign(numbers.begin(), numbers.end());
      } else if (encoding == u"base64") {
        if (!readBase64(text, compression, cells)) return false;
      } else {
        return fail("the layer data has an unknown encoding \"" + encoding.toStdString() + "\"");
      }
    }
    if (gids.size() != cells)
      return fail("the layer data holds " + std::to_string(gids.size()) + " tiles for " + std::to_string(cells) +
                  " cells");
    return true;
  }

  bool readBase64(const QString& text, const QString& compression, size_t cells) {
    QByteArray packed;
    packed.reserve(text.size());
    for (QChar ch : text) {
      if (ch.isSpace()) continue;
      if (ch.unicode() > 0x7F) return fail("the base64 layer data holds a character that is not base64");
      packed.append(static_cast<char>(ch.unicode()));
    }
    auto decoded = QByteArray::fromBase64Encoding(packed, QByteArray::AbortOnBase64DecodingErrors);
    if (decoded.decodingStatus != QByteArray::Base64DecodingStatus::Ok)
      return fail("the base64 layer data is not valid base64");
    std::string bytes;
    std::string why;
    if (compression.isEmpty()) {
      if (static_cast<size_t>(decoded.decoded.size()) != cells * 4)
        return fail("the layer data holds " + std::to_string(decoded.decoded.size() / 4) + " tiles for " +
                    std::to_string(cells) + " cells");
      bytes.assign(decoded.decoded.constData(), static_cast<size_t>(decoded.decoded.size()));
    } else if (compression == u"zlib" || compression == u"gzip") {
      if (!inflateExactly(decoded.decoded, compression == u"gzip", cells * 4, &bytes, &why)) return fail(why);
    } else {
      return fail("the layer data is compressed with \"" + compression.toStdString() +
                  "\"; zlib and gzip are understood");
    }
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data());
    for (size_t i = 0; i < cells; ++i, p += 4)
      map_->gids.push_back(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
    return true;
  }

  QXmlStreamReader xml_;
  TmxMap* map_;
  TmxTilesetLoader loader_;
  void* ctx_;
  std::string* why_;
  int tilesets_ = 0;
  int layers_ = 0;
};

// ===========================================================================
// [SECTION] Writer
// ===========================================================================

// Rows of comma-separated numbers, one row per line, every row but the last
// ending in a comma, as Tiled writes its CSV layer data.
template <typename T>
QString numberRows(const std::vector<T>& values, int width, int height) {
  std::string out;
  out.reserve(values.size() * 6 + 2);
  char digits[24];
  for (int r = 0; r < height; ++r) {
    for (int c = 0; c < width; ++c) {
      auto res = std::to_chars(digits, digits + sizeof digits, values[static_cast<size_t>(r) * width + c]);
      out.append(digits, res.ptr);
      if (c + 1 < width || r + 1 < height) out.push_back(',');
    }
    if (r + 1 < height) out.push_back('\n');
  }
  return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

void writeIntAttr(QXmlStreamWriter& w, const char* name, int64_t v) {
  w.writeAttribute(QLatin1String(name), QString::number(v));
}

}  // namespace

int tmxParse(const char* data, size_t len, TmxMap* map, TmxTilesetLoader loader, void* loaderCtx,
             std::string* why) {
  *map = TmxMap{};
  why->clear();
  if (len == 0) {
    *why = "the file is empty";
    return 0;
  }
  Reader reader(data, len, map, loader, loaderCtx, why);
  if (reader.readMapDocument()) return 1;
  if (why->empty()) *why = "the file is not a TMX map";
  // The reason quotes the file (names, Qt's own message about it): keep it
  // one line of readable length whatever the file holds.
  for (char& ch : *why)
    if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F) ch = ' ';
  if (why->size() > 300) *why = why->substr(0, 297) + "...";
  return 0;
}

std::string tmxWrite(const TmxMap& m) {
  QByteArray out;
  QXmlStreamWriter w(&out);
  w.setAutoFormatting(true);
  w.setAutoFormattingIndent(1);
  w.writeStartDocument();
  w.writeStartElement(QStringLiteral("map"));
  w.writeAttribute(QStringLiteral("version"), QStringLiteral("1.8"));
  w.writeAttribute(QStringLiteral("orientation"), QStringLiteral("orthogonal"));
  w.writeAttribute(QStringLiteral("renderorder"), QStringLiteral("right-down"));
  writeIntAttr(w, "width", m.width);
  writeIntAttr(w, "height", m.height);
  writeIntAttr(w, "tilewidth", m.tileWidth);
  writeIntAttr(w, "tileheight", m.tileHeight);
  writeIntAttr(w, "infinite", 0);
  writeIntAttr(w, "nextlayerid", 2);
  writeIntAttr(w, "nextobjectid", 1);

  const TmxTileset& ts = m.tileset;
  w.writeStartElement(QStringLiteral("tileset"));
  writeIntAttr(w, "firstgid", ts.firstGid);
  w.writeAttribute(QStringLiteral("name"), QString::fromStdString(ts.name));
  writeIntAttr(w, "tilewidth", ts.tileWidth);
  writeIntAttr(w, "tileheight", ts.tileHeight);
  if (ts.spacing) writeIntAttr(w, "spacing", ts.spacing);
  if (ts.margin) writeIntAttr(w, "margin", ts.margin);
  if (ts.tileCount >= 0) writeIntAttr(w, "tilecount", ts.tileCount);
  if (ts.columns >= 0) writeIntAttr(w, "columns", ts.columns);
  w.writeEmptyElement(QStringLiteral("image"));
  w.writeAttribute(QStringLiteral("source"), QString::fromStdString(ts.imageSource));
  if (ts.imageWidth >= 0) writeIntAttr(w, "width", ts.imageWidth);
  if (ts.imageHeight >= 0) writeIntAttr(w, "height", ts.imageHeight);
  w.writeEndElement();  // tileset

  w.writeStartElement(QStringLiteral("layer"));
  writeIntAttr(w, "id", 1);
  w.writeAttribute(QStringLiteral("name"), QString::fromStdString(m.layerName));
  writeIntAttr(w, "width", m.width);
  writeIntAttr(w, "height", m.height);
  if (m.hasAttributes) {
    w.writeStartElement(QStringLiteral("properties"));
    w.writeStartElement(QStringLiteral("property"));
    w.writeAttribute(QStringLiteral("name"), QStringLiteral("attributes"));
    w.writeCharacters(numberRows(m.attributes, m.width, m.height));
    w.writeEndElement();
    w.writeEndElement();
  }
  w.writeStartElement(QStringLiteral("data"));
  w.writeAttribute(QStringLiteral("encoding"), QStringLiteral("csv"));
  w.writeCharacters(QLatin1Char('\n') + numberRows(m.gids, m.width, m.height) + QLatin1Char('\n'));
  w.writeEndElement();  // data
  w.writeEndElement();  // layer
  w.writeEndElement();  // map
  w.writeEndDocument();
  return std::string(out.constData(), static_cast<size_t>(out.size()));
}
