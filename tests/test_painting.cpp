// Brush ghost and painting on the map in POINT and FREE mode.
#include "editor_test_support.h"

namespace {
constexpr int32_t P = BTN_PRIMARY;
// Screen point inside map cell (c, r) with 16-pixel chips and no scrolling.
int32_t cellScreenX(int c) { return 300 + 16 * c + 5; }
int32_t cellScreenY(int r) { return 112 + 16 * r + 5; }
}  // namespace

class PaintingTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    setChipWidth(16);
    setChipHeight(16);
    session.brushX[0] = 48;
    session.brushY[0] = 80;
  }
};

TEST_F(PaintingTest, PointStampsOnlyTheCellOfThePressWithOneSnapshot) {
  doc.planeX[cellIndex(2, 1)] = 5;
  step(cellScreenX(2), cellScreenY(1));
  EXPECT_EQ(session.hoverCellX, 32);
  EXPECT_EQ(session.hoverCellY, 16);
  EXPECT_TRUE(hasText(1, "[32,16]"));
  const BlitCommand* ghost = findBlit(1, SLOT_CHIPSHEET, 48, 80);
  ASSERT_NE(ghost, nullptr);
  EXPECT_EQ(ghost->x, 332);
  EXPECT_EQ(ghost->y, 128);
  const ShapeCommand* box = findShape(1, SHAPE_BOX, 0xFFFFFF);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->left, 332);
  EXPECT_EQ(box->top, 128);
  EXPECT_EQ(box->right, 348);
  EXPECT_EQ(box->bottom, 144);
  EXPECT_EQ(doc.planeX[cellIndex(2, 1)], 5);  // hovering paints nothing

  step(cellScreenX(2), cellScreenY(1), P);
  EXPECT_EQ(doc.planeX[cellIndex(2, 1)], 48);
  EXPECT_EQ(doc.planeY[cellIndex(2, 1)], 80);
  EXPECT_EQ(doc.undoX[cellIndex(2, 1)], 5);
  EXPECT_EQ(session.frontWindow, 1);
  step(cellScreenX(4), cellScreenY(3), P);
  step(cellScreenX(5), cellScreenY(3), P);
  step(cellScreenX(5), cellScreenY(3), 0);
  EXPECT_EQ(doc.planeX[cellIndex(4, 3)], 0);
  EXPECT_EQ(doc.planeX[cellIndex(5, 3)], 0);
  undoStep();
  EXPECT_EQ(doc.planeX[cellIndex(2, 1)], 5);

  // Status text reports map pixels whatever the scroll offsets.
  session.mapView.scrollX = 8;
  step(300 + 32 - 8 + 5, cellScreenY(1));
  EXPECT_TRUE(hasText(2, "[32,16]"));
}

TEST_F(PaintingTest, FreeStrokeStampsEveryHeldFrameAndUndoesAsOne) {
  session.toolMode = TOOL_FREE;
  doc.planeX[cellIndex(1, 1)] = 9;
  step(cellScreenX(1), cellScreenY(1), P);
  step(cellScreenX(2), cellScreenY(1), P);
  step(cellScreenX(3), cellScreenY(1), P);
  step(cellScreenX(3), cellScreenY(1), 0);
  for (int c = 1; c <= 3; ++c) EXPECT_EQ(doc.planeX[cellIndex(c, 1)], 48) << c;
  EXPECT_EQ(doc.undoX[cellIndex(1, 1)], 9);
  EXPECT_EQ(doc.undoX[cellIndex(2, 1)], 0);
  EXPECT_EQ(undoStep(), 1);
  EXPECT_EQ(undoStep(), 0);  // the stroke was one step
  EXPECT_EQ(doc.planeX[cellIndex(1, 1)], 9);
  EXPECT_EQ(doc.planeX[cellIndex(2, 1)], 0);
  EXPECT_EQ(doc.planeX[cellIndex(3, 1)], 0);
}

// A stroke that entered the window with the button down is a step of its
// own, and a pointer that jumps several cells in one frame leaves a line of
// stamps behind, not two.
TEST_F(PaintingTest, StrokeIsOneStepWithoutGapsWhereverItBegan) {
  session.toolMode = TOOL_FREE;
  doc.planeX[cellIndex(6, 6)] = 77;
  step(150, 590, P);  // empty screen: nothing reacts
  EXPECT_EQ(gestureHeld(), 0);
  step(cellScreenX(6), cellScreenY(6), P);
  step(cellScreenX(12), cellScreenY(9), P);
  step(cellScreenX(12), cellScreenY(9), 0);
  int painted = 0;
  for (int c = 0; c < 20; ++c)
    for (int r = 0; r < 20; ++r)
      if (doc.planeX[cellIndex(c, r)] == 48) {
        ++painted;
        EXPECT_TRUE(c >= 6 && c <= 12 && r >= 6 && r <= 9) << c << "," << r;
      }
  EXPECT_EQ(painted, 7);  // one cell in each column crossed
  for (int c = 6; c <= 12; ++c) {
    int inColumn = 0;
    for (int r = 6; r <= 9; ++r) inColumn += doc.planeX[cellIndex(c, r)] == 48;
    EXPECT_EQ(inColumn, 1) << c;
  }
  // A stamp after the release starts afresh: no line back to (12, 9).
  step(cellScreenX(1), cellScreenY(1), P);
  step(cellScreenX(1), cellScreenY(1), 0);
  EXPECT_EQ(doc.planeX[cellIndex(5, 3)], 0);
  EXPECT_EQ(undoStep(), 1);
  EXPECT_EQ(undoStep(), 1);
  EXPECT_EQ(doc.planeX[cellIndex(6, 6)], 77);
  EXPECT_EQ(doc.planeX[cellIndex(9, 7)] + doc.planeX[cellIndex(9, 8)], 0);
  EXPECT_EQ(undoStep(), 0);
}

