// The graphics subsystem on the back buffer: queued copies with their
// clipping, layer order, lines, boxes and text, queue limits, the present
// with lost surfaces and persistent failures, and the frame timing.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app.h"
#include "editor/editor.h"
#include "input/input.h"
#include "gfx/gfx.h"
#include "map/map.h"
#include "platform/platform.h"
#include "platform/sjis.h"
#include "platform/surface.h"
#include "platform/testing.h"
#include "settings/settings.h"
#include "test_gfx_support.h"

namespace fs = std::filesystem;

namespace {

uint32_t fakeNow = 0;
uint32_t fakeClock() { return fakeNow; }

std::string lastBoxText, lastBoxCaption;
int boxHook(const char* text, const char* caption, int) {
  lastBoxText = text;
  lastBoxCaption = caption;
  return ANSWERED_OK;
}

constexpr int SLOT_A = 20, SLOT_B = 21;
constexpr uint16_t BLUE = 0x001F, RED = 0xF800, GREEN = 0x07E0, WHITE = 0xFFFF;

class GfxFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    static char arg0[] = "brindle_tests";
    static char* argv[] = {arg0, nullptr};
    platformInit(1, argv);
    platformSetMessageBoxHook(boxHook);
    platformSimulatePresentFailures(0, 0);
    for (SurfaceSlot& s : surfaceSlots) s = SurfaceSlot{};
    resetGraphicsQueues();
    fakeNow = 1000;
    gfxSetClockForTests(fakeClock);
    settings.showDebugInfo = 0;
    ASSERT_EQ(startDisplay(800, 600, 16), 1);
    clearBackBuffer(0);
    dir = fs::temp_directory_path() / ("brindle-gfx-frame-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override {
    stopGraphics();
    for (SurfaceSlot& s : surfaceSlots) s = SurfaceSlot{};
    resetGraphicsQueues();
    platformSimulatePresentFailures(0, 0);
    platformSetMessageBoxHook(nullptr);
    gfxSetClockForTests(nullptr);
    settings.showDebugInfo = 0;
    fs::remove_all(dir);
  }
  static uint16_t px(int x, int y) { return backBuffer()->pixels[y * backBuffer()->pitch + x]; }
  static int countIn(int x0, int y0, int x1, int y1, uint16_t v) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += px(x, y) == v;
    return n;
  }
  // A slot holding a surface made here, with black as its key.
  static PlatSurface* makeSlot(int slot, int w, int h, uint16_t fill) {
    PlatSurface* s = platSurfaceCreate(w, h);
    platSurfaceFill(s, fill);
    surfaceSlots[slot].surface = s;
    surfaceSlots[slot].loaded = 1;
    surfaceSlots[slot].width = w;
    surfaceSlots[slot].height = h;
    surfaceSlots[slot].rawKey = matchSurfaceColor(s, KEY_BLACK);
    return s;
  }
  std::string path(const char* name) { return (dir / name).string(); }
  fs::path dir;
};

Sprite sprite(int slot, float x, float y, int sx, int sy, int w, int h, int opaque, int layer) {
  return Sprite{x, y, sx, sy, w, h, slot, opaque, layer};
}

}  // namespace

TEST_F(GfxFrame, DisplayStartClearAndFailure) {
  ASSERT_NE(backBuffer(), nullptr);
  EXPECT_EQ(backBuffer()->width, 800);
  EXPECT_EQ(backBuffer()->height, 600);
  clearBackBuffer(0x1234ABCD);  // only the low 16 bits are a pixel
  EXPECT_EQ(countIn(0, 0, 800, 600, 0xABCD), 800 * 600);
  clearBackBuffer(0);
  EXPECT_EQ(countIn(0, 0, 800, 600, 0), 800 * 600);
  // Only 800 x 600 at 16 bits exists.
  EXPECT_EQ(startDisplay(640, 480, 16), 0);
  EXPECT_EQ(lastBoxText, "ディスプレイモード設定に失敗");
  EXPECT_EQ(lastBoxCaption, "ごめんね");
  stopGraphics();
  EXPECT_EQ(backBuffer(), nullptr);
  stopGraphics();  // a second stop finds nothing to give back
  presentFrame();  // and frames without a display draw nothing, without failing
}

