// The painting tools: on the planes alone (bucket, rectangle, 9-slice,
// replace, random and aligned stamps), then once through the tool strip and
// the map window as a user drives them.
#include <cstdio>
#include <set>
#include <utility>

#include "editor_test_support.h"
#include "map/history.h"
#include "platform/sjis.h"

namespace {

constexpr int32_t P = BTN_PRIMARY;

std::pair<int32_t, int32_t> chipAt(int c, int r) { return {doc.planeX[cellIndex(c, r)], doc.planeY[cellIndex(c, r)]}; }
void setChip(int c, int r, int32_t x, int32_t y) {
  doc.planeX[cellIndex(c, r)] = x;
  doc.planeY[cellIndex(c, r)] = y;
}
// A brush of w x h chips whose chip (c, r) sits at sheet pixel (16 c, 16 (r + 4)),
// so no brush chip is the empty chip (0, 0) of a cleared map.
void setBrush(int w, int h) {
  session.brushW = w;
  session.brushH = h;
  for (int c = 0; c < w; ++c)
    for (int r = 0; r < h; ++r) {
      session.brushX[cellIndex(c, r)] = 16 * c;
      session.brushY[cellIndex(c, r)] = 16 * (r + 4);
    }
}
std::pair<int32_t, int32_t> brushChip(int c, int r) { return {16 * c, 16 * (r + 4)}; }

}  // namespace

class PaintToolsTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    setChipWidth(16);
    setChipHeight(16);
  }
};

TEST_F(PaintToolsTest, BucketFillsTheConnectedRegionWithTheBrushTiledFromTheClickedCell) {
  setMapCells(6, 4);
  for (int r = 0; r < 4; ++r) setChip(3, r, 32, 0);  // a wall splits the empty map
  setChip(6, 0, 0, 0);                                // beyond the map: same chip as the region

  // The brush holds the region's own chip: the region must still fill whole.
  setBrush(2, 1);
  session.brushX[cellIndex(1, 0)] = 0;
  session.brushY[cellIndex(1, 0)] = 0;
  EXPECT_EQ(bucketFill(1, 1), 3 * 4);
  for (int c = 0; c < 3; ++c)
    for (int r = 0; r < 4; ++r) {
      // The lattice runs from column 1: it takes brush column 0, columns 0 and 2 column 1.
      const auto want = c == 1 ? brushChip(0, 0) : std::pair<int32_t, int32_t>{0, 0};
      EXPECT_EQ(chipAt(c, r), want) << c << "," << r;
    }
  EXPECT_EQ(chipAt(4, 0), (std::pair<int32_t, int32_t>{0, 0})) << "the other side of the wall";

  // The right side reaches the map's edge and stops there.
  setBrush(1, 1);
  EXPECT_EQ(bucketFill(5, 3), 2 * 4);
  EXPECT_EQ(chipAt(4, 0), brushChip(0, 0));
  EXPECT_EQ(chipAt(6, 0), (std::pair<int32_t, int32_t>{0, 0}));
  EXPECT_EQ(bucketFill(6, 0), 0) << "a click beyond the map fills nothing";

  // A whole 256 x 256 map is one region: the fixed queue holds every cell.
  setMapCells(256, 256);
  clearChipPlanes();
  EXPECT_EQ(bucketFill(255, 255), 256 * 256);
  EXPECT_EQ(chipAt(0, 0), brushChip(0, 0));
}

