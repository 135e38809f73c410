// The TMX bridge: refusals and cell reports in process, then the built bctool
// judged by the peer editor's own programs (tmxrasterizer and tiled
// --export-map).
#include <gtest/gtest.h>

#include "file_test_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QImage>
#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "map/map.h"
#include "map/mapfile.h"
#include "map/tmxfile.h"
#include "platform/tmx_xml.h"

namespace fs = std::filesystem;

namespace {

void spit(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary);
  out << bytes;
}

struct Notes {
  std::vector<std::string> lines;
  TmxNotes sink() {
    return TmxNotes{[](void* ctx, const std::string& t) { static_cast<Notes*>(ctx)->lines.push_back(t); }, this};
  }
};

// A map document in the form Tiled saves, over chips.bmp (256 x 256) cut into
// 16 x 16 tiles; `data` is the whole <data> element, `extra` goes before the
// layer.
std::string tmxDoc(int w, int h, const std::string& data, const std::string& extra = "",
                   const std::string& mapAttrs = "") {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<map version=\"1.8\" tiledversion=\"1.8.2\" orientation=\"orthogonal\" renderorder=\"right-down\" "
         "width=\"" + std::to_string(w) + "\" height=\"" + std::to_string(h) +
         "\" tilewidth=\"16\" tileheight=\"16\" infinite=\"0\" nextlayerid=\"2\" nextobjectid=\"1\"" + mapAttrs +
         ">\n <tileset firstgid=\"1\" name=\"chips\" tilewidth=\"16\" tileheight=\"16\" tilecount=\"256\" "
         "columns=\"16\">\n  <image source=\"chips.bmp\" width=\"256\" height=\"256\"/>\n </tileset>\n" + extra +
         " <layer id=\"1\" name=\"chips\" width=\"" + std::to_string(w) + "\" height=\"" + std::to_string(h) +
         "\">\n  " + data + "\n </layer>\n</map>\n";
}

std::string csvData(const std::vector<uint32_t>& gids) {
  std::string s = "<data encoding=\"csv\">\n";
  for (size_t i = 0; i < gids.size(); ++i) s += std::to_string(gids[i]) + (i + 1 < gids.size() ? "," : "\n");
  return s + "</data>";
}

std::string packedGids(const std::vector<uint32_t>& gids) {
  std::string raw;
  for (uint32_t g : gids)
    for (int k = 0; k < 4; ++k) raw += static_cast<char>((g >> (8 * k)) & 0xFF);
  return raw;
}

// zlib or gzip stream of the bytes.
std::string deflated(const std::string& raw, bool gzip) {
  z_stream zs{};
  deflateInit2(&zs, Z_DEFAULT_COMPRESSION, Z_DEFLATED, gzip ? 16 + MAX_WBITS : MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&zs, raw.size()) + 32, '\0');
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(raw.data()));
  zs.avail_in = static_cast<uInt>(raw.size());
  zs.next_out = reinterpret_cast<Bytef*>(out.data());
  zs.avail_out = static_cast<uInt>(out.size());
  deflate(&zs, Z_FINISH);
  out.resize(zs.total_out);
  deflateEnd(&zs);
  return out;
}

std::string base64Data(const std::string& bytes, const std::string& compression) {
  std::string b64 = QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())).toBase64().toStdString();
  return "<data encoding=\"base64\"" + (compression.empty() ? "" : " compression=\"" + compression + "\"") +
         ">\n   " + b64 + "\n  </data>";
}

int parseInto(const std::string& doc, TmxMap* m, std::string* why) {
  return tmxParse(doc.data(), doc.size(), m, nullptr, nullptr, why);
}

class TmxFile : public ::testing::Test {
 protected:
  void SetUp() override { resetMapModel(); }
};

}  // namespace