TEST_F(GfxFrame, StartGraphicsLoadsTheSlotsAndSurvivesMissingFiles) {
  stopGraphics();
  gfxtest::writeSolidBmp(path("chips.bmp"), 64, 32, {255, 0, 0});
  std::snprintf(doc.chipSheetPath, PATH_STORE, "%s", path("chips.bmp").c_str());
  std::snprintf(doc.wallpaperPath, PATH_STORE, "%s", path("no-wallpaper.bmp").c_str());
  settings.showWallpaper = 1;
  fakeNow = 5000;
  frameTiming.seconds = 3.0f;
  ASSERT_EQ(startGraphics(), 1);
  EXPECT_EQ(frameTiming.seconds, 0.0f);
  int32_t w = -1, h = -1;
  surfaceSize(SLOT_CHIPSHEET, &w, &h);
  EXPECT_EQ(w, 64);
  EXPECT_EQ(h, 32);
  EXPECT_EQ(surfaceSlots[SLOT_CHIPSHEET].loaded, 1);
  // The missing wallpaper leaves its slot empty but remembers the name.
  EXPECT_EQ(surfaceSlots[SLOT_WALLPAPER].surface, nullptr);
  EXPECT_EQ(surfaceSlots[SLOT_WALLPAPER].loaded, 0);
  EXPECT_STREQ(surfaceSlots[SLOT_WALLPAPER].name, doc.wallpaperPath);
  surfaceSize(SLOT_WALLPAPER, &w, &h);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(h, 0);
  EXPECT_STREQ(surfaceSlots[SLOT_MES].name, "MES");
  EXPECT_EQ(surfaceSlots[SLOT_MES].colorKey, KEY_MES);
  // Wallpaper not shown: slot 5 is not even tried.
  stopGraphics();
  for (SurfaceSlot& s : surfaceSlots) s = SurfaceSlot{};
  settings.showWallpaper = 0;
  gfxtest::writeSolidBmp(path("no-wallpaper.bmp"), 4, 4, {1, 2, 3});
  ASSERT_EQ(startGraphics(), 1);
  EXPECT_EQ(surfaceSlots[SLOT_WALLPAPER].name[0], '\0');
  surfaceSize(SLOT_WALLPAPER, &w, &h);
  EXPECT_EQ(w, 0);
  settings.showWallpaper = 1;
  doc.chipSheetPath[0] = doc.wallpaperPath[0] = 0;
}

TEST_F(GfxFrame, SlotsLoadReleaseAndMatchKeys) {
  gfxtest::writeBmp24(path("k.bmp"), 2, 1, {{0, 127, 0}, {9, 9, 9}});
  EXPECT_EQ(loadSurface(path("k.bmp").c_str(), SLOT_A, KEY_MES), 1);
  EXPECT_EQ(surfaceSlots[SLOT_A].rawKey, 0x03E0u);
  EXPECT_EQ(matchSurfaceColor(surfaceSlots[SLOT_A].surface, CLR_INVALID), 0x03E0u);  // its top-left pixel
  EXPECT_EQ(matchSurfaceColor(nullptr, KEY_BLACK), CLR_INVALID);
  // A reload into an occupied slot replaces the surface.
  EXPECT_EQ(loadSurface(path("k.bmp").c_str(), SLOT_A, KEY_BLACK), 1);
  EXPECT_EQ(surfaceSlots[SLOT_A].rawKey, 0u);
  // A failed load keeps the flag and the surface it had, but stores the name.
  EXPECT_EQ(loadSurface(path("gone.bmp").c_str(), SLOT_A, KEY_BLACK), 0);
  EXPECT_EQ(surfaceSlots[SLOT_A].loaded, 1);
  EXPECT_NE(surfaceSlots[SLOT_A].surface, nullptr);
  EXPECT_STREQ(surfaceSlots[SLOT_A].name, path("gone.bmp").c_str());
  releaseSurface(SLOT_A);
  EXPECT_EQ(surfaceSlots[SLOT_A].loaded, 0);
  EXPECT_EQ(surfaceSlots[SLOT_A].surface, nullptr);
  // Out-of-range slots are refused, not written.
  EXPECT_EQ(loadSurface(path("k.bmp").c_str(), SLOT_COUNT, KEY_BLACK), 0);
  EXPECT_EQ(loadSurface(path("k.bmp").c_str(), -1, KEY_BLACK), 0);
  releaseSurface(SLOT_COUNT);
  int32_t w = 7, h = 7;
  EXPECT_EQ(surfaceSize(SLOT_COUNT, &w, &h), 0);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(h, 0);
}

