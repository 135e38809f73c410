// Picking chips from the sheet and copying cells from the map into the brush.
#include "editor/view_internal.h"
#include "editor_test_support.h"

namespace {
constexpr int32_t P = BTN_PRIMARY;
constexpr int32_t S = BTN_SECONDARY;
constexpr uint32_t CYAN = 0xFFFF7F;
constexpr uint32_t PINK = 0xFF7FFF;
// A point inside sheet chip (c, r) with 32-pixel chips and no scrolling.
int32_t chipX(int c) { return 24 + 32 * c + 5; }
int32_t chipY(int r) { return 112 + 32 * r + 5; }
}  // namespace

class SelectionTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    editorSetSheetSizeForTests(1024, 256);
  }
};

TEST_F(SelectionTest, PickOfOneChipAndAPickReleasedAtOnce) {
  step(chipX(2), chipY(1), P);
  EXPECT_EQ(gestureIs(GESTURE_PICK), 1);
  EXPECT_EQ(gestureHeld(), 1);
  step(chipX(2), chipY(1), P);
  step(chipX(2), chipY(1), 0);
  EXPECT_EQ(gestureIs(GESTURE_PICK), 0);
  EXPECT_EQ(gestureHeld(), 0);
  EXPECT_EQ(session.brushW, 1);
  EXPECT_EQ(session.brushH, 1);
  EXPECT_EQ(session.brushX[0], 64);
  EXPECT_EQ(session.brushY[0], 32);
  EXPECT_TRUE(hasText(2, "[64,32],1*1"));
  const ShapeCommand* hl = findShape(2, SHAPE_BOX, CYAN);
  ASSERT_NE(hl, nullptr);
  EXPECT_EQ(hl->left, 88);
  EXPECT_EQ(hl->top, 144);
  EXPECT_EQ(hl->right, 120);
  EXPECT_EQ(hl->bottom, 176);

  // No held frame (a quick click): the clicked chip is the pick all the same.
  step(chipX(5), chipY(5), P);
  step(chipX(5), chipY(5), 0);
  EXPECT_EQ(session.brushW, 1);
  EXPECT_EQ(session.brushX[0], 160);
  EXPECT_EQ(session.brushY[0], 160);
}

TEST_F(SelectionTest, DragsInBothDirectionsCoverBothEndChips) {
  // Leftwards from column 3 to column 1.
  step(chipX(3), chipY(0), P);
  step(chipX(1), chipY(0), P);
  EXPECT_EQ(session.pickLeft, 32);
  EXPECT_EQ(session.brushW, 3);
  EXPECT_EQ(session.brushH, 1);
  const ShapeCommand* band = findShape(3, SHAPE_BOX, PINK);
  ASSERT_NE(band, nullptr);
  EXPECT_EQ(band->left, 24 + 96 + 32);  // column 3's right edge
  EXPECT_EQ(band->right, 24 + 32);      // column 1's left edge
  step(chipX(1), chipY(0), 0);
  for (int c = 0; c < 3; ++c) EXPECT_EQ(session.brushX[cellIndex(c, 0)], 32 + 32 * c);

  // Rightwards onto the first pixel column of chip 5, anchor in chip 2, and
  // one row down.
  step(chipX(2), chipY(0), P);
  step(24 + 160, chipY(1), P);
  EXPECT_EQ(session.pickLeft, 64);
  EXPECT_EQ(session.brushW, 4);
  EXPECT_EQ(session.brushH, 2);
  step(24 + 160, chipY(1), 0);
  EXPECT_EQ(session.brushX[cellIndex(3, 1)], 64 + 96);
  EXPECT_EQ(session.brushY[cellIndex(3, 1)], 32);
}

TEST_F(SelectionTest, HeldRightOfTheSheetScrollsUntilItsEnd) {
  step(chipX(1), chipY(0), P);
  int32_t lastW = 0;
  for (int i = 0; i < 40; ++i) {
    step(24 + 256 + 20, chipY(0), P);
    EXPECT_GE(session.brushW, lastW);
    lastW = session.brushW;
  }
  EXPECT_EQ(session.sheetView.scrollX, 768);
  EXPECT_EQ(session.brushW, 31);  // chips 1 .. 31
  // Released outside the window: the block of the last held frame.
  step(24 + 256 + 20, 500, 0);
  EXPECT_EQ(session.brushW, 31);
  EXPECT_EQ(session.brushX[cellIndex(30, 0)], 32 + 30 * 32);
}

TEST_F(SelectionTest, PickWiderThanTheBrushIsCut) {
  setChipWidth(16);
  editorSetSheetSizeForTests(300 * 16, 256);
  frameTiming.seconds = 100.0f;
  step(24 + 5, 112 + 5, P);
  step(24 + 256 + 20, 112 + 5, P);
  step(24 + 256 + 20, 112 + 5, P);
  EXPECT_EQ(session.brushW, 256);
  step(24 + 256 + 20, 112 + 5, 0);
  EXPECT_EQ(session.brushX[cellIndex(255, 0)], 255 * 16);
}

