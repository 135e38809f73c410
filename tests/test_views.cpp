// View windows: hit tests, moving, resizing, scrolling, thumbs and what one
// frame of a window queues.
#include <limits>

#include "editor_test_support.h"

namespace {
constexpr int32_t P = BTN_PRIMARY;
}

class ViewWindowTest : public EditorTest {};

TEST_F(ViewWindowTest, TitleAndResizeZonesAreStrictOnEveryEdge) {
  // Map window at (300, 112), 480 x 470: title zone (300, 88, 80, 23),
  // bottom zone (300, 582, 488, 8), right zone (780, 112, 8, 478).
  struct Probe {
    int32_t x, y;
    bool inside;
  };
  const Probe title[] = {{300, 100, false}, {301, 100, true}, {379, 100, true}, {380, 100, false},
                         {340, 88, false},  {340, 89, true},  {340, 110, true}, {340, 111, false}};
  for (const Probe& p : title) {
    step(p.x, p.y, P);
    EXPECT_EQ(gestureIs(GESTURE_MOVE, &session.mapView), p.inside ? 1 : 0) << p.x << "," << p.y;
    EXPECT_EQ(gestureHeld(), p.inside ? 1 : 0);
    step(p.x, p.y, 0);
    EXPECT_EQ(gestureIs(GESTURE_MOVE, &session.mapView), 0);
    EXPECT_EQ(gestureHeld(), 0);
  }
  const Probe resize[] = {{400, 582, false}, {400, 583, true}, {400, 589, true}, {400, 590, false},
                          {780, 300, false}, {781, 300, true}, {787, 300, true}, {788, 300, false}};
  for (const Probe& p : resize) {
    step(p.x, p.y, 0);
    EXPECT_EQ(lastShape == 2, p.inside) << p.x << "," << p.y;
    step(p.x, p.y, P);
    EXPECT_EQ(gestureIs(GESTURE_RESIZE, &session.mapView), p.inside ? 1 : 0) << p.x << "," << p.y;
    step(p.x, p.y, 0);
    EXPECT_EQ(gestureIs(GESTURE_RESIZE, &session.mapView), 0);
  }
  // Starting a drag brings the map window to the front.
  EXPECT_EQ(session.frontWindow, 1);
}

TEST_F(ViewWindowTest, MoveClampsAndTheWindowSettlesAtTheBottomRight) {
  step(340, 100, P);
  ASSERT_EQ(gestureIs(GESTURE_MOVE, &session.mapView), 1);
  step(340, 100, P, -1000, -1000);
  EXPECT_EQ(session.mapView.x, 6);
  EXPECT_EQ(session.mapView.y, 27);
  EXPECT_EQ(lastShape, 0);
  const BlitCommand* t = findBlit(2, SLOT_DATA, 80, 80);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->x, 0);
  EXPECT_EQ(t->y, 0);

  step(340, 100, P, 2000, 2000);
  EXPECT_EQ(session.mapView.x, 726);
  EXPECT_EQ(session.mapView.y, 606);
  // This frame the height is 594 - 606 < 0: nothing of the map is drawn.
  EXPECT_EQ(session.mapView.w, 68);
  EXPECT_LT(session.mapView.h, 0);
  EXPECT_EQ(countBlitsFrom(2, SLOT_CHIPSHEET), 0);
  EXPECT_EQ(countShapes(2, SHAPE_LINE, 0x808080), 0);

  step(340, 100, P);
  EXPECT_EQ(session.mapView.w, 80);
  EXPECT_EQ(session.mapView.h, 32);
  t = findBlit(2, SLOT_DATA, 80, 80);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->x, 720);
  EXPECT_EQ(t->y, 579);

  // The release frame changes no geometry.
  step(340, 100, 0, -50, -50);
  EXPECT_EQ(gestureIs(GESTURE_MOVE, &session.mapView), 0);
  EXPECT_EQ(gestureHeld(), 0);
  EXPECT_EQ(session.mapView.x, 726);
  EXPECT_EQ(session.mapView.y, 606);
}