TEST_F(GfxFrame, SpritesAreClippedBeforeTheyReachTheBackBuffer) {
  PlatSurface* s = makeSlot(SLOT_A, 48, 48, 0);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 48; ++x) s->pixels[y * s->pitch + x] = uint16_t(0x100 + x);
  EXPECT_EQ(drawSprite(sprite(SLOT_A, -10, 100, 0, 0, 48, 48, 1, 1)), 1);
  EXPECT_EQ(frameQueues.blit[1][0].srcLeft, 10);
  EXPECT_EQ(frameQueues.blit[1][0].x, 0);
  EXPECT_EQ(drawSprite(sprite(SLOT_A, 790, 200, 0, 0, 48, 48, 1, 1)), 1);
  EXPECT_EQ(drawSprite(sprite(SLOT_A, -48, 300, 0, 0, 48, 48, 1, 1)), 0);
  EXPECT_EQ(drawSprite(sprite(SLOT_A, 300, 600, 0, 0, 48, 48, 1, 1)), 1);  // empty, draws nothing
  presentFrame();
  EXPECT_EQ(frameTiming.drawCount, 3);
  EXPECT_EQ(px(0, 100), 0x100 + 10);
  EXPECT_EQ(px(37, 147), 0x100 + 47);
  EXPECT_EQ(px(38, 100), 0);
  EXPECT_EQ(px(790, 200), 0x100);
  EXPECT_EQ(px(799, 247), 0x100 + 9);
  EXPECT_EQ(countIn(0, 201, 40, 249, 0), 40 * 48);  // nothing wrapped into the next rows
  EXPECT_EQ(countIn(0, 0, 800, 600, 0), 800 * 600 - 38 * 48 - 10 * 48);
  // A narrowed clip rectangle holds the copy inside it.
  clearBackBuffer(0);
  setClipRect(100, 100, 120, 110);
  EXPECT_EQ(drawSprite(sprite(SLOT_A, 90, 90, 0, 0, 48, 48, 1, 0)), 1);
  presentFrame();
  EXPECT_EQ(countIn(0, 0, 800, 600, 0), 800 * 600 - 20 * 10);
  EXPECT_EQ(px(100, 100), 0x100 + 10);
}

TEST_F(GfxFrame, KeyedOpaqueAndStretchedCopiesAndStaleSurfaces) {
  PlatSurface* s = makeSlot(SLOT_A, 4, 1, 0);
  s->pixels[1] = RED;
  s->pixels[3] = GREEN;
  clearBackBuffer(BLUE);
  drawSprite(sprite(SLOT_A, 10, 10, 0, 0, 4, 1, 0, 0));
  drawSprite(sprite(SLOT_A, 10, 20, 0, 0, 4, 1, 1, 0));
  blitStretched(100, 100, 8, 2, 0, 0, 4, 1, 0, 0, SLOT_A);
  blitStretched(100, 200, 8, 2, 0, 0, 4, 1, 1, 0, SLOT_A);
  presentFrame();
  EXPECT_EQ(px(10, 10), BLUE);
  EXPECT_EQ(px(11, 10), RED);
  EXPECT_EQ(px(12, 10), BLUE);
  EXPECT_EQ(px(13, 10), GREEN);
  EXPECT_EQ(px(10, 20), 0);
  EXPECT_EQ(px(12, 20), 0);
  for (int y = 100; y < 102; ++y) {
    EXPECT_EQ(px(100, y), BLUE);
    EXPECT_EQ(px(101, y), BLUE);
    EXPECT_EQ(px(102, y), RED);
    EXPECT_EQ(px(103, y), RED);
    EXPECT_EQ(px(106, y), GREEN);
    EXPECT_EQ(px(107, y), GREEN);
  }
  EXPECT_EQ(px(100, 102), BLUE);
  EXPECT_EQ(px(100, 200), 0);
  EXPECT_EQ(px(102, 201), RED);
  // A key that could not be matched makes the copy opaque.
  surfaceSlots[SLOT_A].rawKey = CLR_INVALID;
  drawSprite(sprite(SLOT_A, 10, 30, 0, 0, 4, 1, 0, 0));
  presentFrame();
  EXPECT_EQ(px(10, 30), 0);
  // A slot released after its copy was queued: the copy draws nothing and
  // does not read the freed surface; an empty slot's copies count but draw
  // nothing.
  drawSprite(sprite(SLOT_A, 10, 40, 0, 0, 4, 1, 1, 0));
  drawSprite(sprite(SLOT_B, 10, 50, 0, 0, 4, 1, 1, 0));
  drawSprite(sprite(SLOT_COUNT + 5, 10, 60, 0, 0, 4, 1, 1, 0));
  releaseSurface(SLOT_A);
  presentFrame();
  EXPECT_EQ(frameTiming.drawCount, 3);
  EXPECT_EQ(px(11, 40), BLUE);
}

