// The generated interface bitmaps and samples: file format, colour keys and
// the geometry that the sprite table and the toolbar cut them by.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "../tools/artgen/bmpfile.h"

using artgen::Rgb;

namespace {

uint32_t le(const std::vector<uint8_t>& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + i];
  return v;
}

// A deliberately separate, minimal reader for uncompressed 8- and 24-bit
// bottom-up files, so the encoder is not checked against itself.
struct Bitmap {
  int width = 0, height = 0, bits = 0;
  std::vector<Rgb> pixels;  // top row first
  Rgb at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

Bitmap decode(const std::vector<uint8_t>& b) {
  Bitmap bmp;
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return bmp;
  const uint32_t offset = le(b, 10, 4);
  const int w = static_cast<int>(le(b, 18, 4)), h = static_cast<int>(le(b, 22, 4));
  const int bits = static_cast<int>(le(b, 28, 2));
  if (le(b, 14, 4) != 40 || le(b, 30, 4) != 0 || w <= 0 || h <= 0 || (bits != 8 && bits != 24)) return bmp;
  const size_t stride = (static_cast<size_t>(w) * bits + 31) / 32 * 4;
  if (le(b, 2, 4) != b.size() || offset + stride * h > b.size()) return bmp;
  bmp.width = w, bmp.height = h, bmp.bits = bits;
  bmp.pixels.resize(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    const size_t row = offset + stride * (h - 1 - y);
    for (int x = 0; x < w; ++x) {
      Rgb c;
      if (bits == 8) {
        const size_t e = 54 + 4 * size_t{b[row + x]};
        c = {b[e + 2], b[e + 1], b[e]};
      } else {
        c = {b[row + 3 * x + 2], b[row + 3 * x + 1], b[row + 3 * x]};
      }
      bmp.pixels[static_cast<size_t>(y) * w + x] = c;
    }
  }
  return bmp;
}

std::vector<uint8_t> readFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

Bitmap load(const char* relative) { return decode(readFile(std::string(BRINDLE_SOURCE_DIR) + "/" + relative)); }

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kGreenKey{0, 127, 0};

bool isKey(const Bitmap& b, int x, int y) { return b.at(x, y) == kBlack; }

int visibleIn(const Bitmap& b, int x0, int y0, int w, int h) {
  int n = 0;
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x) n += !isKey(b, x, y);
  return n;
}

std::vector<Rgb> cell(const Bitmap& b, int x0, int y0, int w, int h) {
  std::vector<Rgb> out;
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x) out.push_back(b.at(x, y));
  return out;
}

}  // namespace

TEST(BmpEncoder, WritesPalettedAndTrueColourFilesBottomUpWithPaddedRows) {
  const std::vector<Rgb> pal = {{10, 20, 30}, {200, 100, 50}};
  const std::vector<uint8_t> idx = {0, 1, 1, /* bottom row: */ 1, 0, 0};
  const std::vector<uint8_t> f8 = artgen::encodeBmp8(3, 2, idx, pal);
  ASSERT_EQ(f8.size(), 14u + 40 + 1024 + 2 * 4);
  EXPECT_EQ(le(f8, 10, 4), 1078u);
  EXPECT_EQ(le(f8, 46, 4), 256u);
  // Palette entries are blue, green, red, reserved.
  EXPECT_EQ(f8[58], 50);
  EXPECT_EQ(f8[59], 100);
  EXPECT_EQ(f8[60], 200);
  // The first stored row is the bottom one, padded with a zero byte.
  EXPECT_EQ(std::vector<uint8_t>(f8.begin() + 1078, f8.begin() + 1082), (std::vector<uint8_t>{1, 0, 0, 0}));
  const Bitmap b8 = decode(f8);
  ASSERT_EQ(b8.width, 3);
  EXPECT_EQ(b8.at(1, 0), pal[1]);
  EXPECT_EQ(b8.at(0, 1), pal[1]);
  EXPECT_EQ(b8.at(2, 1), pal[0]);

  // 5 pixels of 3 bytes need one byte of padding per row.
  const std::vector<Rgb> px = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}, {13, 14, 15},
                               {16, 17, 18}, {19, 20, 21}, {22, 23, 24}, {25, 26, 27}, {28, 29, 30}};
  const std::vector<uint8_t> f24 = artgen::encodeBmp24(5, 2, px);
  ASSERT_EQ(f24.size(), 54u + 2 * 16);
  const Bitmap b24 = decode(f24);
  ASSERT_EQ(b24.bits, 24);
  EXPECT_EQ(b24.pixels, px);

  // Inconsistent input gives no file at all rather than a malformed one.
  EXPECT_TRUE(artgen::encodeBmp8(3, 2, {0, 1}, pal).empty());
  EXPECT_TRUE(artgen::encodeBmp8(3, 2, idx, std::vector<Rgb>(257)).empty());
  EXPECT_TRUE(artgen::encodeBmp24(0, 2, {}).empty());
}