TEST_F(ViewWindowTest, ResizeStopsAtImageScreenLimitAndMinimum) {
  editorSetSheetSizeForTests(150, 120);
  session.sheetView.x = 600;
  step(10, 590);
  step(10, 590);
  ASSERT_EQ(session.sheetView.w, 150);
  ASSERT_EQ(session.sheetView.h, 120);

  step(752, 150, P);  // right zone (750, 112, 8, 128)
  ASSERT_EQ(gestureIs(GESTURE_RESIZE, &session.sheetView), 1);
  step(752, 150, P, 100, 0);
  EXPECT_EQ(session.sheetView.w, 194);  // 794 - x, wider than the image while pushing
  step(752, 150, P, 0, 0);
  EXPECT_EQ(session.sheetView.w, 150);  // back to the image without motion
  step(752, 150, P, 30, 0);
  EXPECT_EQ(session.sheetView.w, 150);
  step(752, 150, P, 0, 500);
  EXPECT_EQ(session.sheetView.h, 594 - 112);  // the screen limit wins over the image
  step(752, 150, P, 0, 0);
  EXPECT_EQ(session.sheetView.h, 120);
  step(752, 150, P, -500, -500);
  EXPECT_EQ(session.sheetView.w, 80);
  EXPECT_EQ(session.sheetView.h, 32);
  step(752, 150, 0);
  EXPECT_EQ(gestureIs(GESTURE_RESIZE, &session.sheetView), 0);
  EXPECT_EQ(gestureHeld(), 0);
  EXPECT_EQ(session.frontWindow, 0);
}

TEST_F(ViewWindowTest, WindowLargerThanItsImageReadsOnlyTheImage) {
  editorSetSheetSizeForTests(50, 20);
  settings.autoScroll = 1;
  step(10, 590);  // 256 is cut to the image, then raised to the minimum
  step(10, 590);
  EXPECT_EQ(session.sheetView.w, 80);
  EXPECT_EQ(session.sheetView.h, 32);
  // Pointer in the right and bottom auto-scroll bands: the empty scroll range
  // holds the offsets at 0.
  step(24 + 80 + 5, 112 + 32 + 5);
  EXPECT_EQ(session.sheetView.scrollX, 0);
  EXPECT_EQ(session.sheetView.scrollY, 0);
  const BlitCommand* content = findBlit(2, SLOT_CHIPSHEET, 0, 0);
  ASSERT_NE(content, nullptr);
  EXPECT_EQ(content->srcRight, 50);
  EXPECT_EQ(content->srcBottom, 20);
  EXPECT_EQ(content->x, 24);
  EXPECT_EQ(content->y, 112);
  // Thumbs rest at the start instead of dividing by a negative span.
  EXPECT_FLOAT_EQ(session.sheetView.hThumb[0], 24.0f);
  EXPECT_FLOAT_EQ(session.sheetView.vThumb[1], 112.0f);

  // No bitmap at all: no copy from the chip-sheet slot.
  editorSetSheetSizeForTests(0, 0);
  step(10, 590);
  EXPECT_EQ(countBlitsFrom(2, SLOT_CHIPSHEET), 0);
  EXPECT_EQ(session.sheetView.w, 80);
  EXPECT_EQ(session.sheetView.h, 32);
}

TEST_F(ViewWindowTest, MapScrollRangesAndThumbHitRectangle) {
  setChipWidth(16);
  setChipHeight(16);  // 40 x 30 cells: 640 x 480 pixels in a 480 x 470 window
  frameTiming.seconds = 10.0f;
  step(10, 590, BTN_RIGHT | BTN_DOWN);
  EXPECT_EQ(session.mapView.scrollX, 160);
  EXPECT_EQ(session.mapView.scrollY, 10);
  step(10, 590, BTN_LEFT | BTN_UP);
  EXPECT_EQ(session.mapView.scrollX, 0);
  EXPECT_EQ(session.mapView.scrollY, 0);

  frameTiming.seconds = 0.0625f;
  session.mapView.scrollX = 80;
  step(10, 590);
  // 80 / 160 x 473 + 300 = 536.5; hit rectangle (535, 578, 9, 15).
  EXPECT_FLOAT_EQ(session.mapView.hThumb[0], 536.5f);
  EXPECT_FLOAT_EQ(session.mapView.hThumb[1], 579.0f);
  step(535, 585);
  EXPECT_NE(lastShape, 3);
  step(536, 585);
  EXPECT_EQ(lastShape, 3);
  step(543, 585);
  EXPECT_EQ(lastShape, 3);
  step(544, 585);
  EXPECT_NE(lastShape, 3);

  step(536, 585, P);
  ASSERT_EQ(gestureIs(GESTURE_THUMB, &session.mapView), 1);
  EXPECT_EQ(gestureIs(GESTURE_RESIZE, &session.mapView), 0);
  step(600, 585, P, 10, 3);
  EXPECT_EQ(session.mapView.scrollX, 90);
  EXPECT_EQ(session.mapView.scrollY, 3);
  step(600, 585, 0, 10, 3);
  EXPECT_EQ(gestureIs(GESTURE_THUMB, &session.mapView), 0);
  EXPECT_EQ(session.mapView.scrollX, 90);

  // A map that fits: no thumbs are drawn, and the last drawn positions are
  // no longer hit-testable.
  setMapCells(30, 29);  // 480 x 464
  step(10, 590);
  EXPECT_EQ(session.mapView.h, 464);
  EXPECT_EQ(session.mapView.scrollX, 0);
  step(10, 590);
  EXPECT_EQ(findBlit(2, SLOT_DATA, 16, 112), nullptr);
  EXPECT_EQ(findBlit(2, SLOT_DATA, 0, 112), nullptr);
  step(static_cast<int32_t>(session.mapView.hThumb[0]) + 2, static_cast<int32_t>(session.mapView.hThumb[1]) + 2);
  EXPECT_NE(lastShape, 3);
}