TEST_F(GfxFrame, LayersStackCopiesThenTextsThenShapes) {
  makeSlot(SLOT_A, 32, 32, RED);
  makeSlot(SLOT_B, 32, 32, GREEN);
  // Higher layers cover lower ones whatever the order of the calls.
  drawSprite(sprite(SLOT_A, 0, 0, 0, 0, 32, 32, 1, 4));
  drawSprite(sprite(SLOT_B, 16, 0, 0, 0, 32, 32, 1, 1));
  // Within layer 2: the shape queued first still lies over the text, and
  // the text over the copy queued last.
  queueShape(200, 108, 300, 108, 1, 0x00FF00, SHAPE_LINE, 2);
  queueText(200, 100, 0xFFFFFF, "MMMM", 2);
  drawSprite(sprite(SLOT_A, 200, 100, 0, 0, 32, 16, 1, 2));
  presentFrame();
  EXPECT_EQ(px(20, 5), RED);
  EXPECT_EQ(px(40, 5), GREEN);
  EXPECT_EQ(countIn(200, 108, 300, 109, GREEN), 100);
  EXPECT_GT(countIn(200, 100, 232, 108, WHITE), 0);  // text over the copy
  EXPECT_EQ(frameTiming.drawCount, 5);
}

TEST_F(GfxFrame, LinesAndBoxesFollowTheEndPointRule) {
  queueShape(-1000000, 1000500, 1000000, -999500, 1, 0xFF0000, SHAPE_LINE, 0);  // huge diagonal, under the rest
  queueShape(0, 5, 10, 5, 1, 0xFFFFFF, SHAPE_LINE, 0);
  queueShape(60, 50, 50, 50, 1, 0xFFFFFF, SHAPE_LINE, 0);   // drawn right to left
  queueShape(30, 30, 40, 35, 1, 0x0000FF, SHAPE_LINE, 0);   // diagonal, red
  queueShape(10, 10, 20, 20, 1, 0xFFFFFF, SHAPE_BOX, 0);
  queueShape(-100000, 70, 2000000000, 70, 1, 0xFFFFFF, SHAPE_LINE, 0);  // long, clipped
  queueShape(-5, -5, 900, 700, 1, 0xFFFFFF, SHAPE_BOX, 1);              // outline off screen
  presentFrame();
  EXPECT_EQ(countIn(0, 5, 11, 6, WHITE), 10);
  EXPECT_EQ(px(10, 5), 0);
  EXPECT_EQ(px(50, 50), 0);
  EXPECT_EQ(countIn(51, 50, 61, 51, WHITE), 10);
  EXPECT_EQ(px(30, 30), RED);
  EXPECT_EQ(px(40, 35), 0);
  EXPECT_EQ(countIn(30, 30, 41, 36, RED), 10);
  EXPECT_EQ(countIn(10, 10, 21, 21, WHITE), 40);  // the 11 x 11 outline
  EXPECT_EQ(px(20, 20), WHITE);
  EXPECT_EQ(px(10, 20), WHITE);
  EXPECT_EQ(px(15, 15), 0);
  EXPECT_EQ(px(21, 10), 0);
  EXPECT_EQ(countIn(0, 70, 800, 71, WHITE), 800);
  EXPECT_GT(countIn(300, 0, 500, 200, BLUE), 150);  // along x + y = 500
  // The box around the screen has all four edges outside it.
  EXPECT_EQ(countIn(0, 0, 800, 1, WHITE) + countIn(0, 599, 800, 600, WHITE), 0);
  EXPECT_EQ(countIn(799, 0, 800, 600, WHITE), 1);  // only the long line's pixel
  EXPECT_EQ(frameTiming.drawCount, 7);
}