TEST(BmpEncoder, ReplacesFilesWholeAndReportsFailure) {
  const std::string path = ::testing::TempDir() + "artgen_replace.bmp";
  const std::vector<uint8_t> bytes = {1, 2, 3, 4};
  ASSERT_TRUE(artgen::writeFileReplacing(path, bytes));
  EXPECT_EQ(readFile(path), bytes);
  ASSERT_TRUE(artgen::writeFileReplacing(path, {9}));
  EXPECT_EQ(readFile(path), std::vector<uint8_t>{9});
  EXPECT_FALSE(artgen::writeFileReplacing(path, {}));  // nothing to write leaves the old file
  EXPECT_EQ(readFile(path), std::vector<uint8_t>{9});
  const std::string missingDir = ::testing::TempDir() + "no_such_dir/x.bmp";
  EXPECT_FALSE(artgen::writeFileReplacing(missingDir, bytes));
  std::remove(path.c_str());
}

TEST(Artwork, InterfaceBitmapsHaveTheirSizesAndNoVisiblePixelFallsUnderTheKey) {
  struct Expect { const char* file; int w, h; Rgb key; };
  for (const Expect& e : {Expect{"resources/DATA.bmp", 160, 160, kBlack}, Expect{"resources/ICON.bmp", 72, 624, kBlack},
                          Expect{"resources/MES.bmp", 240, 224, kGreenKey}}) {
    const Bitmap b = load(e.file);
    ASSERT_EQ(b.bits, 8) << e.file;
    ASSERT_EQ(b.width, e.w) << e.file;
    ASSERT_EQ(b.height, e.h) << e.file;
    // On the 16-bit screen a colour is transparent when it truncates to the
    // key's value; only the key itself may do so.
    int aliases = 0;
    for (const Rgb& c : b.pixels) aliases += !(c == e.key) && artgen::rgb565(c) == artgen::rgb565(e.key);
    EXPECT_EQ(aliases, 0) << e.file;
  }
}

TEST(Artwork, DataCellsMatchTheirRoles) {
  const Bitmap d = load("resources/DATA.bmp");
  ASSERT_EQ(d.width, 160);
  // Opaque pieces: title images and scrollbar thumbs hold no key pixel.
  for (auto r : {std::array{80, 80, 80, 23}, std::array{80, 112, 80, 23}, std::array{0, 112, 11, 7},
                 std::array{16, 112, 7, 11}})
    EXPECT_EQ(visibleIn(d, r[0], r[1], r[2], r[3]), r[2] * r[3]) << r[0] << "," << r[1];
  // The two titles differ.
  EXPECT_NE(cell(d, 80, 80, 80, 23), cell(d, 80, 112, 80, 23));

  // Hover, pressed and mode frames are hollow: the icon shows through.
  for (int fx : {0, 48, 96}) {
    EXPECT_EQ(visibleIn(d, fx + 8, 32 + 36, 32, 6), 0) << fx;   // over the label row
    EXPECT_EQ(visibleIn(d, fx + 20, 32 + 20, 8, 8), 0) << fx;   // over the centre
    EXPECT_EQ(visibleIn(d, fx, 32, 48, 2), 96) << fx;           // a closed rim on top
    EXPECT_EQ(visibleIn(d, fx, 32 + 46, 48, 2), 96) << fx;      // and at the bottom
  }

  // Pointing hands: the fingertip is the topmost visible part, right at the
  // hotspot (4, 4) of the cell, so a click lands where the finger points.
  const Rgb kRay{255, 214, 64};  // the click rays of the pressed hand are not the hand
  for (int px : {0, 32}) {
    int top = -1;
    for (int y = 0; y < 32 && top < 0; ++y)
      for (int x = 0; x < 32; ++x)
        if (!isKey(d, px + x, y) && !(d.at(px + x, y) == kRay) && x >= 2 && x <= 7) { top = y; break; }
    EXPECT_GE(top, 2) << px;
    EXPECT_LE(top, 4) << px;
    EXPECT_FALSE(isKey(d, px + 4, 4 + (px ? 1 : 0))) << px;
    EXPECT_EQ(visibleIn(d, px + 12, 0, 20, 3), 0) << "nothing above the hand's knuckles";
  }
  // Resize arrow and grabbing hand are centred on (16, 16).
  for (int px : {64, 96}) {
    int minX = 32, maxX = -1, minY = 32, maxY = -1;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x)
        if (!isKey(d, px + x, y)) minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
    EXPECT_NEAR((minX + maxX) / 2.0, 16, 1.5) << px;
    EXPECT_NEAR((minY + maxY) / 2.0, 16, 1.5) << px;
  }
}