TEST_F(PaintingTest, StrokeBegunOutsideTheWindowIsOneUndoStepOfItsOwn) {
  session.toolMode = TOOL_FREE;
  step(cellScreenX(5), cellScreenY(6), P);  // the change before the stroke
  step(cellScreenX(5), cellScreenY(6));
  endFrameHistoryStep();  // as the frame driver does once the button is up
  session.brushX[0] = 64;
  step(150, 590, P);  // empty screen: nothing reacts
  EXPECT_EQ(gestureHeld(), 0);
  step(cellScreenX(6), cellScreenY(6), P);
  step(cellScreenX(7), cellScreenY(6), P);
  step(150, 590, P);  // out and in again: still the same stroke
  step(cellScreenX(8), cellScreenY(6), P);
  step(cellScreenX(8), cellScreenY(6));
  EXPECT_EQ(doc.planeX[cellIndex(6, 6)], 64);
  EXPECT_EQ(doc.planeX[cellIndex(8, 6)], 64);
  runCommand(4);  // UNDO takes back the stroke alone
  EXPECT_EQ(doc.planeX[cellIndex(5, 6)], 48);
  EXPECT_EQ(doc.planeX[cellIndex(6, 6)], 0);
  EXPECT_EQ(doc.planeX[cellIndex(7, 6)], 0);
  EXPECT_EQ(doc.planeX[cellIndex(8, 6)], 0);
}

TEST_F(PaintingTest, OverhangingBrushWritesUpToPlaneEdgeOnly) {
  session.brushW = session.brushH = 4;
  for (int c = 0; c < 4; ++c)
    for (int r = 0; r < 4; ++r) session.brushX[cellIndex(c, r)] = 100 + c * 10 + r;
  doc.planeX[cellIndex(255, 0)] = -1;
  doc.planeX[cellIndex(0, 0)] = -1;
  stampBrush(254, 254);
  EXPECT_EQ(doc.planeX[cellIndex(254, 254)], 100);
  EXPECT_EQ(doc.planeX[cellIndex(255, 255)], 111);
  // Rows past 255 must not spill into the next column's first rows.
  EXPECT_EQ(doc.planeX[cellIndex(255, 0)], -1);
  EXPECT_EQ(doc.planeX[cellIndex(255, 1)], 0);
  EXPECT_EQ(doc.planeX[cellIndex(0, 0)], -1);
  EXPECT_EQ(doc.planeA[cellIndex(254, 254)], 0);

  // Beyond the map size but inside the planes is written too.
  stampBrush(39, 29);
  EXPECT_EQ(doc.planeX[cellIndex(42, 32)], 133);

  // Near the window's bottom-right the outline is held inside the window.
  session.frontWindow = FRONT_MAP;
  session.mapView.scrollX = 160;  // 640 x 480 map in 480 x 470
  session.mapView.scrollY = 10;
  step(300 + 478, 112 + 468);
  const ShapeCommand* box = findShape(2, SHAPE_BOX, 0xFFFFFF);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->right, 780);
  EXPECT_EQ(box->bottom, 582);
  for (int i = 0; i < frameQueues.blitCount[2]; ++i) {
    const BlitCommand& b = frameQueues.blit[2][i];
    if (b.slot == SLOT_CHIPSHEET && b.srcLeft >= 100 && b.srcLeft < 200) {
      EXPECT_LE(b.x + (b.srcRight - b.srcLeft), 780);
    }
  }
}

TEST_F(PaintingTest, OtherGesturesAndAttributeModeKeepTheBrushIdle) {
  session.frontWindow = FRONT_MAP;
  gesture.kind = GESTURE_MOVE;  // a window drag of either window
  step(cellScreenX(2), cellScreenY(2), P);
  EXPECT_EQ(doc.planeX[cellIndex(2, 2)], 0);
  EXPECT_EQ(findBlit(2, SLOT_CHIPSHEET, 48, 80), nullptr);
  gesture.kind = GESTURE_NONE;
  step(cellScreenX(2), cellScreenY(2), 0);
  session.toolMode = TOOL_ATTRIBUTE;
  step(cellScreenX(2), cellScreenY(2), 0);
  EXPECT_EQ(findBlit(2, SLOT_CHIPSHEET, 48, 80), nullptr);
  EXPECT_EQ(countShapes(2, SHAPE_BOX, 0xFFFFFF), 0);
  EXPECT_EQ(frameQueues.textCount[2], 2);  // the title line's history position and zoom, no status
  EXPECT_TRUE(hasText(2, "0/0"));

  // Both buttons pressed together: stamp, then a copy starts.
  session.toolMode = TOOL_POINT;
  step(cellScreenX(3), cellScreenY(3), 0);
  step(cellScreenX(3), cellScreenY(3), P | BTN_SECONDARY);
  EXPECT_EQ(doc.planeX[cellIndex(3, 3)], 48);
  EXPECT_EQ(gestureIs(GESTURE_COPY), 1);
  EXPECT_EQ(gestureHeld(), 1);
}