TEST_F(PaintToolsTest, RectangleTilesFromItsCornerAndNineSliceKeepsCornersAndSides) {
  setMapCells(10, 10);
  setBrush(2, 2);
  fillRectangle(3, 4, 3, 2);
  EXPECT_EQ(chipAt(3, 4), brushChip(0, 0));
  EXPECT_EQ(chipAt(4, 4), brushChip(1, 0));
  EXPECT_EQ(chipAt(5, 5), brushChip(0, 1));
  EXPECT_EQ(chipAt(6, 4), (std::pair<int32_t, int32_t>{0, 0}));
  fillRectangle(8, 8, 5, 5);  // cut where the map ends
  EXPECT_EQ(chipAt(9, 9), brushChip(1, 1));
  EXPECT_EQ(chipAt(10, 9), (std::pair<int32_t, int32_t>{0, 0}));

  clearChipPlanes();
  setBrush(3, 3);
  fillNineSlice(1, 1, 5, 4);  // columns 1..5, rows 1..4
  EXPECT_EQ(chipAt(1, 1), brushChip(0, 0));
  EXPECT_EQ(chipAt(5, 1), brushChip(2, 0));
  EXPECT_EQ(chipAt(1, 4), brushChip(0, 2));
  EXPECT_EQ(chipAt(5, 4), brushChip(2, 2));
  for (int c = 2; c <= 4; ++c) {
    EXPECT_EQ(chipAt(c, 1), brushChip(1, 0)) << "top side " << c;
    EXPECT_EQ(chipAt(c, 4), brushChip(1, 2)) << "bottom side " << c;
    for (int r = 2; r <= 3; ++r) EXPECT_EQ(chipAt(c, r), brushChip(1, 1)) << "inside " << c << "," << r;
  }
  EXPECT_EQ(chipAt(1, 2), brushChip(0, 1));
  EXPECT_EQ(chipAt(5, 3), brushChip(2, 1));
  // Under 3 x 3 the rectangle takes the corners that fit.
  clearChipPlanes();
  fillNineSlice(0, 0, 2, 1);
  EXPECT_EQ(chipAt(0, 0), brushChip(0, 0));
  EXPECT_EQ(chipAt(1, 0), brushChip(2, 0));
  // A 5 x 5 brush tiles its 3 x 3 inner block and its sides.
  clearChipPlanes();
  setBrush(5, 5);
  fillNineSlice(0, 0, 8, 3);
  EXPECT_EQ(chipAt(4, 0), brushChip(1, 0)) << "side cells 1, 2, 3 then 1 again";
  EXPECT_EQ(chipAt(7, 1), brushChip(4, 1));
}

TEST_F(PaintToolsTest, ReplaceChangesOnlyThatChipAndCountsIt) {
  setMapCells(8, 8);
  setBrush(2, 2);
  for (int c = 0; c < 8; c += 2) setChip(c, c, 48, 16);
  setChip(9, 9, 48, 16);  // beyond the map
  EXPECT_EQ(countChip(48, 16, 0, 0, 8, 8), 4);
  EXPECT_EQ(replaceChip(48, 16, 0, 0, 4, 4), 2);
  EXPECT_EQ(chipAt(2, 2), brushChip(0, 0));
  EXPECT_EQ(chipAt(4, 4), (std::pair<int32_t, int32_t>{48, 16}));
  EXPECT_EQ(replaceChip(48, 16, 0, 0, 8, 8), 2);
  EXPECT_EQ(chipAt(9, 9), (std::pair<int32_t, int32_t>{48, 16}));
  EXPECT_EQ(chipAt(1, 1), (std::pair<int32_t, int32_t>{0, 0}));
}

TEST_F(PaintToolsTest, RandomChipsStayPutWithinAStrokeAndAlignedStampsTile) {
  setMapCells(40, 30);
  setBrush(3, 3);
  std::set<std::pair<int32_t, int32_t>> block;
  for (int c = 0; c < 3; ++c)
    for (int r = 0; r < 3; ++r) block.insert(brushChip(c, r));

  session.randomMode = true;
  session.toolMode = TOOL_FREE;
  strokeStampAt(2, 2);
  std::set<std::pair<int32_t, int32_t>> used;
  std::pair<int32_t, int32_t> first[3][3];
  for (int c = 0; c < 3; ++c)
    for (int r = 0; r < 3; ++r) {
      first[c][r] = chipAt(2 + c, 2 + r);
      EXPECT_EQ(block.count(first[c][r]), 1u);
      used.insert(first[c][r]);
    }
  EXPECT_GT(used.size(), 2u) << "random, not the pattern";
  for (int k = 0; k < 5; ++k) strokeStampAt(2, 2);  // a resting pointer
  strokeStampAt(3, 2);                              // one cell on: only column 5 is new
  int changed = 0;
  for (int c = 0; c < 3; ++c)
    for (int r = 0; r < 3; ++r) changed += chipAt(2 + c, 2 + r) != first[c][r];
  EXPECT_EQ(changed, 0);
  endPaintStroke();
  strokeStampAt(2, 2);
  for (int c = 0; c < 3; ++c)
    for (int r = 0; r < 3; ++r) changed += chipAt(2 + c, 2 + r) != first[c][r];
  EXPECT_GT(changed, 0) << "a new stroke rolls again";

  // Aligned: stamps land on the 3 x 3 lattice of the stroke's first cell.
  endPaintStroke();
  clearChipPlanes();
  session.randomMode = false;
  session.alignedMode = true;
  strokeStampAt(10, 10);
  strokeStampAt(14, 11);  // inside the lattice block at (13, 10)
  EXPECT_EQ(chipAt(13, 10), brushChip(0, 0));
  EXPECT_EQ(chipAt(12, 10), brushChip(2, 0)) << "the first stamp is not overlapped";
  EXPECT_EQ(chipAt(16, 13), (std::pair<int32_t, int32_t>{0, 0}));
  strokeStampAt(8, 9);  // left of and above the anchor: the lattice goes on
  EXPECT_EQ(chipAt(7, 7), brushChip(0, 0));
  // POINT stamps where it is clicked, whatever the switch says.
  endPaintStroke();
  session.toolMode = TOOL_POINT;
  strokeStampAt(20, 20);
  strokeStampAt(21, 21);
  EXPECT_EQ(chipAt(21, 21), brushChip(0, 0));
}