TEST_F(GfxFrame, WidePensCentreOnTheLine) {
  queueShape(100, 100, 140, 100, 3, 0xFFFFFF, SHAPE_LINE, 0);
  queueShape(200, 200, 240, 240, 3, 0x0000FF, SHAPE_BOX, 0);
  presentFrame();
  for (int y = 99; y <= 101; ++y) EXPECT_EQ(px(120, y), WHITE) << y;
  EXPECT_EQ(px(120, 98), 0);
  EXPECT_EQ(px(120, 102), 0);
  for (int d = -1; d <= 1; ++d) {
    EXPECT_EQ(px(220, 200 + d), RED);
    EXPECT_EQ(px(220, 240 + d), RED);
    EXPECT_EQ(px(200 + d, 220), RED);
    EXPECT_EQ(px(240 + d, 220), RED);
  }
  EXPECT_EQ(px(220, 202), 0);
  EXPECT_EQ(px(220, 197), 0);
  EXPECT_EQ(px(220, 220), 0);  // an outline, not filled
}

TEST_F(GfxFrame, TextsHaveABlackShadowAtTheLowerRight) {
  clearBackBuffer(BLUE);
  queueText(100, 100, 0xFFFFFF, SJIS("あW"), 1);
  queueText(300, 300, 0x0000FF, "\x82", 1);  // broken Shift_JIS: not drawn, still counted
  presentFrame();
  EXPECT_EQ(frameTiming.drawCount, 2);
  int white = 0, shadowed = 0, top = 600, left = 800;
  for (int y = 90; y < 130; ++y)
    for (int x = 90; x < 160; ++x) {
      if (px(x, y) != WHITE) continue;
      ++white;
      top = std::min(top, y);
      left = std::min(left, x);
      uint16_t below = px(x + 1, y + 1);
      EXPECT_TRUE(below == WHITE || below == 0) << x << "," << y;
      shadowed += below == 0;
    }
  EXPECT_GT(white, 20);
  EXPECT_GT(shadowed, 5);
  EXPECT_GE(top, 100);  // the cell's top is y: nothing above it
  EXPECT_LT(top, 106);
  EXPECT_GE(left, 100);
  EXPECT_EQ(countIn(0, 0, 800, 99, BLUE), 800 * 99);
  EXPECT_EQ(countIn(290, 290, 340, 320, BLUE), 50 * 30);
}

TEST_F(GfxFrame, FullQueuesDropFurtherItems) {
  makeSlot(SLOT_A, 1, 1, RED);
  for (int i = 0; i < BLIT_QUEUE_SIZE; ++i) ASSERT_EQ(drawSprite(sprite(SLOT_A, 5, 5, 0, 0, 1, 1, 1, 1)), 1);
  EXPECT_EQ(drawSprite(sprite(SLOT_A, 5, 5, 0, 0, 1, 1, 1, 1)), 0);
  blitStretched(0, 0, 1, 1, 0, 0, 1, 1, 1, 1, SLOT_A);
  EXPECT_EQ(frameQueues.blitCount[1], BLIT_QUEUE_SIZE);
  EXPECT_EQ(drawSprite(sprite(SLOT_A, 5, 5, 0, 0, 1, 1, 1, 2)), 1);  // other layers unaffected
  for (int i = 0; i < TEXT_QUEUE_SIZE + 1; ++i) queueText(0, 0, 0xFFFFFF, "a", 0);
  for (int i = 0; i < SHAPE_QUEUE_SIZE + 1; ++i) queueShape(0, 0, 1, 0, 1, 0xFFFFFF, SHAPE_LINE, 0);
  EXPECT_EQ(frameQueues.textCount[0], TEXT_QUEUE_SIZE);
  EXPECT_EQ(frameQueues.shapeCount[0], SHAPE_QUEUE_SIZE);
  EXPECT_EQ(drawSprite(sprite(SLOT_A, 5, 5, 0, 0, 1, 1, 1, LAYER_COUNT)), 0);
  presentFrame();
  EXPECT_EQ(frameTiming.drawCount, BLIT_QUEUE_SIZE + 1 + TEXT_QUEUE_SIZE + SHAPE_QUEUE_SIZE);
  EXPECT_EQ(frameQueues.blitCount[1] + frameQueues.blitCount[2] + frameQueues.textCount[0] + frameQueues.shapeCount[0],
            0);
}

