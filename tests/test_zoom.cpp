// The map window zoomed: hit testing, painting, copying and drawing at 1/4x
// and 2x, the map's pictures, and the wheel and zoom keys through the real
// input layer.
#include <algorithm>

#include "editor_test_support.h"

#include "platform/sjis.h"
#include "platform/surface.h"
#include "platform/testing.h"

namespace {
constexpr int32_t P = BTN_PRIMARY;
constexpr uint32_t RED = 0x0000FF;
int32_t cell(int c, int r) { return doc.planeX[cellIndex(c, r)]; }
uint16_t pictureAt(int slot, int x, int y) {
  const PlatSurface* s = surfaceSlots[slot].surface;
  return s->pixels[y * s->pitch + x];
}
}  // namespace

class ZoomTest : public DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    // A 64 x 32 sheet: chip (0, 0) black, chip (32, 0) red.
    ASSERT_EQ(createBlankSurface(SLOT_CHIPSHEET, 64, 32), 1);
    fillSurface(SLOT_CHIPSHEET, 32, 0, 32, 32, RED);
    session.brushX[0] = 32;
    session.frontWindow = FRONT_MAP;
  }
  void TearDown() override {
    releaseSurface(SLOT_CHIPSHEET);
    releaseSurface(SLOT_MAP_PICTURE);
    releaseSurface(SLOT_ATTRIBUTE_PICTURE);
    DeviceTest::TearDown();
  }
};

TEST_F(ZoomTest, QuarterAndDoubleZoomHitPaintCopyAndDrawTheRightCells) {
  // 1/4x: the 40 x 30 map of 32 px chips is 320 x 240 and fits the default
  // 480 x 470 window, which keeps its size for the way back.
  setMapZoom(-2, 300, 112);
  const int32_t qx = 300 + 8 * 5 + 3, qy = 112 + 8 * 7 + 3;  // cell (5, 7)
  step(qx, qy);
  EXPECT_EQ(session.mapView.w, 480);
  EXPECT_EQ(session.mapView.h, 470);
  EXPECT_EQ(session.hoverCellX, 160);
  EXPECT_EQ(session.hoverCellY, 224);
  EXPECT_TRUE(hasText(2, "[160,224]"));  // map pixels, not screen pixels
  const ShapeCommand* box = findShape(2, SHAPE_BOX, 0xFFFFFF);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->left, 340);
  EXPECT_EQ(box->right, 348);
  // The whole map is one copy of its picture, whatever the cell count.
  EXPECT_EQ(countBlitsFrom(2, SLOT_MAP_PICTURE), 1);
  const BlitCommand* map = findBlit(2, SLOT_MAP_PICTURE, 0, 0);
  ASSERT_NE(map, nullptr);
  EXPECT_EQ(map->dstRight - map->dstLeft, 320);
  EXPECT_EQ(map->srcRight, 1280);
  // The ghost is the brush chip shrunk onto the hover cell.
  const BlitCommand* ghost = findBlit(2, SLOT_CHIPSHEET, 32, 0);
  ASSERT_NE(ghost, nullptr);
  EXPECT_EQ(ghost->dstLeft, 340);
  EXPECT_EQ(ghost->dstRight, 348);
  step(qx, qy, P);
  step(qx, qy);
  EXPECT_EQ(cell(5, 7), 32);
  EXPECT_EQ(cell(4, 7) + cell(6, 7) + cell(5, 6) + cell(5, 8), 0);

  // 2x about the window's corner: cell (2, 1) is 64 pixels a side.
  setMapZoom(1, 300, 112);
  const int32_t dx = 300 + 64 * 2 + 10, dy = 112 + 64 + 10;
  step(dx, dy, P);
  step(dx, dy);
  EXPECT_EQ(cell(2, 1), 32);
  EXPECT_EQ(session.hoverCellX, 64);
  const BlitCommand* painted = findBlit(2, SLOT_CHIPSHEET, 32, 0);
  ASSERT_NE(painted, nullptr);
  EXPECT_EQ(painted->dstRight - painted->dstLeft, 64);
  EXPECT_EQ(painted->srcRight - painted->srcLeft, 32);
  // A copy at 2x from (2, 1) to (3, 2) takes those four cells.
  doc.planeX[cellIndex(3, 2)] = 7;
  step(dx, dy, BTN_SECONDARY);
  step(dx + 64, dy + 64, BTN_SECONDARY);
  step(dx + 64, dy + 64);
  EXPECT_EQ(session.brushW, 2);
  EXPECT_EQ(session.brushH, 2);
  EXPECT_EQ(session.brushX[cellIndex(0, 0)], 32);
  EXPECT_EQ(session.brushX[cellIndex(1, 1)], 7);
}