TEST_F(TmxFile, RefusesWhatABctMapCannotHoldWithAReason) {
  std::vector<uint32_t> four = {1, 2, 17, 256};
  const std::string packed = packedGids(four);
  std::string zlibData = deflated(packed, false);
  struct Case {
    std::string doc, reasonPart;
  } cases[] = {
      {tmxDoc(2, 2, csvData({1, 2, 3, 0x80000001u})), "flipped"},
      {tmxDoc(2, 2, csvData({1, 2, 3, 0x20000004u})), "flipped"},
      {tmxDoc(2, 2, csvData(four), "", " infinite=\"1\""), "infinite"},
      {tmxDoc(257, 1, csvData(std::vector<uint32_t>(257, 1))), "256 x 256"},
      {tmxDoc(2, 2, csvData(four),
              " <tileset firstgid=\"257\" name=\"b\" tilewidth=\"16\" tileheight=\"16\">\n"
              "  <image source=\"b.png\" width=\"16\" height=\"16\"/>\n </tileset>\n"),
       "several tilesets"},
      {tmxDoc(2, 2, csvData(four), " <layer id=\"2\" name=\"x\" width=\"2\" height=\"2\"><data encoding=\"csv\">"
                                   "1,1,1,1</data></layer>\n"),
       "several tile layers"},
      {tmxDoc(2, 2, csvData({1, 2, 3})), "3 tiles for 4 cells"},
      {tmxDoc(2, 2, "<data encoding=\"csv\">1,2,,3,4</data>"), "empty field"},
      {tmxDoc(2, 2, "<data encoding=\"csv\">1,2,3,99999999999</data>"), "out of range"},
      {tmxDoc(2, 2, base64Data(packed.substr(0, 12), "")), "3 tiles for 4 cells"},
      {tmxDoc(2, 2, base64Data(zlibData.substr(0, zlibData.size() - 3), "zlib")), "damaged or cut short"},
      {tmxDoc(2, 2, base64Data(deflated(packed + packed, true), "gzip")), "more tiles"},
      {tmxDoc(2, 2, base64Data(zlibData, "zstd")), "zstd"},
      {tmxDoc(2, 2, "<data encoding=\"base64\">AAAA*AAA</data>"), "not valid base64"},
      {tmxDoc(2, 2, "<data encoding=\"csv\"><chunk x=\"0\" y=\"0\" width=\"2\" height=\"2\">1</chunk></data>"),
       "chunks"},
      {tmxDoc(2, 2, "<properties><property name=\"attributes\" value=\"1,2,3\"/></properties>" + csvData(four)),
       "3 values for 4 cells"},
      {tmxDoc(2, 2, csvData(four)).substr(0, 300), "malformed XML"},
      {"<tileset/>", "not a <map>"},
      {"", "empty"},
      {"<?xml version=\"1.0\"?>", "malformed XML"},
  };
  Notes notes;
  for (const Case& c : cases) {
    TmxMap m;
    std::string why;
    EXPECT_FALSE(parseInto(c.doc, &m, &why) && tmxToMap(m, &why, notes.sink())) << c.reasonPart;
    EXPECT_NE(why.find(c.reasonPart), std::string::npos) << "reason: " << why;
    EXPECT_EQ(why.find('\n'), std::string::npos);
  }

  // Parsed, but not representable: the model stays as it was.
  doc.mapCellsX = 7;
  doc.planeX[0] = 5;
  const std::string beyond = tmxDoc(2, 2, csvData({1, 2, 3, 257}));
  TmxMap m;
  std::string why;
  ASSERT_EQ(parseInto(beyond, &m, &why), 1) << why;
  EXPECT_EQ(tmxToMap(m, &why, notes.sink()), 0);
  EXPECT_NE(why.find("tile 257, which the tileset does not hold"), std::string::npos) << why;
  m.tileset.tileWidth = 32;
  EXPECT_EQ(tmxToMap(m, &why, notes.sink()), 0);
  EXPECT_NE(why.find("one chip size"), std::string::npos) << why;
  EXPECT_EQ(doc.mapCellsX, 7);
  EXPECT_EQ(doc.planeX[0], 5);

  // The picture of a map too large to draw is refused before anything is loaded.
  setMapCells(256, 256);
  setChipWidth(64);
  setChipHeight(64);
  EXPECT_EQ(renderMapPng("never.png", &why), 0);
  EXPECT_NE(why.find("16384 x 16384 pixels"), std::string::npos) << why;
  EXPECT_FALSE(fs::exists("never.png"));
}