// Attribute mode at the largest map window queues a chip and three digits
// per cell: at 16 and 8 px chips nothing of the window may be left out,
// down to the last column, the frame and the title drawn after the cells.
TEST_F(GfxFrame, AttributeModeAtTheLargestWindowDropsNothing) {
  PlatSurface* data = makeSlot(SLOT_DATA, 256, 256, WHITE);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      uint16_t& p = data->pixels[y * data->pitch + x];
      if (y >= 144 && y < 156) p = GREEN;                      // digits
      if (x >= 80 && x < 160 && y >= 80 && y < 103) p = BLUE;  // map title
    }
  makeSlot(SLOT_CHIPSHEET, 256, 256, RED);
  for (int32_t chip : {16, 8}) {
    SCOPED_TRACE(chip);
    resetMapModel();
    initSprites();
    resetEditorState();
    setMapCells(256, 256);
    setChipWidth(chip);
    setChipHeight(chip);
    editorSetSheetSizeForTests(256, 256);
    for (ViewWindow* v : {&session.sheetView, &session.mapView}) *v = ViewWindow{};
    for (ViewWindow* v : {&session.sheetView, &session.mapView}) {
      v->x = 6;
      v->y = 27;
      v->w = 788;
      v->h = 567;
    }
    settings.showGuideLines = 0;  // the pixels below sit on chip boundaries
    settings.autoScroll = 0;
    session.frontWindow = FRONT_MAP;
    session.toolMode = TOOL_ATTRIBUTE;
    frameState.mouseX = 400;
    frameState.mouseY = 300;
    inputState.buttonsHeld = inputState.buttonsPressed = inputState.mouseDX = inputState.mouseDY = 0;
    resetGraphicsQueues();
    composeEditorFrame();
    presentFrame();
    // The last column starts at 6 + 788 / chip * chip and is cut at 794.
    int32_t lastX = 6 + 788 / chip * chip;
    // A chip shows where no digits of its own or its neighbours' cover it:
    // row 1's bottom line at 16 px, row 0's top line at 8 px (the vertical
    // thumb lies right of it).
    EXPECT_EQ(px(lastX, chip == 16 ? 27 + 2 * chip - 1 : 27), RED);
    EXPECT_EQ(px(lastX + 2, 27 + chip + 5), GREEN);  // row 1's first digit
    EXPECT_EQ(px(793, 591), GREEN);  // the last row's digit in the last column
    EXPECT_EQ(px(796, 300), WHITE);   // the right edge of the frame
    EXPECT_EQ(px(400, 596), WHITE);   // its bottom edge
    EXPECT_EQ(px(797, 597), WHITE);   // its lower right corner
    EXPECT_EQ(px(40, 10), BLUE);      // the title
  }
  resetEditorState();
  resetMapModel();
}

TEST_F(GfxFrame, LostSurfacesReloadFromTheStoredNames) {
  gfxtest::writeSolidBmp(path("sheet.bmp"), 4, 4, {255, 0, 0});
  gfxtest::writeSolidBmp(path("paper.bmp"), 2, 2, {0, 0, 255});
  ASSERT_EQ(loadSurface(path("sheet.bmp").c_str(), SLOT_CHIPSHEET, KEY_BLACK), 1);
  ASSERT_EQ(loadSurface(path("paper.bmp").c_str(), SLOT_WALLPAPER, KEY_BLACK), 1);
  releaseSurface(SLOT_WALLPAPER);  // released for good: not reloaded
  std::snprintf(doc.chipSheetPath, PATH_STORE, "%s", path("elsewhere.bmp").c_str());
  // The file changes on disk while the display is away.
  gfxtest::writeSolidBmp(path("sheet.bmp"), 8, 4, {0, 255, 0});
  resetFrameClock();
  fakeNow += 30;
  platformSimulatePresentFailures(1, 0);
  presentFrame();
  EXPECT_EQ(frameTiming.seconds, 0.0f);  // the clock restarted
  ASSERT_NE(surfaceSlots[SLOT_CHIPSHEET].surface, nullptr);
  EXPECT_EQ(surfaceSlots[SLOT_CHIPSHEET].width, 8);
  EXPECT_EQ(surfaceSlots[SLOT_CHIPSHEET].surface->pixels[0], GREEN);
  EXPECT_EQ(surfaceSlots[SLOT_WALLPAPER].surface, nullptr);
  // A slot whose file vanished stays empty but is still asked for next time.
  fs::remove(path("sheet.bmp"));
  platformSimulatePresentFailures(1, 0);
  presentFrame();
  EXPECT_EQ(surfaceSlots[SLOT_CHIPSHEET].surface, nullptr);
  EXPECT_EQ(surfaceSlots[SLOT_CHIPSHEET].loaded, 1);
  doc.chipSheetPath[0] = 0;
}