TEST_F(ViewWindowTest, AutoScrollBandsOfACornerScrollDiagonally) {
  session.mapView.scrollX = session.mapView.scrollY = 100;  // 1280 x 960 map
  step(295, 107);
  EXPECT_EQ(session.mapView.scrollX, 100);  // option off
  EXPECT_EQ(session.mapView.scrollY, 100);
  settings.autoScroll = 1;
  step(295, 107);
  EXPECT_EQ(session.mapView.scrollX, 75);
  EXPECT_EQ(session.mapView.scrollY, 75);
  step(785, 587);
  EXPECT_EQ(session.mapView.scrollX, 100);
  EXPECT_EQ(session.mapView.scrollY, 100);
  // A gesture in progress stops the band.
  gesture.kind = GESTURE_MOVE;
  step(295, 107);
  EXPECT_EQ(session.mapView.scrollX, 100);
}

TEST_F(ViewWindowTest, FrontWindowClaimsThePointerFirst) {
  editorSetSheetSizeForTests(512, 512);
  session.brushX[0] = 96;
  step(10, 590);
  session.sheetView.x = 320;
  session.sheetView.y = 130;
  doc.planeX[cellIndex(3, 2)] = 7;
  step(400, 200, P);  // map cell (3, 2) lies under the sheet window
  EXPECT_EQ(gestureIs(GESTURE_PICK), 1);
  EXPECT_EQ(doc.planeX[cellIndex(3, 2)], 7);
  EXPECT_EQ(countShapes(1, SHAPE_BOX, 0xFFFFFF), 0);
  step(400, 200, P);
  step(400, 200, 0);
  EXPECT_EQ(gestureIs(GESTURE_PICK), 0);
  EXPECT_EQ(session.brushX[0], 64);  // the sheet chip under the pointer

  session.frontWindow = FRONT_MAP;
  step(400, 200, P);
  EXPECT_EQ(doc.planeX[cellIndex(3, 2)], 64);
  EXPECT_EQ(gestureIs(GESTURE_PICK), 0);
}

// The pointer goes to the first handler in the one walk, whatever order the
// handlers run in: a command button over a window's title, a middle press
// over a thumb (the pan comes before the thumbs).
TEST_F(ViewWindowTest, TheWalkNotTheCallOrderDecidesWhoTakesThePointer) {
  session.sheetView.y = 40;  // its title bar (16..39) under the first command button
  auto windowsFirst = [&](int32_t x, int32_t y, int32_t held) { buttonsAndWindows(x, y, held, true); };
  windowsFirst(40, 30, P);
  EXPECT_EQ(gestureIs(GESTURE_MOVE), 0);
  EXPECT_EQ(gestureIs(GESTURE_BUTTON), 1);
  EXPECT_EQ(session.pressedButton, 0);
  windowsFirst(500, 300, 0);  // released off the button: no command
  EXPECT_EQ(gestureHeld(), 0);
  windowsFirst(40, 30, 0);
  EXPECT_EQ(session.sheetView.y, 40);

  setChipWidth(16);
  setChipHeight(16);
  session.mapView.scrollX = 80;
  step(10, 590);  // places the map's thumbs
  step(537, 580, BTN_MOUSE3);  // on the thumb and the content
  EXPECT_EQ(gestureIs(GESTURE_PAN, &session.mapView), 1);
  EXPECT_EQ(gestureIs(GESTURE_THUMB, &session.mapView), 0);
}