TEST_F(TmxFile, EveryFormTiledWritesGivesTheSameCellsAndSpacingIsHonoured) {
  // Tiles 1..4 of a sheet with a 2-pixel margin and 1-pixel spacing.
  std::vector<uint32_t> gids = {1, 0, 17, 256, 2, 18};
  const std::string raw = packedGids(gids);
  std::string xmlTiles = "<data>";
  for (uint32_t g : gids) xmlTiles += g ? "<tile gid=\"" + std::to_string(g) + "\"/>" : "<tile/>";
  xmlTiles += "</data>";
  const std::string props =
      "<properties>\n   <property name=\"attributes\">-1,0,999,\n2147483647,-2147483648,7</property>\n  </properties>";
  for (const std::string& data : {csvData(gids), base64Data(raw, ""), base64Data(deflated(raw, false), "zlib"),
                                  base64Data(deflated(raw, true), "gzip"), xmlTiles}) {
    TmxMap m;
    std::string why;
    ASSERT_EQ(parseInto(tmxDoc(3, 2, props + data), &m, &why), 1) << why << "\n" << data;
    EXPECT_EQ(m.gids, gids);
    ASSERT_TRUE(m.hasAttributes);
    EXPECT_EQ(m.attributes, (std::vector<int32_t>{-1, 0, 999, 2147483647, INT32_MIN, 7}));
  }
  TmxMap m;
  std::string why;
  ASSERT_EQ(parseInto(tmxDoc(3, 2, csvData(gids)), &m, &why), 1);
  m.tileset.margin = 2;
  m.tileset.spacing = 1;
  m.tileset.columns = 15;
  Notes notes;
  ASSERT_EQ(tmxToMap(m, &why, notes.sink()), 1) << why;
  EXPECT_EQ(doc.mapCellsX, 3);
  EXPECT_EQ(doc.mapCellsY, 2);
  EXPECT_STREQ(doc.chipSheetName, "chips.bmp");
  // gid 17 is local 16: column 1, row 1 of 15 columns -> (2 + 17, 2 + 17).
  EXPECT_EQ(doc.planeX[cellIndex(2, 0)], 19);
  EXPECT_EQ(doc.planeY[cellIndex(2, 0)], 19);
  EXPECT_EQ(doc.planeX[cellIndex(0, 1)], 2);  // gid 256: local 255, column 0 of row 17
  EXPECT_EQ(doc.planeY[cellIndex(0, 1)], 2 + 17 * 17);
  EXPECT_EQ(doc.planeA[cellIndex(0, 1)], 0);
  ASSERT_EQ(notes.lines.size(), 2u);  // one empty cell, no attributes
  EXPECT_NE(notes.lines[0].find("1 empty cells"), std::string::npos);
}

TEST_F(TmxFile, CellsOffTheChipGridAreReportedAndWrittenAsTheNearestChipOrEmpty) {
  setMapCells(30, 1);
  setChipWidth(32);
  setChipHeight(32);
  doc.planeX[cellIndex(0, 0)] = 64;   // on the grid: column 2
  doc.planeX[cellIndex(1, 0)] = 47;   // nearest is column 1
  doc.planeX[cellIndex(2, 0)] = 50;   // nearest is column 2
  doc.planeX[cellIndex(3, 0)] = 250;  // nearest would be column 8: held to the last, 7
  doc.planeX[cellIndex(4, 0)] = 256;  // outside a sheet 256 wide
  doc.planeY[cellIndex(5, 0)] = -32;  // outside
  for (int c = 6; c < 30; ++c) doc.planeX[cellIndex(c, 0)] = 1;  // 24 more, each off the grid
  Notes notes;
  TmxMap m;
  mapToTmx(256, 240, "chips.bmp", "chips", &m, notes.sink());
  EXPECT_EQ(m.tileset.columns, 8);
  EXPECT_EQ(m.tileset.tileCount, 56);  // 7 whole rows of chips in 240 pixels
  EXPECT_EQ(m.gids[0], 3u);
  EXPECT_EQ(m.gids[1], 2u);
  EXPECT_EQ(m.gids[2], 3u);
  EXPECT_EQ(m.gids[3], 8u);
  EXPECT_EQ(m.gids[4], 0u);
  EXPECT_EQ(m.gids[5], 0u);
  EXPECT_EQ(m.gids[6], 1u);
  ASSERT_EQ(notes.lines.size(), static_cast<size_t>(TMX_CELL_NOTES + 1));
  EXPECT_NE(notes.lines[0].find("cell (1, 0): the chip at (47, 0) is not on the chip grid; written as the nearest "
                                "chip, at (32, 0)"),
            std::string::npos)
      << notes.lines[0];
  EXPECT_NE(notes.lines[3].find("outside"), std::string::npos) << notes.lines[3];
  EXPECT_NE(notes.lines.back().find("and 9 more cells"), std::string::npos) << notes.lines.back();
}