TEST(Artwork, WindowFrameTilesSeamlesslyAndCornersContinueTheEdges) {
  const Bitmap d = load("resources/DATA.bmp");
  ASSERT_EQ(d.width, 160);
  // A 64-pixel edge piece repeated along a window shows no seam when its
  // pattern repeats with a period that divides 64.
  auto periodic = [&](bool horizontal, int x0, int y0) {
    for (int p : {1, 2, 4, 8, 16, 32}) {
      bool ok = true;
      for (int i = 0; i < 64 && ok; ++i)
        for (int b = 0; b < 6 && ok; ++b)
          ok = horizontal ? d.at(x0 + i, y0 + b) == d.at(x0 + (i + p) % 64, y0 + b)
                          : d.at(x0 + b, y0 + i) == d.at(x0 + b, y0 + (i + p) % 64);
      if (ok) return true;
    }
    return false;
  };
  EXPECT_TRUE(periodic(true, 0, 80));
  EXPECT_TRUE(periodic(true, 0, 90));
  EXPECT_TRUE(periodic(false, 64, 80));
  EXPECT_TRUE(periodic(false, 74, 80));
  for (int i = 0; i < 6; ++i) {
    // Each corner's column / row next to an edge equals that edge's profile.
    EXPECT_EQ(d.at(5, 96 + i), d.at(0, 80 + i)) << "top left to top edge, row " << i;
    EXPECT_EQ(d.at(0 + i, 101), d.at(64 + i, 80)) << "top left to left edge";
    EXPECT_EQ(d.at(10, 96 + i), d.at(0, 80 + i)) << "top right to top edge";
    EXPECT_EQ(d.at(10 + i, 101), d.at(74 + i, 80)) << "top right to right edge";
    EXPECT_EQ(d.at(5, 106 + i), d.at(0, 90 + i)) << "bottom left to bottom edge";
    EXPECT_EQ(d.at(0 + i, 106), d.at(64 + i, 80)) << "bottom left to left edge";
    EXPECT_EQ(d.at(10, 106 + i), d.at(0, 90 + i)) << "bottom right to bottom edge";
    EXPECT_EQ(d.at(10 + i, 106), d.at(74 + i, 80)) << "bottom right to right edge";
  }
  // The edge next to the content is a visible line, not a gap.
  EXPECT_FALSE(isKey(d, 0, 85));
  EXPECT_FALSE(isKey(d, 0, 90));
}

TEST(Artwork, DigitGlyphsAreDistinctAndOutlined) {
  const Bitmap d = load("resources/DATA.bmp");
  ASSERT_EQ(d.width, 160);
  std::set<std::vector<Rgb>> seen;
  for (int g = 0; g < 12; ++g) {
    const int x0 = g * 8, y0 = 144;
    seen.insert(cell(d, x0, y0, 8, 12));
    int bright = 0;
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 8; ++x) {
        const Rgb c = d.at(x0 + x, y0 + y);
        if (c.r + c.g + c.b < 400) continue;
        ++bright;
        // A bright pixel never touches the transparent background directly.
        for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
          const int nx = x + dx, ny = y + dy;
          ASSERT_TRUE(nx >= 0 && nx < 8 && ny >= 0 && ny < 12) << "glyph " << g << " touches its cell edge";
          EXPECT_FALSE(isKey(d, x0 + nx, y0 + ny)) << "glyph " << g << " at " << x << "," << y;
        }
      }
    EXPECT_GT(bright, 3) << g;
  }
  EXPECT_EQ(seen.size(), 12u);
}