TEST_F(ViewWindowTest, OneFrameQueuesCellsFrameTitleThumbsAndGrid) {
  setChipWidth(16);
  setChipHeight(16);
  for (int c = 0; c < 40; ++c)
    for (int r = 0; r < 30; ++r) {
      doc.planeX[cellIndex(c, r)] = c * 16;
      doc.planeY[cellIndex(c, r)] = r * 16 + 1000;
    }
  session.frontWindow = FRONT_MAP;
  step(10, 590);
  // Columns 0..30, rows 0..29, columns outer: column 30 starts on the clip
  // edge and is queued empty.
  const int cells = 31 * 30;
  ASSERT_GE(frameQueues.blitCount[2], cells + 4);
  for (int c = 0; c <= 30; ++c)
    for (int r = 0; r < 30; ++r) {
      const BlitCommand& b = frameQueues.blit[2][c * 30 + r];
      ASSERT_EQ(b.slot, SLOT_CHIPSHEET);
      EXPECT_EQ(b.x, 300 + 16 * c);
      EXPECT_EQ(b.y, 112 + 16 * r);
      EXPECT_EQ(b.srcLeft, c * 16);
      EXPECT_EQ(b.srcTop, r * 16 + 1000);
      EXPECT_EQ(b.srcRight - b.srcLeft, c < 30 ? 16 : 0);
    }
  // Frame: four corners, then 7 full and one 32-pixel top and bottom pieces,
  // 7 full and one 22-pixel left and right pieces.
  const BlitCommand* q = &frameQueues.blit[2][cells];
  EXPECT_EQ(q[0].x, 294);
  EXPECT_EQ(q[0].y, 106);
  EXPECT_EQ(q[0].srcLeft, 0);
  EXPECT_EQ(q[0].srcTop, 96);
  EXPECT_EQ(q[3].x, 780);
  EXPECT_EQ(q[3].y, 582);
  EXPECT_EQ(q[3].srcLeft, 10);
  EXPECT_EQ(q[3].srcTop, 106);
  EXPECT_EQ(q[4 + 7].x, 300 + 448);
  EXPECT_EQ(q[4 + 7].srcRight - q[4 + 7].srcLeft, 32);
  const BlitCommand& lastLeft = q[4 + 16 + 7];
  EXPECT_EQ(lastLeft.x, 294);
  EXPECT_EQ(lastLeft.y, 112 + 448);
  EXPECT_EQ(lastLeft.srcBottom - lastLeft.srcTop, 22);
  const BlitCommand& title = q[36];
  EXPECT_EQ(title.srcLeft, 80);
  EXPECT_EQ(title.srcTop, 80);
  EXPECT_EQ(title.x, 294);
  EXPECT_EQ(title.y, 85);
  // The opaque title strip from the title image to the frame's right edge,
  // which hides the texts of a window behind.
  EXPECT_EQ(q[37].stretched, 1);
  EXPECT_EQ(q[37].dstLeft, 374);
  EXPECT_EQ(q[37].dstRight, 786);
  EXPECT_EQ(q[37].dstTop, 85);
  EXPECT_EQ(q[37].dstBottom, 108);
  EXPECT_EQ(q[38].srcLeft, 16);  // horizontal thumb at (300, 579)
  EXPECT_EQ(q[38].x, 300);
  EXPECT_EQ(q[38].y, 579);
  EXPECT_EQ(q[39].x, 777);  // vertical thumb at (777, 112)
  EXPECT_EQ(q[39].y, 112);
  EXPECT_EQ(frameQueues.blitCount[2], cells + 40);

  EXPECT_EQ(countShapes(2, SHAPE_LINE, 0x808080), 29 + 29);
  const ShapeCommand* first = findShape(2, SHAPE_LINE, 0x808080);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->left, 316);
  EXPECT_EQ(first->top, 112);
  EXPECT_EQ(first->right, 316);
  EXPECT_EQ(first->bottom, 582);
  EXPECT_EQ(first->penWidth, 1);
  // The chip-sheet window behind draws on layer 1.
  EXPECT_NE(findBlit(1, SLOT_DATA, 80, 112), nullptr);
  EXPECT_EQ(frameQueues.clipLeft, 0);
  EXPECT_EQ(frameQueues.clipRight, screenMetrics.canvasW);

  settings.showGuideLines = 0;
  step(10, 590);
  EXPECT_EQ(countShapes(2, SHAPE_LINE, 0x808080), 0);
}

