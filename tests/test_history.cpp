// The undo history on the planes, and the chords whose Ctrl press must leave
// nothing behind.
#include <cstdio>
#include <initializer_list>
#include <string>

#include "editor_test_support.h"
#include "platform/testing.h"

namespace {

void setCell(int c, int r, int32_t x) { doc.planeX[cellIndex(c, r)] = x; }
int32_t cell(int c, int r) { return doc.planeX[cellIndex(c, r)]; }

}  // namespace

// The unsaved mark follows the history: stepping back to what the file holds
// clears it, a step that changed nothing never sets it for good, and a change
// the history does not hold (another chip sheet) keeps it until a save.
TEST(History, TheUnsavedMarkFollowsTheStepsBackToTheSavedState) {
  resetMapModel();
  resetUndo();
  snapshotUndo();
  setCell(1, 1, 5);
  closeHistoryStep();
  documentSaved();
  EXPECT_EQ(doc.unsaved, 0);
  snapshotUndo();
  EXPECT_EQ(doc.unsaved, 1) << "a step in progress is shown at once";
  closeHistoryStep();
  EXPECT_EQ(doc.unsaved, 0) << "a step that changed nothing is no change";
  snapshotUndo();
  setCell(2, 2, 6);
  closeHistoryStep();
  EXPECT_EQ(doc.unsaved, 1);
  undoStep();
  EXPECT_EQ(doc.unsaved, 0) << "back at the saved state";
  undoStep();
  EXPECT_EQ(doc.unsaved, 1) << "before the saved state";
  redoStep();
  EXPECT_EQ(doc.unsaved, 0);
  documentChangedOutsideHistory();
  undoStep();
  redoStep();
  EXPECT_EQ(doc.unsaved, 1) << "another sheet is not in the file, wherever the history stands";
  documentSaved();
  EXPECT_EQ(doc.unsaved, 0);
}

TEST(History, StepsRedoDropSizesAndTheRingsBounds) {
  resetMapModel();
  snapshotUndo();
  setCell(1, 1, 5);
  snapshotUndo();  // ends the step before
  setCell(2, 2, 6);
  doc.planeA[cellIndex(2, 2)] = 9;
  closeHistoryStep();
  EXPECT_EQ(history.count, 2u);
  const uint32_t afterTwo = historySerial();

  ASSERT_EQ(undoStep(), 1);
  EXPECT_EQ(cell(2, 2), 0);
  EXPECT_EQ(doc.planeA[cellIndex(2, 2)], 0);
  EXPECT_EQ(cell(1, 1), 5);
  const uint32_t afterOne = historySerial();
  EXPECT_NE(afterOne, afterTwo);
  ASSERT_EQ(redoStep(), 1);
  EXPECT_EQ(historySerial(), afterTwo);
  EXPECT_EQ(doc.planeA[cellIndex(2, 2)], 9);
  undoStep();
  EXPECT_EQ(historySerial(), afterOne);

  // A new change after stepping back drops the step ahead.
  snapshotUndo();
  setCell(3, 3, 7);
  closeHistoryStep();
  EXPECT_EQ(redoStep(), 0);
  EXPECT_EQ(cell(2, 2), 0);
  EXPECT_EQ(history.position, 2u);
  // A step that changed nothing is none.
  snapshotUndo();
  closeHistoryStep();
  EXPECT_EQ(history.count, 2u);

  // Map size and chip size are steps too, with cells beyond the map kept.
  snapshotUndo();
  setMapCells(10, 10);
  setChipWidth(16);
  closeHistoryStep();
  undoStep();
  EXPECT_EQ(doc.mapCellsX, 40);
  EXPECT_EQ(doc.chipWidth, 32);
  EXPECT_EQ(cell(3, 3), 7);
  redoStep();
  EXPECT_EQ(doc.mapCellsY, 10);
  EXPECT_EQ(doc.chipWidth, 16);

  // A step taken back before it ends leaves no trace.
  snapshotUndo();
  setCell(4, 4, 1);
  setMapCellsX(3);
  discardHistoryStep();
  EXPECT_EQ(cell(4, 4), 0);
  EXPECT_EQ(doc.mapCellsX, 10);
  EXPECT_EQ(history.count, 3u);

  // 1,200 ordinary steps are all kept and all come back.
  resetHistory();
  for (int k = 1; k <= 1200; ++k) {
    snapshotUndo();
    setCell(k % 200, k / 200, k);
  }
  closeHistoryStep();
  EXPECT_EQ(history.count, 1200u);
  int undone = 0;
  while (undoStep()) ++undone;
  EXPECT_EQ(undone, 1200);
  EXPECT_EQ(cell(5, 0), 0);
  EXPECT_EQ(cell(0, 6), 0);

  // Whole-map changes: at least 16 kept, the oldest dropped first, and the
  // state reached at the bottom is the one after the oldest dropped step.
  resetHistory();
  constexpr int WHOLE = 26;
  for (int k = 1; k <= WHOLE; ++k) {
    snapshotUndo();
    for (int i = 0; i < MAP_CELLS; ++i) doc.planeY[i] = k;
  }
  closeHistoryStep();
  const uint32_t kept = history.count;
  EXPECT_GE(kept, 16u);
  EXPECT_LT(kept, static_cast<uint32_t>(WHOLE));
  while (undoStep()) {
  }
  for (int i : {0, 4097, MAP_CELLS - 1}) EXPECT_EQ(doc.planeY[i], WHOLE - static_cast<int>(kept)) << i;
  while (redoStep()) {
  }
  EXPECT_EQ(doc.planeY[12345], WHOLE);
}