// ---------------------------------------------------------------------------
// The built bctool against the peer's programs.

namespace {

std::string buildDir() {
  char self[4096];
  ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return "";
  self[n] = 0;
  return fs::path(self).parent_path().parent_path().string();
}

// Runs a shell command line in `dir`; the exit status, with stderr in *err.
int runIn(const fs::path& dir, const std::string& cmd, std::string* err = nullptr) {
  fs::path errFile = dir / "stderr.txt";
  std::string line = "cd '" + dir.string() + "' && " + cmd + " 2>'" + errFile.string() + "' >/dev/null";
  int st = std::system(line.c_str());
  if (err) *err = slurp(errFile);
  return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

bool havePeer() { return std::system("command -v tiled >/dev/null && command -v tmxrasterizer >/dev/null") == 0; }

class TmxPeer : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!havePeer()) GTEST_SKIP() << "the peer editor (Debian package tiled) is not installed: tools/deps.sh installs it";
    resetMapModel();
    dir = fs::temp_directory_path() / ("brindle-tmx-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "out");
    fs::copy_file(fs::path(BRINDLE_SOURCE_DIR) / "samples/chips.bmp", dir / "chips.bmp");
    bctool = "'" + buildDir() + "/bctool'";
  }
  void TearDown() override {
    if (!dir.empty()) fs::remove_all(dir);
  }
  fs::path dir;
  std::string bctool;
};

// Counts the pixels where the peer's picture differs from ours by more than
// the truncation of its colour to 5-6-5 bits (ours are widened 5-6-5 values).
long differingPixels(const QImage& peer, const QImage& ours) {
  if (peer.size() != ours.size()) return -1;
  QImage a = peer.convertToFormat(QImage::Format_ARGB32), b = ours.convertToFormat(QImage::Format_RGB32);
  long bad = 0;
  for (int y = 0; y < a.height(); ++y) {
    const QRgb* p = reinterpret_cast<const QRgb*>(a.constScanLine(y));
    const QRgb* q = reinterpret_cast<const QRgb*>(b.constScanLine(y));
    for (int x = 0; x < a.width(); ++x) {
      if (qAlpha(p[x]) != 255 || qRed(p[x]) >> 3 != qRed(q[x]) >> 3 || qGreen(p[x]) >> 2 != qGreen(q[x]) >> 2 ||
          qBlue(p[x]) >> 3 != qBlue(q[x]) >> 3)
        ++bad;
    }
  }
  return bad;
}

}  // namespace

