// RGB565 surfaces: copies that clip themselves, colour keys, stretching and
// bitmap loading.
#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <climits>
#include <filesystem>
#include <string>

#include "platform/platform.h"
#include "platform/surface.h"
#include "test_gfx_support.h"

namespace fs = std::filesystem;
using gfxtest::Rgb;

namespace {

struct Surf {
  PlatSurface* s;
  Surf(int w, int h) : s(platSurfaceCreate(w, h)) {}
  ~Surf() { platSurfaceDestroy(s); }
  uint16_t at(int x, int y) const { return s->pixels[y * s->pitch + x]; }
  void set(int x, int y, uint16_t v) { s->pixels[y * s->pitch + x] = v; }
};

// Source whose pixel value tells where it came from: 1 + y * 64 + x.
void fillCoords(Surf& src) {
  for (int y = 0; y < src.s->height; ++y)
    for (int x = 0; x < src.s->width; ++x) src.set(x, y, uint16_t(1 + y * 64 + x));
}

int countNot(const Surf& d, uint16_t v) {
  int n = 0;
  for (int y = 0; y < d.s->height; ++y)
    for (int x = 0; x < d.s->width; ++x) n += d.at(x, y) != v;
  return n;
}

}  // namespace

TEST(GfxSurface, CreationRefusesAbsurdSizes) {
  EXPECT_EQ(platSurfaceCreate(0, 10), nullptr);
  EXPECT_EQ(platSurfaceCreate(10, -1), nullptr);
  EXPECT_EQ(platSurfaceCreate(PLAT_SURFACE_MAX_SIDE + 1, 1), nullptr);
  Surf ok(3, 2);
  ASSERT_NE(ok.s, nullptr);
  EXPECT_EQ(ok.s->pitch, 3);
  EXPECT_EQ(countNot(ok, 0), 0);
  platSurfaceFill(ok.s, 0xABCD);
  EXPECT_EQ(countNot(ok, 0xABCD), 0);
}

TEST(GfxSurface, GdiColoursTruncateToRgb565) {
  EXPECT_EQ(platColorToRaw(0x0000FF), 0xF800);  // GDI red is the low byte
  EXPECT_EQ(platColorToRaw(0x00FF00), 0x07E0);
  EXPECT_EQ(platColorToRaw(0xFF0000), 0x001F);
  EXPECT_EQ(platColorToRaw(0x007F00), 0x03E0);  // the caption key: green 127 -> 31
  EXPECT_EQ(platColorToRaw(0x070307), 0x0000);  // below every step: black
  EXPECT_EQ(platColorToRaw(0xFFFFFF), 0xFFFF);
}

