// Attribute mode: the rectangle, the dialog round trip and the digit glyphs.
#include "app/app.h"
#include "dialogs/dialogs.h"
#include "editor_test_support.h"

namespace {
constexpr int32_t P = BTN_PRIMARY;
int32_t cellX(int c) { return 300 + 32 * c + 5; }
int32_t cellY(int r) { return 112 + 32 * r + 5; }

int dialogCalls;
int32_t dialogSaw;
int32_t dialogCursor;
int dialogResult;
int32_t dialogValue;
int answerDialog(int32_t, int32_t* chosen) {
  ++dialogCalls;
  dialogSaw = session.currentAttribute;
  dialogCursor = systemCursor.shown;
  if (dialogResult == 1) *chosen = dialogValue;
  return dialogResult;
}
}  // namespace

class AttributeTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    session.toolMode = TOOL_ATTRIBUTE;
    attributeDialogHook = answerDialog;
    dialogCalls = 0;
    dialogSaw = dialogCursor = -1;
    dialogResult = 1;
    dialogValue = 0;
  }
  int32_t sumA() const {
    int32_t s = 0;
    for (int i = 0; i < MAP_CELLS; ++i) s += doc.planeA[i];
    return s;
  }
};

TEST_F(AttributeTest, OneCellIsAskedForAndWritten) {
  doc.planeA[cellIndex(3, 4)] = 7;
  step(cellX(3), cellY(4));
  const ShapeCommand* box = findShape(1, SHAPE_BOX, 0xFF7FFF);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->penWidth, 2);
  EXPECT_EQ(box->left, 396);
  EXPECT_EQ(box->top, 240);
  EXPECT_EQ(box->right, 428);
  EXPECT_EQ(box->bottom, 272);
  EXPECT_EQ(frameQueues.textCount[1], 2);  // the title line's history position and zoom, no status
  EXPECT_TRUE(hasText(1, "0/0"));

  step(cellX(3), cellY(4), P);
  EXPECT_EQ(gestureIs(GESTURE_ATTRIBUTE), 1);
  EXPECT_EQ(session.frontWindow, 0);  // the map window stays behind
  EXPECT_EQ(dialogCalls, 0);
  dialogValue = 42;
  step(cellX(3), cellY(4), 0);
  EXPECT_EQ(dialogCalls, 1);
  EXPECT_EQ(dialogSaw, 7);
  EXPECT_EQ(dialogCursor, 1);  // the system pointer is shown around the dialog
  EXPECT_EQ(systemCursor.shown, 0);
  EXPECT_EQ(doc.planeA[cellIndex(3, 4)], 42);
  EXPECT_EQ(doc.undoA[cellIndex(3, 4)], 7);
  EXPECT_EQ(sumA(), 42);
  EXPECT_EQ(gestureIs(GESTURE_ATTRIBUTE), 0);
  EXPECT_EQ(gestureHeld(), 0);
}

TEST_F(AttributeTest, DragFromFiveFiveToTwoSevenMarksFourByThree) {
  doc.planeA[cellIndex(2, 5)] = 11;
  doc.planeA[cellIndex(5, 5)] = 99;
  step(cellX(5), cellY(5), P);
  step(cellX(3), cellY(6), P);
  step(cellX(2), cellY(7), P);
  const ShapeCommand* box = findShape(1, SHAPE_BOX, 0xFF7FFF);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->left, 300 + 64);
  EXPECT_EQ(box->top, 112 + 160);
  EXPECT_EQ(box->right, 300 + 192);
  EXPECT_EQ(box->bottom, 112 + 256);
  dialogValue = 3;
  step(cellX(2), cellY(7), 0);
  EXPECT_EQ(dialogSaw, 11);
  for (int c = 0; c < 8; ++c)
    for (int r = 0; r < 10; ++r) {
      bool inBlock = c >= 2 && c <= 5 && r >= 5 && r <= 7;
      EXPECT_EQ(doc.planeA[cellIndex(c, r)], inBlock ? 3 : 0) << c << "," << r;
    }
  EXPECT_EQ(sumA(), 12 * 3);
}

TEST_F(AttributeTest, CancelLeavesMapAndUndoUntouched) {
  doc.planeA[cellIndex(1, 1)] = 5;
  doc.undoA[cellIndex(1, 1)] = 8;
  dialogResult = 0;
  step(cellX(1), cellY(1), P);
  step(cellX(2), cellY(2), P);
  step(cellX(2), cellY(2), 0);
  EXPECT_EQ(dialogCalls, 1);
  EXPECT_EQ(doc.planeA[cellIndex(1, 1)], 5);
  EXPECT_EQ(doc.planeA[cellIndex(2, 2)], 0);
  EXPECT_EQ(doc.undoA[cellIndex(1, 1)], 8);
  EXPECT_EQ(systemCursor.shown, 0);
  EXPECT_EQ(gestureHeld(), 0);
}