TEST_F(GfxFrame, APresentThatKeepsFailingDoesNotHang) {
  platformSimulatePresentFailures(0, 1 << 30);
  presentBackBuffer();
  presentFrame();
  platformSimulatePresentFailures(1 << 30, 0);
  presentBackBuffer();
  platformSimulatePresentFailures(0, 0);
  drawSprite(sprite(SLOT_A, 0, 0, 0, 0, 1, 1, 1, 0));
  presentFrame();
  EXPECT_EQ(frameTiming.drawCount, 1);
}

TEST_F(GfxFrame, FrameTimeRateAndDebugLine) {
  resetFrameClock();
  fakeNow += 20;
  presentFrame();
  EXPECT_FLOAT_EQ(frameTiming.seconds, 0.02f);
  // The rate interval starts at 0, so the first frame ends one at once.
  EXPECT_EQ(frameTiming.framesPerSecond, 0);
  uint32_t start = fakeNow;
  for (int k = 1; k <= 60; ++k) {
    fakeNow = start + 16 * k;
    presentFrame();
  }
  EXPECT_EQ(frameTiming.framesPerSecond, 0);
  fakeNow = start + 1016;
  presentFrame();
  EXPECT_EQ(frameTiming.framesPerSecond, 60);  // 61 frames in 1016 ms
  fakeNow += 1000;
  presentFrame();
  EXPECT_EQ(frameTiming.framesPerSecond, 60);  // exactly 1000 ms does not end the interval
  fakeNow += 1;
  presentFrame();
  EXPECT_EQ(frameTiming.framesPerSecond, 1);  // 2 * 1000 / 1001
  // The debug line is queued on layer 3 after it was drawn, with this
  // frame's figures, and is one item of the next frame.
  settings.showDebugInfo = 1;
  resetFrameClock();
  drawSprite(sprite(SLOT_A, 0, 0, 0, 0, 1, 1, 1, 0));
  fakeNow += 20;
  presentFrame();
  queueDebugRateLine();
  ASSERT_EQ(frameQueues.textCount[3], 1);
  EXPECT_STREQ(frameQueues.text[3][0].text, "   1fps:0.0200ms,OBJ:1");
  EXPECT_EQ(frameQueues.text[3][0].x, 0);
  EXPECT_EQ(frameQueues.text[3][0].y, 584);
  EXPECT_EQ(frameQueues.text[3][0].color, 0x7F7FFFu);
  settings.showDebugInfo = 0;
  presentFrame();
  EXPECT_EQ(frameTiming.drawCount, 1);
  EXPECT_EQ(frameQueues.textCount[3], 0);
  // The clock wraps at 2^32 without a jump in the frame time.
  fakeNow = 0xFFFFFFF0u;
  resetFrameClock();
  fakeNow = 0x10u;
  presentFrame();
  EXPECT_FLOAT_EQ(frameTiming.seconds, 0.032f);
}