TEST(GfxSurface, UnstretchedCopiesClipToBothSurfaces) {
  Surf src(16, 16), dst(20, 10);
  fillCoords(src);
  // Hanging over the destination's left and top: the source is cut to match.
  platSurfaceCopy(dst.s, -3, -2, src.s, 0, 0, 8, 8);
  EXPECT_EQ(dst.at(0, 0), 1 + 2 * 64 + 3);
  EXPECT_EQ(dst.at(4, 5), 1 + 7 * 64 + 7);
  EXPECT_EQ(dst.at(5, 0), 0);
  EXPECT_EQ(dst.at(0, 6), 0);
  // Hanging over the right and bottom: nothing wraps into the next row.
  platSurfaceFill(dst.s, 0);
  platSurfaceCopy(dst.s, 15, 6, src.s, 0, 0, 16, 16);
  EXPECT_EQ(dst.at(19, 9), 1 + 3 * 64 + 4);
  EXPECT_EQ(countNot(dst, 0), 5 * 4);
  // A source rectangle reaching outside the source reads only what exists.
  platSurfaceFill(dst.s, 0);
  platSurfaceCopy(dst.s, 0, 0, src.s, -4, 14, 3, 40);
  EXPECT_EQ(dst.at(4, 0), 1 + 14 * 64 + 0);
  EXPECT_EQ(dst.at(6, 1), 1 + 15 * 64 + 2);
  EXPECT_EQ(countNot(dst, 0), 3 * 2);
  // Empty, inverted and extreme rectangles copy nothing and touch nothing.
  platSurfaceFill(dst.s, 0);
  platSurfaceCopy(dst.s, 0, 0, src.s, 5, 5, 5, 9);
  platSurfaceCopy(dst.s, 0, 0, src.s, 9, 9, 2, 2);
  platSurfaceCopy(dst.s, INT_MAX, INT_MIN, src.s, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  platSurfaceCopy(dst.s, 20, 0, src.s, 0, 0, 16, 16);
  platSurfaceCopy(dst.s, 0, 0, nullptr, 0, 0, 16, 16);
  platSurfaceCopyKeyed(dst.s, INT_MIN, INT_MAX, src.s, -INT_MAX, 0, INT_MAX, 3, 0);
  EXPECT_EQ(countNot(dst, 0), 0);
  // The whole source through the widest possible rectangle still lands right.
  platSurfaceCopy(dst.s, 0, 0, src.s, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  EXPECT_EQ(countNot(dst, 0), 0);  // its origin moved far off the destination
  platSurfaceCopy(dst.s, 2, 1, src.s, 0, 0, INT_MAX, INT_MAX);
  EXPECT_EQ(dst.at(2, 1), 1);
  EXPECT_EQ(dst.at(17, 9), 1 + 8 * 64 + 15);
  // Short rows (a chip's) and long ones are copied differently: every width
  // lands whole, and not a pixel beyond it.
  Surf wide(300, 2), onto(300, 2);
  for (int x = 0; x < 300; ++x) wide.set(x, 1, uint16_t(0x4000 + x));
  for (int w : {1, 15, 16, 17, 37, 128, 129, 260}) {
    platSurfaceFill(onto.s, 0);
    platSurfaceCopy(onto.s, 3, 0, wide.s, 5, 1, 5 + w, 2);
    EXPECT_EQ(countNot(onto, 0), w) << "width " << w;
    EXPECT_EQ(onto.at(3, 0), 0x4005) << "width " << w;
    EXPECT_EQ(onto.at(2 + w, 0), uint16_t(0x4004 + w)) << "width " << w;
  }
}

TEST(GfxSurface, KeyedCopyKeepsTheDestinationWhereTheSourceIsTheKey) {
  Surf src(40, 3), dst(40, 3);
  for (int x = 0; x < 40; ++x) {
    src.set(x, 0, x % 3 == 0 ? 0x0000 : uint16_t(0x1000 + x));
    src.set(x, 1, 0x0000);
    src.set(x, 2, uint16_t(0x2000 + x));
  }
  platSurfaceFill(dst.s, 0x001F);
  platSurfaceCopyKeyed(dst.s, 0, 0, src.s, 0, 0, 40, 3, 0x0000);
  for (int x = 0; x < 40; ++x) {
    EXPECT_EQ(dst.at(x, 0), x % 3 == 0 ? 0x001F : 0x1000 + x) << x;
    EXPECT_EQ(dst.at(x, 1), 0x001F);
    EXPECT_EQ(dst.at(x, 2), 0x2000 + x);
  }
  // The opaque copy takes the key pixels too.
  platSurfaceCopy(dst.s, 0, 0, src.s, 0, 1, 40, 2);
  EXPECT_EQ(dst.at(7, 0), 0x0000);
  // Copying a surface onto itself, overlapping, reads the source as it was.
  Surf one(8, 1);
  for (int x = 0; x < 8; ++x) one.set(x, 0, uint16_t(x + 1));
  platSurfaceCopyKeyed(one.s, 2, 0, one.s, 0, 0, 6, 1, 0xFFFF);
  EXPECT_EQ(one.at(2, 0), 1);
  EXPECT_EQ(one.at(7, 0), 6);
}

TEST(GfxSurface, StretchIsNearestNeighbourAndClipped) {
  Surf src(2, 2), dst(10, 10);
  src.set(0, 0, 1);
  src.set(1, 0, 2);
  src.set(0, 1, 3);
  src.set(1, 1, 0);  // the key
  platSurfaceFill(dst.s, 9);
  platSurfaceStretch(dst.s, 2, 2, 6, 6, src.s, 0, 0, 2, 2, 1, 0);
  EXPECT_EQ(dst.at(2, 2), 1);
  EXPECT_EQ(dst.at(3, 3), 1);
  EXPECT_EQ(dst.at(4, 3), 2);
  EXPECT_EQ(dst.at(5, 2), 2);
  EXPECT_EQ(dst.at(2, 5), 3);
  EXPECT_EQ(dst.at(4, 4), 9);  // keyed out
  EXPECT_EQ(dst.at(6, 6), 9);
  EXPECT_EQ(dst.at(1, 2), 9);
  // Opaque, shrinking, partly off the destination on the top left.
  Surf big(8, 8);
  fillCoords(big);
  platSurfaceFill(dst.s, 0);
  platSurfaceStretch(dst.s, -2, -2, 2, 2, big.s, 0, 0, 8, 8, 0, 0);
  EXPECT_EQ(dst.at(0, 0), 1 + 4 * 64 + 4);
  EXPECT_EQ(dst.at(1, 1), 1 + 6 * 64 + 6);
  EXPECT_EQ(countNot(dst, 0), 4);
  // A source rectangle larger than the source: only the part that maps
  // inside it is drawn.
  platSurfaceFill(dst.s, 0);
  platSurfaceStretch(dst.s, 0, 0, 4, 4, src.s, 0, 0, 4, 4, 0, 0);
  EXPECT_EQ(dst.at(1, 0), 2);
  EXPECT_EQ(dst.at(2, 0), 0);
  EXPECT_EQ(dst.at(0, 2), 0);
  // Inverted or empty rectangles and huge ones: nothing out of bounds.
  platSurfaceFill(dst.s, 0);
  platSurfaceStretch(dst.s, 6, 6, 2, 2, src.s, 0, 0, 2, 2, 0, 0);
  platSurfaceStretch(dst.s, 0, 0, 4, 4, src.s, 2, 0, 0, 2, 0, 0);
  EXPECT_EQ(countNot(dst, 0), 0);
  // The destination's middle (screen origin) maps to the source's middle:
  // column x of the screen is source column x, every row is source row 1.
  platSurfaceStretch(dst.s, INT_MIN, INT_MIN, INT_MAX, INT_MAX, src.s, INT_MIN, 0, INT_MAX, 2, 0, 0);
  for (int y = 0; y < 10; ++y) EXPECT_EQ(dst.at(0, y), 3);
  EXPECT_EQ(countNot(dst, 0), 10);
  // A huge destination from the origin shows the source's top-left pixel.
  platSurfaceStretch(dst.s, 0, 0, INT_MAX, INT_MAX, src.s, 0, 0, 2, 2, 0, 0);
  EXPECT_EQ(countNot(dst, 1), 0);
}

// Two-pixel outlines (attribute mode's cell and block boxes), pixel for pixel
// as the centred round pen has always drawn them: ordinary, one-cell, flat and
// empty boxes, boxes across the surface's edges and boxes of huge coordinates.
// The outer bottom-left corner pixel stays out wherever the box lies, as the
// top-right one does.
TEST(GfxSurface, TwoPixelBoxesKeepTheirPixels) {
  auto picture = [](const Surf& d) {
    std::string rows;
    for (int y = 0; y < d.s->height; ++y) {
      for (int x = 0; x < d.s->width; ++x) rows += d.at(x, y) ? '#' : '.';
      rows += '\n';
    }
    return rows;
  };
  auto boxes = [](Surf& d, std::initializer_list<std::array<int, 4>> list) {
    platPaintBegin(d.s);
    for (const auto& b : list) platPaintBox(b[0], b[1], b[2], b[3], 2, 0xFFFFFF);
    platPaintEnd();
  };
  Surf a(18, 12);
  boxes(a, {{3, 1, 9, 6}, {12, 1, 13, 2}, {15, 1, 15, 4}, {11, 8, 14, 8}, {16, 10, 16, 10}, {4, 9, 5, 9}});
  EXPECT_EQ(picture(a),
            "..................\n"
            "...#######..##.#..\n"
            "...########.#####.\n"
            "...##....##..#.##.\n"
            "...##....##....##.\n"
            "...##....##.......\n"
            "...########.......\n"
            "....######........\n"
            "...........####...\n"
            "....##......###...\n"
            ".....#............\n"
            "..................\n");
  Surf forward(10, 10), backward(10, 10);
  boxes(forward, {{3, 2, 7, 5}});
  boxes(backward, {{7, 5, 3, 2}});
  EXPECT_EQ(picture(backward), picture(forward));
  Surf b(8, 6);
  boxes(b, {{-1, -1, 8, 6}, {3, 2, -5, 20}});
  EXPECT_EQ(picture(b),
            "########\n"
            "#.......\n"
            "####....\n"
            "#####...\n"
            "#..##...\n"
            "#..##...\n");
  Surf c(8, 6);
  boxes(c, {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {INT_MAX, INT_MAX, INT_MAX, INT_MAX}, {-1000000, 2, 1000000, 3}});
  EXPECT_EQ(picture(c),
            "........\n"
            "........\n"
            "########\n"
            "########\n"
            "########\n"
            "........\n");
}

class GfxBitmapFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("brindle-gfx-bmp-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string path(const char* name) { return (dir / name).string(); }
  fs::path dir;
};

TEST_F(GfxBitmapFiles, LoadsEveryDepthByTruncation) {
  gfxtest::writeBmp24(path("a.bmp"), 3, 2,
                      {{255, 0, 0}, {7, 3, 7}, {8, 4, 8}, {0, 127, 0}, {255, 255, 255}, {0, 0, 255}});
  PlatSurface* s = platLoadBitmap(path("a.bmp").c_str());
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->width, 3);
  EXPECT_EQ(s->height, 2);
  EXPECT_EQ(s->pixels[0], 0xF800);
  EXPECT_EQ(s->pixels[1], 0x0000);  // converts to black, so black's key takes it too
  EXPECT_EQ(s->pixels[2], (1 << 11) | (1 << 5) | 1);
  EXPECT_EQ(s->pixels[s->pitch + 0], 0x03E0);
  EXPECT_EQ(s->pixels[s->pitch + 1], 0xFFFF);
  EXPECT_EQ(s->pixels[s->pitch + 2], 0x001F);
  platSurfaceDestroy(s);

  gfxtest::writeBmp8(path("p.bmp"), 2, 2, {{0, 0, 0}, {0, 127, 0}, {200, 100, 50}}, {0, 1, 2, 1});
  s = platLoadBitmap(path("p.bmp").c_str());
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->pixels[0], 0x0000);
  EXPECT_EQ(s->pixels[1], 0x03E0);
  EXPECT_EQ(s->pixels[s->pitch], ((200 >> 3) << 11) | ((100 >> 2) << 5) | (50 >> 3));
  platSurfaceDestroy(s);
}

TEST_F(GfxBitmapFiles, RefusesMissingBrokenAndAbsurdFiles) {
  EXPECT_EQ(platLoadBitmap(path("missing.bmp").c_str()), nullptr);
  EXPECT_EQ(platLoadBitmap(""), nullptr);
  EXPECT_EQ(platLoadBitmap(nullptr), nullptr);
  EXPECT_EQ(platLoadBitmap("\x82"), nullptr);  // not Shift_JIS
  std::ofstream(path("junk.bmp"), std::ios::binary) << "BMjunkjunk";
  EXPECT_EQ(platLoadBitmap(path("junk.bmp").c_str()), nullptr);
  // A header announcing 20000 x 20000 pixels is refused before any decoding.
  std::ofstream(path("huge.bmp"), std::ios::binary) << gfxtest::bmpHeader(20000, 20000, 24, 0, 0) << "xxxx";
  EXPECT_EQ(platLoadBitmap(path("huge.bmp").c_str()), nullptr);
}