TEST_F(AttributeTest, DragPastTheEdgesStopsAtTheMap) {
  // Left and top: the view scrolls back and the corner stops at column and
  // row 0.
  session.mapView.scrollX = 50;
  session.mapView.scrollY = 50;
  step(cellX(1), cellY(1), P);  // image pixel (87, 87): cell (2, 2)
  step(200, 60, P);
  EXPECT_EQ(session.mapView.scrollX, 25);
  EXPECT_EQ(session.mapView.scrollY, 25);
  EXPECT_EQ(gesture.attrCornerX, 0);
  EXPECT_EQ(gesture.attrCornerY, 0);
  dialogValue = 1;
  step(200, 60, 0);
  EXPECT_EQ(doc.planeA[cellIndex(0, 0)], 1);
  EXPECT_EQ(doc.planeA[cellIndex(2, 2)], 1);
  EXPECT_EQ(doc.planeA[cellIndex(3, 3)], 0);
  EXPECT_EQ(sumA(), 9);

  // Right and bottom with the view at its end: cut at the map's last cell.
  session.mapView.scrollX = 800;
  session.mapView.scrollY = 490;
  step(cellX(13), cellY(13), P);
  step(799, 599, P);
  step(799, 599, P);
  dialogValue = 2;
  step(799, 599, 0);
  EXPECT_EQ(doc.planeA[cellIndex(39, 29)], 2);
  EXPECT_EQ(doc.planeA[cellIndex(40, 29)], 0);
  EXPECT_EQ(doc.planeA[cellIndex(39, 30)], 0);
}

TEST_F(AttributeTest, BlockBeyondASmallMapAsksNothing) {
  setMapCells(2, 1);  // 64 x 32 pixels; the window stays 80 x 32
  step(10, 590);
  step(300 + 70, 112 + 10, P);  // over the window, past the map's last column
  step(300 + 70, 112 + 10, 0);
  EXPECT_EQ(dialogCalls, 0);
  EXPECT_EQ(gestureHeld(), 0);
  EXPECT_EQ(sumA(), 0);
}

TEST_F(AttributeTest, OtherGesturesNeitherDrawNorScroll) {
  session.mapView.scrollX = 100;
  gesture.kind = GESTURE_MOVE;  // a window drag
  step(200, 300, P);
  EXPECT_EQ(countShapes(1, SHAPE_BOX, 0xFF7FFF), 0);
  EXPECT_EQ(session.mapView.scrollX, 100);
}

class DigitTest : public EditorTest {
 protected:
  // The glyph indexes queued on layer 4, left to right.
  std::string glyphs(int32_t value, int32_t count) {
    resetGraphicsQueues();
    drawDigits(100, 50, value, count, 4);
    std::string out(static_cast<size_t>(count > 0 ? count : 0), '?');
    for (int i = 0; i < frameQueues.blitCount[4]; ++i) {
      const BlitCommand& b = frameQueues.blit[4][i];
      EXPECT_EQ(b.srcTop, 144);
      EXPECT_EQ(b.srcBottom, 156);
      EXPECT_EQ(b.srcRight - b.srcLeft, 8);
      EXPECT_GE(b.srcLeft, 0);
      EXPECT_LE(b.srcLeft, 88);  // inside the 12-glyph row
      EXPECT_EQ(b.y, 50);
      int place = (b.x - 100) / 8;
      if (place >= 0 && place < count) out[static_cast<size_t>(place)] = "0123456789:/"[b.srcLeft / 8];
    }
    return out;
  }
};

TEST_F(DigitTest, ValuesInAndOutsideTheDialogRange) {
  EXPECT_EQ(glyphs(7, 3), "007");
  EXPECT_EQ(glyphs(0, 3), "000");
  EXPECT_EQ(glyphs(999, 3), "999");
  EXPECT_EQ(glyphs(1234, 3), "234");
  EXPECT_EQ(glyphs(1500, 3), "500");
  EXPECT_EQ(glyphs(-1, 3), "/01");
  EXPECT_EQ(glyphs(-1234, 3), "/34");
  EXPECT_EQ(glyphs(INT32_MIN, 3), "/48");
  EXPECT_EQ(glyphs(-5, 1), "/");
  EXPECT_EQ(glyphs(2147483647, 12), "002147483647");
  EXPECT_EQ(glyphs(5, 0), "");
  EXPECT_EQ(frameQueues.blitCount[4], 0);
  glyphs(5, -2);
  EXPECT_EQ(frameQueues.blitCount[4], 0);
}