TEST_F(ZoomTest, WheelScrollsZoomsAboutThePointerAndItsChordsLeaveNothing) {
  // At 1x the 1280 x 960 map scrolls: a notch down is 3 cells.
  platformTestWheel(-1);
  tick(500, 300);
  EXPECT_EQ(session.mapView.scrollY, 96);
  // Shift+wheel sideways; Shift's own press (a copy) is taken back.
  platformTestSetKey(0x2A, 1);
  tick(500, 300);
  EXPECT_EQ(gestureIs(GESTURE_COPY), 1);
  platformTestWheel(-2);
  tick(500, 300);
  platformTestSetKey(0x2A, 0);
  tick(500, 300);
  EXPECT_EQ(session.mapView.scrollX, 192);
  EXPECT_EQ(gestureHeld(), 0);
  EXPECT_EQ(session.brushX[0], 32);  // no copy was taken

  // Ctrl+wheel zooms in about the pointer; Ctrl's stamp is taken back.
  const int32_t mx = 200 + 192, my = 188 + 96;  // the map pixel under (500, 300)
  platformTestSetKey(0x1D, 1);
  tick(500, 300);
  EXPECT_EQ(cell(mx / 32, my / 32), 32);
  platformTestWheel(1);
  tick(500, 300);
  platformTestSetKey(0x1D, 0);
  tick(500, 300);
  EXPECT_EQ(session.mapZoom, 1);
  EXPECT_EQ(cell(mx / 32, my / 32), 0);
  EXPECT_EQ(history.count, 0u);
  EXPECT_EQ(session.hoverCellX, mx / 32 * 32);
  EXPECT_EQ(session.hoverCellY, my / 32 * 32);

  // + is Shift and =: held at 2x, and Shift copies nothing; - and keypad -
  // step out, 0 is 1x again.
  platformTestSetKey(0x2A, 1);
  platformTestSetKey(0x0D, 1);
  tick(500, 300);
  platformTestSetKey(0x0D, 0);
  platformTestSetKey(0x2A, 0);
  tick(500, 300);
  EXPECT_EQ(session.mapZoom, 1);
  EXPECT_EQ(session.brushX[0], 32);
  platformTestSetKey(0x0C, 1);
  tick(500, 300);
  platformTestSetKey(0x0C, 0);
  tick(500, 300);
  EXPECT_EQ(session.mapZoom, 0);
  platformTestSetKey(0x4A, 1);
  tick(500, 300);
  platformTestSetKey(0x4A, 0);
  tick(500, 300);
  EXPECT_EQ(session.mapZoom, -1);
  platformTestSetKey(0x0B, 1);
  tick(500, 300);
  platformTestSetKey(0x0B, 0);
  EXPECT_EQ(session.mapZoom, 0);

  // The middle button drags the view under the pointer, with the hand.
  tick(500, 300);
  const int32_t sx = session.mapView.scrollX, sy = session.mapView.scrollY;
  platformTestMouse(0, 0, 4);
  tick(500, 300);
  EXPECT_EQ(gestureIs(GESTURE_PAN), 1);
  platformTestMouse(-40, -20, 4);
  tick(500, 300);
  EXPECT_EQ(lastShape, POINTER_GRAB);
  EXPECT_EQ(session.mapView.scrollX, std::min(sx + 40, 800));
  EXPECT_EQ(session.mapView.scrollY, std::min(sy + 20, 490));
  platformTestMouse(0, 0, 0);
  tick(500, 300);
  EXPECT_EQ(gestureHeld(), 0);
}