// Ctrl, Shift and the command keys go through the real input layer.
class ChordTest : public DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    setChipWidth(16);
    setChipHeight(16);
    editorSetSheetSizeForTests(1024, 256);
    session.brushX[0] = 48;
  }
  // A key pressed for one frame at (x, y).
  void tap(int scan, int32_t x, int32_t y) {
    keys({scan}, 1);
    tick(x, y);
    keys({scan}, 0);
  }
  static constexpr int LCTRL = 0x1D, LSHIFT = 0x2A, KEY_Z = 0x2C, KEY_Y = 0x15, KEY_S = 0x1F;
  static int32_t mapX(int c) { return 300 + 16 * c + 5; }
  static int32_t mapY(int r) { return 112 + 16 * r + 5; }
};

TEST_F(ChordTest, ChordPressesLeaveNothingAndUndoButtonToggles) {
  // A click stamps (2, 1): one step.
  platformTestMouse(0, 0, 1);
  tick(mapX(2), mapY(1));
  platformTestMouse(0, 0, 0);
  tick(mapX(2), mapY(1));
  ASSERT_EQ(cell(2, 1), 48);
  EXPECT_EQ(history.count, 1u);

  // Left Ctrl stamps (3, 1) in its own frame; the Z that makes it Ctrl+Z
  // takes that stamp back and undoes the click. Ctrl, still down, is no
  // button any more; Ctrl+Y with it redoes.
  keys({LCTRL}, 1);
  tick(mapX(3), mapY(1));
  EXPECT_EQ(cell(3, 1), 48);
  tap(KEY_Z, mapX(3), mapY(1));
  EXPECT_EQ(cell(3, 1), 0);
  EXPECT_EQ(cell(2, 1), 0);
  EXPECT_TRUE(hasText(1, "0/1") || hasText(2, "0/1"));
  tick(mapX(3), mapY(1));
  EXPECT_EQ(cell(3, 1), 0);
  tap(KEY_Y, mapX(3), mapY(1));
  keys({LCTRL}, 0);
  tick(mapX(3), mapY(1));
  EXPECT_EQ(cell(2, 1), 48);
  EXPECT_EQ(cell(3, 1), 0);
  EXPECT_EQ(history.count, 1u);

  // A chord so quick that Ctrl is up again at the next read still is one.
  keys({LCTRL}, 1);
  tick(mapX(4), mapY(1));
  EXPECT_EQ(cell(4, 1), 48);
  keys({KEY_Z}, 1);
  keys({KEY_Z, LCTRL}, 0);
  tick(mapX(4), mapY(1));
  EXPECT_EQ(cell(4, 1), 0);
  EXPECT_EQ(cell(2, 1), 0);
  tap(KEY_Y, 0, 590);
  EXPECT_EQ(cell(2, 1), 48);

  // A Ctrl press over the sheet starts a pick; Ctrl+Shift+Z keeps the old
  // brush and is a redo (nothing ahead here).
  keys({LCTRL}, 1);
  tick(24 + 32 * 5 + 5, 112 + 5);
  EXPECT_EQ(gestureIs(GESTURE_PICK), 1);
  keys({LSHIFT, KEY_Z}, 1);
  tick(24 + 32 * 5 + 5, 112 + 5);
  EXPECT_EQ(gestureHeld(), 0);
  EXPECT_EQ(session.pickLeft, 0);
  EXPECT_EQ(cell(2, 1), 48);
  keys({KEY_Z, LSHIFT, LCTRL}, 0);
  tick(0, 590);
  EXPECT_EQ(session.brushX[0], 48);

  // Ctrl+S writes the map's own file without asking; its Ctrl stamps nothing.
  const std::string saved = ::testing::TempDir() + "chord_save.bct";
  std::remove(saved.c_str());
  std::snprintf(doc.mapPath, sizeof doc.mapPath, "%s", saved.c_str());
  keys({LCTRL}, 1);
  tick(mapX(6), mapY(1));
  tap(KEY_S, mapX(6), mapY(1));
  keys({LCTRL}, 0);
  tick(0, 590);
  EXPECT_EQ(cell(6, 1), 0);
  EXPECT_EQ(std::remove(saved.c_str()), 0);  // it was written

  // Plain Z and Y, then the UNDO button: a press undoes, the next redoes.
  tap(KEY_Z, 0, 590);
  EXPECT_EQ(cell(2, 1), 0);
  tap(KEY_Y, 0, 590);
  EXPECT_EQ(cell(2, 1), 48);
  for (int32_t expected : {0, 48, 0}) {
    runCommand(4);
    EXPECT_EQ(cell(2, 1), expected);
  }
}