TEST_F(TmxPeer, RasterizerDrawsTheExportAsBctoolPngDrawsTheMapAndTheRoundTripKeepsEveryByte) {
  fs::copy_file(fs::path(BRINDLE_SOURCE_DIR) / "samples/sample.bct", dir / "sample.bct");
  // A 256 x 256 map of 16-pixel chips: every one of the sheet's 256 chips
  // somewhere, attributes of every width and sign.
  setMapCells(256, 256);
  setChipWidth(16);
  setChipHeight(16);
  std::mt19937 rng(17);
  for (int c = 0; c < 256; ++c)
    for (int r = 0; r < 256; ++r) {
      int chip = (c * 7 + r * 13 + static_cast<int>(rng() % 3)) % 256;
      doc.planeX[cellIndex(c, r)] = chip % 16 * 16;
      doc.planeY[cellIndex(c, r)] = chip / 16 * 16;
      doc.planeA[cellIndex(c, r)] = static_cast<int32_t>(rng() % 2001) - 1000;
    }
  doc.planeA[cellIndex(3, 4)] = INT32_MIN;
  std::strcpy(doc.chipSheetName, "chips.bmp");
  ASSERT_EQ(saveMapFile((dir / "big.bct").c_str()), 1);

  for (const char* map : {"sample", "big"}) {
    SCOPED_TRACE(map);
    const std::string m = map;
    std::string err;
    // The TMX goes into another directory: the tileset must find the sheet by its relative path.
    ASSERT_EQ(runIn(dir, bctool + " tmx " + m + ".bct out/" + m + ".tmx", &err), 0) << err;
    EXPECT_EQ(err, "");
    ASSERT_EQ(runIn(dir, bctool + " tmx " + m + ".bct out/" + m + "-png.tmx --png", &err), 0) << err;
    EXPECT_TRUE(fs::exists(dir / "out/chips.png"));
    ASSERT_EQ(runIn(dir, bctool + " png " + m + ".bct " + m + ".png", &err), 0) << err;
    ASSERT_EQ(runIn(dir, "tmxrasterizer out/" + m + ".tmx peer.png", &err), 0) << err;
    ASSERT_EQ(runIn(dir, "tmxrasterizer out/" + m + "-png.tmx peer-png.png", &err), 0) << err;
    QImage ours(QString::fromStdString((dir / (m + ".png")).string()));
    ASSERT_FALSE(ours.isNull());
    EXPECT_GT(ours.width(), 1000);
    EXPECT_EQ(differingPixels(QImage(QString::fromStdString((dir / "peer.png").string())), ours), 0);
    EXPECT_EQ(differingPixels(QImage(QString::fromStdString((dir / "peer-png.png").string())), ours), 0);

    ASSERT_EQ(runIn(dir, bctool + " fromtmx out/" + m + ".tmx back.bct", &err), 0) << err;
    EXPECT_EQ(slurp(dir / "back.bct"), slurp(dir / (m + ".bct")));
  }

  // A cell moved off the grid is drawn differently by the two and said so.
  doc.planeX[cellIndex(0, 0)] += 3;
  ASSERT_EQ(saveMapFile((dir / "off.bct").c_str()), 1);
  std::string err;
  ASSERT_EQ(runIn(dir, bctool + " tmx off.bct out/off.tmx", &err), 0);
  EXPECT_NE(err.find("cell (0, 0)"), std::string::npos) << err;
}