TEST_F(ViewWindowTest, AttributeModeDrawsThreeDigitsAfterEachCell) {
  doc.planeA[cellIndex(0, 0)] = 123;
  doc.planeA[cellIndex(0, 1)] = 1234;
  session.toolMode = TOOL_ATTRIBUTE;
  session.frontWindow = FRONT_MAP;
  step(10, 590);
  session.mapView.w = 160;
  session.mapView.h = 96;
  step(10, 590);
  const BlitCommand* q = frameQueues.blit[2];
  EXPECT_EQ(q[0].slot, SLOT_CHIPSHEET);
  // Lowest digit first, at the right: 3, 2, 1 at x + 17, x + 9, x + 1.
  const int32_t src[3] = {24, 16, 8};
  const int32_t at[3] = {317, 309, 301};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(q[1 + i].slot, SLOT_DATA);
    EXPECT_EQ(q[1 + i].srcLeft, src[i]);
    EXPECT_EQ(q[1 + i].srcTop, 144);
    EXPECT_EQ(q[1 + i].x, at[i]);
    EXPECT_EQ(q[1 + i].y, 113);
    EXPECT_EQ(q[1 + i].flags, BLTFAST_WAIT | BLTFAST_SRCCOLORKEY);
  }
  EXPECT_EQ(q[4].slot, SLOT_CHIPSHEET);
  EXPECT_EQ(q[5].srcLeft, 32);  // 1234 shows as 234: 4, 3, 2
  EXPECT_EQ(q[6].srcLeft, 24);
  EXPECT_EQ(q[7].srcLeft, 16);
  EXPECT_EQ(q[7].y, 145);
  // Columns 0..5 and rows 0..3 are queued; the last column and row start on
  // the clip edge, so their digits fall outside and are dropped.
  EXPECT_EQ(countBlitsFrom(2, SLOT_CHIPSHEET), 24);
  int digits = 0;
  for (int i = 0; i < frameQueues.blitCount[2]; ++i)
    if (q[i].slot == SLOT_DATA && q[i].srcTop == 144) ++digits;
  EXPECT_EQ(digits, 5 * 3 * 3);
}

TEST_F(ViewWindowTest, PlacementsRoundTripThroughTheSettings) {
  settings.mapViewX = 5000;
  settings.mapViewY = -40;
  settings.mapViewWidth = 2000000000;
  settings.mapViewHeight = -7;
  loadViewsFromSettings();
  EXPECT_EQ(session.mapView.x, 726);
  EXPECT_EQ(session.mapView.y, 27);
  EXPECT_LE(session.mapView.x + session.mapView.w, 794);
  EXPECT_GE(session.mapView.h, 32);
  EXPECT_EQ(session.sheetView.x, 24);
  EXPECT_EQ(session.sheetView.w, 256);
  session.sheetView.x = 40;
  session.sheetView.h = 99;
  storeViewsToSettings();
  EXPECT_EQ(settings.sheetViewX, 40);
  EXPECT_EQ(settings.sheetViewHeight, 99);
  EXPECT_EQ(settings.mapViewX, 726);
}

TEST_F(ViewWindowTest, ScrollStepCarriesTheFractionAndHoldsBrokenTimes) {
  settings.scrollSpeed = 100;
  frameTiming.seconds = 0.0099f;  // 0.99 px a frame: truncated alone it never moves
  int32_t total = 0;
  for (int i = 0; i < 100; ++i) {
    advanceScrollStep();
    total += scrollStep();
  }
  EXPECT_NEAR(total, 99, 1);
  frameTiming.seconds = std::numeric_limits<float>::infinity();
  advanceScrollStep();
  EXPECT_EQ(scrollStep(), 0);
  frameTiming.seconds = 1e30f;
  advanceScrollStep();
  EXPECT_EQ(scrollStep(), 2147483647);
}