// Through the editor: keys and strip buttons choose, the map window applies,
// each action is one undo step, and the replace count shows in the status.
TEST_F(PaintToolsTest, StripAndKeysDriveTheToolsOnTheMap) {
  setBrush(2, 2);
  auto uiStep = [&](int32_t x, int32_t y, int32_t held) { buttonsAndWindows(x, y, held); };
  auto cellX = [](int c) { return 300 + 16 * c + 5; };
  auto cellY = [](int r) { return 112 + 16 * r + 5; };

  inputState.keyState[0x19] = 0x80;  // P
  uiStep(10, 300, 0);
  EXPECT_EQ(session.toolMode, TOOL_RECT);
  uiStep(10, 300, 0);
  inputState.keyState[0x19] = 0;
  session.toolMode = TOOL_POINT;
  uiStep(10, 300, 0);
  EXPECT_EQ(session.toolMode, TOOL_POINT) << "a held key acts once";
  inputState.keyState[0x19] = 0x80;
  uiStep(10, 300, 0);
  inputState.keyState[0x19] = 0;
  EXPECT_EQ(session.toolMode, TOOL_RECT);

  // Rectangle from cell (1, 1) to cell (4, 2): one step.
  setChip(1, 1, 80, 80);
  uiStep(cellX(1), cellY(1), P);
  EXPECT_EQ(gesture.kind, GESTURE_MAP_RECT);
  uiStep(cellX(4), cellY(2), P);
  EXPECT_EQ(chipAt(1, 1), (std::pair<int32_t, int32_t>{80, 80})) << "nothing before the release";
  const BlitCommand* shown = findBlit(2, SLOT_CHIPSHEET, 16, 80);  // brush chip (1, 1) on cell (2, 2)
  ASSERT_NE(shown, nullptr) << "the cells to be filled show their chips while dragging";
  EXPECT_EQ(shown->x, 300 + 2 * 16);
  EXPECT_EQ(shown->y, 112 + 2 * 16);
  uiStep(cellX(4), cellY(2), 0);
  EXPECT_EQ(chipAt(1, 1), brushChip(0, 0));
  EXPECT_EQ(chipAt(4, 2), brushChip(1, 1));
  EXPECT_EQ(chipAt(5, 2), (std::pair<int32_t, int32_t>{0, 0}));
  undoStep();
  EXPECT_EQ(chipAt(1, 1), (std::pair<int32_t, int32_t>{80, 80}));
  EXPECT_EQ(chipAt(4, 2), (std::pair<int32_t, int32_t>{0, 0}));

  // The random switch by its strip button: press and release on it.
  uiStep(480 + 9, 66 + 9, P);
  EXPECT_FALSE(session.randomMode);
  uiStep(480 + 9, 66 + 9, 0);
  EXPECT_TRUE(session.randomMode);
  session.randomMode = false;

  // Replace by the R button: a click on a cell of chip (80, 80) replaces it
  // all over the map and says how many.
  setChip(30, 20, 80, 80);
  uiStep(450 + 9, 66 + 9, P);
  uiStep(450 + 9, 66 + 9, 0);
  EXPECT_EQ(session.toolMode, TOOL_REPLACE);
  uiStep(cellX(1), cellY(1), P);
  uiStep(cellX(1), cellY(1), 0);
  EXPECT_EQ(chipAt(30, 20), brushChip(0, 0));
  EXPECT_EQ(session.replacedCount, 2);
  uiStep(cellX(1), cellY(1), 0);
  char want[64];
  std::snprintf(want, sizeof want, SJIS("[16,16] %dマスおきかえたよ"), 2);
  EXPECT_TRUE(hasText(2, want));

  // With 1-pixel chips the window shows cells past the planes' 256 columns:
  // a press there has no chip to replace and starts nothing.
  setChipWidth(1);
  uiStep(300 + 400, cellY(1), P);
  EXPECT_EQ(gesture.kind, GESTURE_NONE);
  uiStep(300 + 400, cellY(1), 0);
}