// Presenting only the parts whose commands changed gives, frame after frame,
// the canvas that composing everything gives. The same sequence of frames
// runs both ways from the same start: painted cells, a pointer, a copy that
// comes and goes, a zoomed picture redrawn in place under a clip, a clear
// instead of the paper now and then, texts and shapes that move or change.
// A frame equal to the one before composes nothing at all.
TEST_F(GfxFrame, DamagedPartsComposeAsTheWholeCanvasWould) {
  constexpr int SLOT_C = 22, FRAMES = 40, W = 800, H = 600;
  PlatSurface* chips = makeSlot(SLOT_A, 128, 32, 0);
  for (int i = 0; i < 128 * 32; ++i) chips->pixels[i] = (i % 5 == 0) ? 0 : static_cast<uint16_t>(i * 2654435761u >> 16);
  PlatSurface* paper = makeSlot(SLOT_B, W, H, 0);
  for (int i = 0; i < W * H; ++i) paper->pixels[i] = static_cast<uint16_t>(i * 40503u);
  makeSlot(SLOT_C, 16, 16, GREEN);
  std::vector<std::vector<uint16_t>> shown[2];
  for (int damaged = 0; damaged < 2; ++damaged) {
    setDamageTracking(damaged);
    clearBackBuffer(0);
    fillSurface(SLOT_C, 0, 0, 16, 16, 0x00FF00);
    uint32_t seed = 7;
    auto next = [&seed](uint32_t n) { seed = seed * 1103515245u + 12345u; return static_cast<int32_t>((seed >> 8) % n); };
    int chip[12][20] = {};
    char line[2][300];
    auto queueFrame = [&](int f) {
      if (f % 7 == 3) queueClear(static_cast<uint32_t>(f * 977));
      else drawSprite(sprite(SLOT_B, 0, 0, 0, 0, W, H, 1, 0));
      for (int k = next(3); k >= 0; --k) chip[next(12)][next(20)] = next(4);
      for (int r = 0; r < 12; ++r)
        for (int c = 0; c < 20; ++c)
          drawSprite(sprite(SLOT_A, float(90 + 33 * c), float(70 + 31 * r), chip[r][c] * 32, 0, 32, 32, c % 3, 1));
      if (f % 2 == 0) drawSprite(sprite(SLOT_A, 500, 500, 64, 0, 32, 32, 0, 2));  // every other frame only
      if (f % 5 == 0) fillSurface(SLOT_C, next(16), next(16), 3, 3, static_cast<uint32_t>(f * 0x10203));
      setClipRect(150, 120, 430, 333);
      drawScaled(140 + f, 110, 16 * 13, 16 * 13, 0, 0, 16, 16, f % 2, 2, SLOT_C);
      setClipRect(0, 0, W, H);
      blitStretched(600, 40 + f % 3, 70, 45, 3, 1, 29, 30, 0, 1, SLOT_A);
      std::snprintf(line[0], sizeof line[0], "%s %02d:%02d", SJIS("とけい"), f / 8, f % 8 / 4);
      queueText(W - 208, H - 20, 0xFFFFFF, line[0], 0);
      std::snprintf(line[1], sizeof line[1], "X:%4d Y:%4d", next(999), 12);
      queueText(next(W) - 40, next(H) - 10, 0x00FFFF, line[1], 3);
      queueText(10, 10, 0xFFFFFF, SJIS("ずっと同じ"), 3);
      queueShape(next(W), next(H), next(W), next(H), 1, 0x0000FF, SHAPE_LINE, 3);
      queueShape(200 + f * 3, 300, 260 + f * 3, 340, 1 + f % 2, 0xFF00FF, SHAPE_BOX, 2);
      queueShape(0, 599, 799, 599, 1, 0xFFFFFF, SHAPE_LINE, 4);
      drawSprite(sprite(SLOT_A, float(next(W + 40) - 20), float(next(H + 40) - 20), 96, 0, 32, 32, 0, 4));
    };
    for (int f = 0; f < FRAMES; ++f) {
      queueFrame(f);
      presentFrame();
      shown[damaged].emplace_back(backBuffer()->pixels, backBuffer()->pixels + W * H);
    }
    // The last frame once more: nothing to compose, so a pixel written
    // behind the queues' back stays where composing everything covers it.
    seed = 7;
    std::fill(&chip[0][0], &chip[0][0] + 12 * 20, 0);
    for (int f = 0; f < FRAMES; ++f) {
      for (int l = 0; l < LAYER_COUNT; ++l) frameQueues.blitCount[l] = frameQueues.textCount[l] = frameQueues.shapeCount[l] = 0;
      frameQueues.clearQueued = 0;
      queueFrame(f);  // the sequence replayed, to come to the same state
    }
    backBuffer()->pixels[1 + 1 * W] = 0x1234;
    PlatPresentCounts before, after;
    platformPresentCounts(&before);
    presentFrame();
    platformPresentCounts(&after);
    EXPECT_EQ(px(1, 1) == 0x1234, damaged == 1);
    EXPECT_EQ(after.changed - before.changed, 0u);  // nor was it compared
  }
  setDamageTracking(1);
  for (int f = 0; f < FRAMES; ++f) {
    const auto& a = shown[0][f];
    const auto& b = shown[1][f];
    const auto diff = std::mismatch(a.begin(), a.end(), b.begin());
    EXPECT_TRUE(diff.first == a.end()) << "frame " << f << " differs first at x " << (diff.first - a.begin()) % W
                                        << " y " << (diff.first - a.begin()) / W;
  }
}