TEST_F(SelectionTest, CopyFromTheMapAndTheSheetHighlight) {
  for (int c = 0; c < 40; ++c)
    for (int r = 0; r < 30; ++r) doc.planeX[cellIndex(c, r)] = c * 1000 + r;
  step(10, 590);
  EXPECT_EQ(countShapes(2, SHAPE_BOX, CYAN), 1);

  session.mapView.scrollX = 10;
  step(359, 181, S);  // map cell (2, 2)
  EXPECT_EQ(gestureIs(GESTURE_COPY), 1);
  EXPECT_EQ(session.frontWindow, 1);
  step(423, 213, S);  // cell (4, 3)
  EXPECT_TRUE(hasText(2, "[64,64],[160,128]"));
  EXPECT_NE(findShape(3, SHAPE_BOX, PINK), nullptr);
  // Released right of the window: column 15, cut by the window's right edge,
  // is left out.
  step(790, 213, 0);
  EXPECT_EQ(gestureIs(GESTURE_COPY), 0);
  EXPECT_EQ(gestureHeld(), 0);
  EXPECT_TRUE(session.brushFromMap);
  EXPECT_EQ(session.brushW, 13);
  EXPECT_EQ(session.brushH, 2);
  EXPECT_EQ(session.brushX[cellIndex(0, 0)], 2002);
  EXPECT_EQ(session.brushX[cellIndex(12, 1)], 14003);
  EXPECT_EQ(doc.planeX[cellIndex(2, 2)], 2002);
  EXPECT_EQ(doc.undoX[cellIndex(2, 2)], 0);  // no snapshot

  step(10, 590);
  EXPECT_EQ(countShapes(1, SHAPE_BOX, CYAN) + countShapes(2, SHAPE_BOX, CYAN), 0);
  EXPECT_TRUE(hasText(1, "[0,0],13*2"));

  // Released the frame after its press: the cell under the pointer.
  step(359 + 96, 181 + 96, S);
  step(359 + 96, 181 + 96, 0);
  EXPECT_EQ(session.brushW, 1);
  EXPECT_EQ(session.brushH, 1);
  EXPECT_EQ(session.brushX[0], 5005);

  // The next pick brings the highlight back.
  session.frontWindow = FRONT_SHEET;
  step(chipX(1), chipY(1), P);
  step(chipX(1), chipY(1), P);
  step(chipX(1), chipY(1), 0);
  EXPECT_FALSE(session.brushFromMap);
  EXPECT_EQ(countShapes(2, SHAPE_BOX, CYAN), 1);
}

TEST_F(SelectionTest, CopyBlockIsHeldInsideThePlanes) {
  doc.planeX[cellIndex(255, 0)] = 42;
  gesture.kind = GESTURE_COPY;
  gesture.copyAnchorX = 300 * doc.chipWidth;  // as if the map had shrunk under a wide window
  gesture.copyAnchorY = 0;
  input(10, 590, 0);
  session.mapView.scrollX = 290 * doc.chipWidth;
  updateCopyDrag(1);
  EXPECT_EQ(gestureIs(GESTURE_COPY), 0);
  EXPECT_EQ(session.brushW, 1);
  EXPECT_EQ(session.brushH, 14);  // rows 0 .. 13 down to the pointer
  EXPECT_EQ(session.brushX[0], 42);
}

// The two rules a dragged block follows, side by side on the same ends: the
// band's corner is already pushed past the pointer's chip when the drag runs
// right or down, an attribute drag's corner is the top-left of a cell inside
// the block. A drag that left its chip in either direction must cover both
// end chips under its own rule, and a click covers one.
TEST(ChipBlockRules, BandAndCellBlocksEachCoverBothEnds) {
  using editor_detail::bandBlock;
  using editor_detail::cellBlock;
  using editor_detail::ChipBlock;
  // With 16-pixel chips: right and down from chip (1, 1) to chip (3, 2), the
  // band's corner at the far edges (64, 48), the cell's at (48, 32); then
  // back from chip (3, 2) to chip (1, 1), where both corners are the near edge.
  const ChipBlock blocks[] = {bandBlock(16, 16, 64, 48, 16, 16), cellBlock(16, 16, 48, 32, 16, 16),
                              bandBlock(48, 32, 16, 16, 16, 16), cellBlock(48, 32, 16, 16, 16, 16)};
  for (const ChipBlock& b : blocks) {
    EXPECT_EQ(b.left, 16);
    EXPECT_EQ(b.top, 16);
    EXPECT_EQ(b.columns, 3);
    EXPECT_EQ(b.rows, 2);
  }
  // A click: the band's corner sits on its anchor (>= takes the anchor's
  // side), the cell rule counts the one cell from either side; the band's
  // rule read with a cell's corner would lose the pointer's chip.
  EXPECT_EQ(bandBlock(32, 32, 32, 32, 16, 16).columns, 1);
  EXPECT_EQ(cellBlock(32, 32, 32, 32, 16, 16).columns, 1);
  EXPECT_EQ(bandBlock(16, 16, 48, 32, 16, 16).columns, 2);
}

// The resting pointer scrolls only within the band around a window; a held
// drag scrolls however far out it is.
TEST_F(SelectionTest, OutsideScrollReachesOnlyAsFarAsAsked) {
  ViewWindow v{100, 100, 200, 100, 50, 50, {0, 0}, {0, 0}};
  advanceScrollStep();
  input(95, 150);  // 5 pixels left: in the band
  editor_detail::scrollTowardsPointer(v, screenMetrics.scrollBand);
  EXPECT_EQ(v.scrollX, 25);
  EXPECT_EQ(v.scrollY, 50);
  input(20, 90);  // far left and above: only a drag follows it, on both axes
  editor_detail::scrollTowardsPointer(v, screenMetrics.scrollBand);
  EXPECT_EQ(v.scrollX, 25);
  editor_detail::scrollTowardsPointer(v, editor_detail::DRAG_REACH);
  EXPECT_EQ(v.scrollX, 0);
  EXPECT_EQ(v.scrollY, 25);
  input(150, 150);  // inside: no scroll under either rule
  editor_detail::scrollTowardsPointer(v, editor_detail::DRAG_REACH);
  EXPECT_EQ(v.scrollX, 0);
  EXPECT_EQ(v.scrollY, 25);
}