TEST_F(TmxPeer, MapsTheTiledCommandLineWritesComeBackCellForCell) {
  const int w = 37, h = 23;
  std::vector<uint32_t> gids(static_cast<size_t>(w) * h);
  std::string attrs;
  for (int r = 0; r < h; ++r)
    for (int c = 0; c < w; ++c) {
      gids[static_cast<size_t>(r) * w + c] = 1 + static_cast<uint32_t>((c * 31 + r * 17) % 256);
      attrs += std::to_string(c * 100 - r) + (r + 1 < h || c + 1 < w ? "," : "");
    }
  const std::string raw = packedGids(gids);
  const std::string props = "<properties>\n   <property name=\"attributes\" value=\"" + attrs + "\"/>\n  </properties>\n  ";
  struct Form {
    std::string name, data, mark;
  } forms[] = {
      {"csv", csvData(gids), "encoding=\"csv\""},
      {"base64", base64Data(raw, ""), "encoding=\"base64\">"},
      {"zlib", base64Data(deflated(raw, false), "zlib"), "compression=\"zlib\""},
      {"gzip", base64Data(deflated(raw, true), "gzip"), "compression=\"gzip\""},
  };
  for (const Form& f : forms) {
    SCOPED_TRACE(f.name);
    spit(dir / (f.name + "-in.tmx"), tmxDoc(w, h, props + f.data));
    std::string err;
    // Tiled reads our hand-made file and writes its own, in the same layer format.
    ASSERT_EQ(runIn(dir, "tiled --export-map " + f.name + "-in.tmx " + f.name + ".tmx", &err), 0) << err;
    std::string peer = slurp(dir / (f.name + ".tmx"));
    EXPECT_NE(peer.find("tiledversion="), std::string::npos);
    EXPECT_NE(peer.find(f.mark), std::string::npos) << peer.substr(0, 1200);
    ASSERT_EQ(runIn(dir, bctool + " fromtmx " + f.name + ".tmx " + f.name + ".bct", &err), 0) << err;
    resetMapModel();
    ASSERT_EQ(loadMapFile((dir / (f.name + ".bct")).c_str()), 1);
    EXPECT_STREQ(doc.chipSheetName, "chips.bmp");
    ASSERT_EQ(doc.mapCellsX, w);
    ASSERT_EQ(doc.mapCellsY, h);
    EXPECT_EQ(doc.chipWidth, 16);
    EXPECT_EQ(doc.chipHeight, 16);
    int wrong = 0;
    for (int r = 0; r < h; ++r)
      for (int c = 0; c < w; ++c) {
        int local = static_cast<int>(gids[static_cast<size_t>(r) * w + c]) - 1;
        int i = cellIndex(c, r);
        if (doc.planeX[i] != local % 16 * 16 || doc.planeY[i] != local / 16 * 16 || doc.planeA[i] != c * 100 - r) ++wrong;
      }
    EXPECT_EQ(wrong, 0);
  }

  // A tileset in a file of its own, as Tiled keeps it, and the same embedded by Tiled.
  std::string csv = tmxDoc(w, h, props + csvData(gids));
  size_t from = csv.find(" <tileset"), to = csv.find("</tileset>\n") + 11;
  std::string tsx = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + csv.substr(from + 1, to - from - 1);
  tsx.replace(tsx.find("firstgid=\"1\" "), 13, "");
  fs::create_directories(dir / "sets");
  fs::copy_file(dir / "chips.bmp", dir / "sets/chips.bmp");
  spit(dir / "sets/chips.tsx", tsx);
  spit(dir / "ext-in.tmx", csv.substr(0, from) + " <tileset firstgid=\"1\" source=\"sets/chips.tsx\"/>\n" + csv.substr(to));
  std::string err;
  ASSERT_EQ(runIn(dir, "tiled --export-map ext-in.tmx ext.tmx", &err), 0) << err;
  ASSERT_EQ(runIn(dir, "tiled --export-map --embed-tilesets ext-in.tmx embedded.tmx", &err), 0) << err;
  EXPECT_NE(slurp(dir / "ext.tmx").find("source=\"sets/chips.tsx\""), std::string::npos);
  ASSERT_EQ(runIn(dir, bctool + " fromtmx ext.tmx ext.bct", &err), 0) << err;
  ASSERT_EQ(runIn(dir, bctool + " fromtmx embedded.tmx embedded.bct", &err), 0) << err;
  EXPECT_EQ(slurp(dir / "ext.bct"), slurp(dir / "csv.bct"));
  EXPECT_EQ(slurp(dir / "embedded.bct"), slurp(dir / "csv.bct"));

  // What cannot be represented is refused with one line and no file.
  std::string flipped = csv;
  flipped.replace(flipped.find("\n1,") + 1, 1, "2147483649");
  spit(dir / "flipped.tmx", flipped);
  EXPECT_EQ(runIn(dir, bctool + " fromtmx flipped.tmx flipped.bct", &err), 1);
  EXPECT_NE(err.find("flipped"), std::string::npos) << err;
  EXPECT_EQ(err.find('\n'), err.size() - 1);
  EXPECT_FALSE(fs::exists(dir / "flipped.bct"));
}