TEST_F(ZoomTest, PicturesFollowChangedCellsAndAttributesShowAsColours) {
  doc.planeX[cellIndex(1, 1)] = 32;
  doc.planeA[cellIndex(2, 3)] = 5;
  syncMapPictures();
  const uint16_t red = platColorToRaw(RED);
  EXPECT_EQ(pictureAt(SLOT_MAP_PICTURE, 40, 40), red);
  EXPECT_EQ(pictureAt(SLOT_MAP_PICTURE, 70, 40), 0);
  EXPECT_EQ(pictureAt(SLOT_ATTRIBUTE_PICTURE, 2, 3), platColorToRaw(attributeColor(5)));
  // Whoever writes a cell (here an undo-like direct write), the next sync shows it.
  doc.planeX[cellIndex(1, 1)] = 0;
  doc.planeX[cellIndex(39, 29)] = 32;
  doc.planeA[cellIndex(2, 3)] = 0;
  syncMapPictures();
  EXPECT_EQ(pictureAt(SLOT_MAP_PICTURE, 40, 40), 0);
  EXPECT_EQ(pictureAt(SLOT_MAP_PICTURE, 39 * 32 + 5, 29 * 32 + 5), red);
  EXPECT_EQ(pictureAt(SLOT_ATTRIBUTE_PICTURE, 2, 3), platColorToRaw(attributeColor(0)));
  // One colour a value: the small values are told apart.
  for (int a = 0; a <= 8; ++a)
    for (int b = a + 1; b <= 8; ++b) EXPECT_NE(platColorToRaw(attributeColor(a)), platColorToRaw(attributeColor(b)));

  // A map too wide for a 4096-pixel picture is kept at half its size.
  setMapCellsX(256);
  setMapCellsY(256);
  syncMapPictures();
  EXPECT_EQ(mapPictureShift(), -1);
  EXPECT_EQ(surfaceSlots[SLOT_MAP_PICTURE].width, 4096);
  EXPECT_EQ(pictureAt(SLOT_MAP_PICTURE, 39 * 16 + 3, 29 * 16 + 3), red);

  // Below 1x in attribute mode the status gives the value under the pointer.
  setMapCellsX(40);
  setMapCellsY(30);
  doc.planeA[cellIndex(5, 7)] = 12;
  session.toolMode = TOOL_ATTRIBUTE;
  setMapZoom(-2, 300, 112);
  step(300 + 8 * 5 + 3, 112 + 8 * 7 + 3);
  EXPECT_EQ(countBlitsFrom(2, SLOT_ATTRIBUTE_PICTURE), 1);
  EXPECT_TRUE(hasText(2, SJIS("[160,224] 属性12")));
  int digits = 0;
  for (int i = 0; i < frameQueues.blitCount[2]; ++i)
    digits += frameQueues.blit[2][i].slot == SLOT_DATA && frameQueues.blit[2][i].srcTop == 144;
  EXPECT_EQ(digits, 0);
}

TEST(ZoomRaster, ClippedStretchKeepsThePictureGrid) {
  PlatSurface* src = platSurfaceCreate(2, 1);
  PlatSurface* dst = platSurfaceCreate(8, 1);
  src->pixels[0] = 1;
  src->pixels[1] = 2;
  platSurfaceFill(dst, 9);
  // Doubled onto x 0..4 but written only on 1..3: the cut falls inside a
  // doubled pixel, which keeps its source.
  platSurfaceStretchClipped(dst, 0, 0, 4, 1, 1, 0, 3, 1, src, 0, 0, 2, 1, 0, 0);
  EXPECT_EQ(dst->pixels[0], 9);
  EXPECT_EQ(dst->pixels[1], 1);
  EXPECT_EQ(dst->pixels[2], 2);
  EXPECT_EQ(dst->pixels[3], 9);
  platSurfaceDestroy(src);
  platSurfaceDestroy(dst);
}