TEST(Artwork, EveryButtonHasItsOwnIconAndBalloon) {
  const Bitmap icons = load("resources/ICON.bmp");
  const Bitmap mes = load("resources/MES.bmp");
  ASSERT_EQ(icons.height, 624);
  ASSERT_EQ(mes.width, 240);
  std::set<std::vector<Rgb>> iconCells, balloons;
  for (int i = 0; i < 13; ++i) {
    iconCells.insert(cell(icons, 0, 48 * i, 48, 48));
    EXPECT_GT(visibleIn(icons, 0, 48 * i, 48, 48), 48 * 48 - 16) << "icon " << i << " is a full button";
    int white = 0;  // label text
    for (const Rgb& c : cell(icons, 0, 48 * i + 17, 48, 28)) white += c == Rgb{255, 255, 255};
    EXPECT_GT(white, 20) << "icon " << i;
    const int bx = 80 * (i % 3), by = 32 * (i / 3);
    balloons.insert(cell(mes, bx, by, 80, 32));
    int ink = 0, key = 0;
    for (const Rgb& c : cell(mes, bx + 3, by + 2, 74, 28)) ink += c.r + c.g + c.b < 100, key += c == kGreenKey;
    EXPECT_GT(ink, 40) << "balloon " << i << " carries text";
    EXPECT_EQ(key, 0) << "balloon " << i << " is solid inside";
  }
  // The tool strip's seven: 18 x 18 plates in the second column, each its own,
  // and balloons 13 to 19 that carry text and a key cap (ink on light blue).
  for (int k = 0; k < 7; ++k) {
    iconCells.insert(cell(icons, 48, 20 * k, 18, 18));
    EXPECT_GT(visibleIn(icons, 48, 20 * k, 18, 18), 18 * 18 - 8) << "strip icon " << k << " is a full plate";
  }
  for (int i = 13; i < 20; ++i) {
    const int bx = 80 * (i % 3), by = 32 * (i / 3);
    balloons.insert(cell(mes, bx, by, 80, 32));
    int ink = 0, cap = 0;
    for (const Rgb& c : cell(mes, bx + 3, by + 2, 60, 28)) ink += c.r + c.g + c.b < 100;
    for (const Rgb& c : cell(mes, bx + 64, by + 16, 11, 12)) cap += c == Rgb{184, 198, 222};
    EXPECT_GT(ink, 40) << "balloon " << i << " carries text";
    EXPECT_GT(cap, 30) << "balloon " << i << " shows its key";
  }
  EXPECT_EQ(iconCells.size(), 20u);
  EXPECT_EQ(balloons.size(), 20u);
  for (int i = 20; i < 21; ++i)
    for (const Rgb& c : cell(mes, 80 * (i % 3), 32 * (i / 3), 80, 32)) ASSERT_EQ(c, kGreenKey) << "unused cell " << i;
}

TEST(Artwork, SampleChipSheetAndWallpaper) {
  const Bitmap chips = load("samples/chips.bmp");
  ASSERT_GE(chips.width, 256);
  ASSERT_GE(chips.height, 256);
  EXPECT_EQ(chips.width % 32, 0);
  EXPECT_EQ(chips.height % 32, 0);
  for (const Rgb& c : chips.pixels) ASSERT_NE(artgen::rgb565(c), 0) << "a chip pixel would be keyed out";
  // Every chip was painted, and no two are the same.
  std::set<std::vector<Rgb>> distinct;
  for (int y = 0; y < chips.height; y += 32)
    for (int x = 0; x < chips.width; x += 32) {
      const std::vector<Rgb> c = cell(chips, x, y, 32, 32);
      std::set<uint16_t> colours;
      for (const Rgb& px : c) colours.insert(artgen::rgb565(px));
      EXPECT_GT(colours.size(), 2u) << "chip " << x / 32 << "," << y / 32 << " is flat";
      distinct.insert(c);
    }
  EXPECT_EQ(distinct.size(), static_cast<size_t>(chips.width / 32 * (chips.height / 32)));
  // Chip (0, 0), the ground of a fresh map, is a green, calm texture.
  long r = 0, g = 0, b = 0;
  for (const Rgb& c : cell(chips, 0, 0, 32, 32)) r += c.r, g += c.g, b += c.b;
  EXPECT_GT(g, r + 32 * 32 * 30);
  EXPECT_GT(g, b + 32 * 32 * 30);

  const Bitmap wall = load("samples/Brin.bmp");
  ASSERT_EQ(wall.width, 800);
  ASSERT_EQ(wall.height, 600);
  // Dark enough everywhere that white texts and the windows read over it.
  int bright = 0;
  for (const Rgb& c : wall.pixels) bright += (c.r * 3 + c.g * 6 + c.b) / 10 > 110;
  EXPECT_LT(bright, 800 * 600 / 200);
}