TEST_F(ZoomTest, FullestFramesDropNothingAtAnyZoom) {
  // The smallest chip, the largest map and window, the largest brush: at
  // every zoom and in painting and attribute mode no queue fills up, on the
  // classic canvas and on the largest.
  setChipWidth(8);
  setChipHeight(8);
  setMapCellsX(256);
  setMapCellsY(256);
  session.brushW = session.brushH = 256;
  for (const ScreenMetrics& canvas : {measureScreen(800, 600, 0), measureScreen(2560, 1600, 1)}) {
    screenMetrics = canvas;
    const int32_t w = canvas.windowMaxRight - 6, h = canvas.windowMaxBottom - 27;
    session.mapView = ViewWindow{6, 27, w, h, 0, 0, {}, {}};
    for (ToolMode tool : {TOOL_POINT, TOOL_ATTRIBUTE})
      for (int32_t z = MAP_ZOOM_MIN; z <= MAP_ZOOM_MAX; ++z) {
        SCOPED_TRACE(testing::Message() << "canvas " << canvas.canvasW << " tool " << tool << " zoom " << z);
        session.toolMode = tool;
        setMapZoom(z, 6, 27);
        step(10, 31);
        EXPECT_EQ(session.mapView.w, std::min(w, 256 * 8));  // no wider than the map at 1:1
        for (int l = 0; l < LAYER_COUNT; ++l) {
          EXPECT_LT(frameQueues.blitCount[l], BLIT_QUEUE_SIZE) << "layer " << l;
          EXPECT_LT(frameQueues.shapeCount[l], SHAPE_QUEUE_SIZE) << "layer " << l;
          EXPECT_LT(frameQueues.textCount[l], TEXT_QUEUE_SIZE) << "layer " << l;
        }
        EXPECT_EQ(countBlitsFrom(2, SLOT_MAP_PICTURE), z < 0 ? 1 : 0);
        // The window's frame and title, queued after the cells, are there.
        EXPECT_NE(findBlit(2, SLOT_DATA, 80, 80), nullptr);
      }
  }
  screenMetrics = measureScreen(800, 600, 0);
}

TEST_F(ZoomTest, ZeroInThePreviewTogglesTheWholeMapFittedToTheScreen) {
  session.editorMode = EDITOR_PREVIEW;
  keys({0x0B}, 1);
  tick(400, 300);
  keys({0x0B}, 0);
  tick(400, 300);
  EXPECT_TRUE(preview.fitted);
  EXPECT_EQ(session.mapZoom, 0);  // the map window's zoom is not the preview's
  // 1280 x 960 fits 800 x 600 exactly; a 40 x 10 map (1280 x 320) is centred
  // in a 800 x 200 band.
  resetGraphicsQueues();
  composeEditorFrame();
  const BlitCommand* fit = findBlit(1, SLOT_MAP_PICTURE, 0, 0);
  ASSERT_NE(fit, nullptr);
  EXPECT_EQ(fit->dstRight - fit->dstLeft, 800);
  EXPECT_EQ(fit->dstBottom - fit->dstTop, 600);
  setMapCellsY(10);
  resetGraphicsQueues();
  composeEditorFrame();
  fit = findBlit(1, SLOT_MAP_PICTURE, 0, 0);
  ASSERT_NE(fit, nullptr);
  EXPECT_EQ(fit->dstTop, 200);
  EXPECT_EQ(fit->dstBottom, 400);
  EXPECT_EQ(fit->srcBottom, 320);
  keys({0x0B}, 1);
  tick(400, 300);
  EXPECT_FALSE(preview.fitted);
}
