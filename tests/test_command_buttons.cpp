// Command buttons: press and release, hover under a drag, the commands.
#include <gtest/gtest.h>

#include "editor/editor.h"
#include "gesture_probe.h"
#include "gfx/gfx.h"
#include "input/input.h"
#include "map/map.h"
#include "platform/platform.h"
#include "settings/settings.h"

namespace {

class CommandButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetMapModel();
    resetGraphicsQueues();
    initSprites();
    session.editorMode = EDITOR_EDITING;
    session.pressedButton = 0;
    gesture.kind = GESTURE_NONE;
    newPointerFrame();
    session.toolMode = TOOL_POINT;
    inputState.buttonsHeld = inputState.buttonsPressed = 0;
    platformResetMessages();
  }
  void TearDown() override {
    gesture.kind = GESTURE_NONE;
    platformResetMessages();
    resetGraphicsQueues();
  }
  // One frame of the buttons with the pointer at (x, y).
  void frame(int x, int y, bool held) {
    frameState.mouseX = x;
    frameState.mouseY = y;
    int32_t before = inputState.buttonsHeld;
    inputState.buttonsHeld = held ? BTN_PRIMARY : 0;
    inputState.buttonsPressed = inputState.buttonsHeld & ~before;
    resetGraphicsQueues();
    newPointerFrame();
    updateCommandButtons();
  }
  int layer4SpritesAt(int srcX, int srcY) {
    int n = 0;
    for (int i = 0; i < frameQueues.blitCount[4]; ++i)
      if (frameQueues.blit[4][i].srcLeft == srcX && frameQueues.blit[4][i].srcTop == srcY) ++n;
    return n;
  }
};

constexpr int CLEAR_X = 312;

TEST_F(CommandButtonTest, ACommandRunsOnlyWhenPressedAndReleasedOnItsButton) {
  doc.planeX[cellIndex(3, 3)] = 64;
  // Press on CLEAR, release outside: nothing.
  frame(CLEAR_X + 10, 30, true);
  EXPECT_EQ(gestureIs(GESTURE_BUTTON), 1);
  EXPECT_EQ(gestureHeld(), 1);
  frame(CLEAR_X + 60, 30, true);
  EXPECT_EQ(layer4SpritesAt(48, 32), 1) << "the pressed frame follows the button, not the pointer";
  frame(CLEAR_X + 60, 30, false);
  EXPECT_EQ(doc.planeX[cellIndex(3, 3)], 64);
  EXPECT_EQ(gestureHeld(), 0);
  // Press outside, slide on, release on it: nothing either.
  frame(5, 300, true);
  frame(CLEAR_X + 10, 30, true);
  frame(CLEAR_X + 10, 30, false);
  EXPECT_EQ(doc.planeX[cellIndex(3, 3)], 64);
  // A real click clears, and the command runs on the release frame only.
  frame(CLEAR_X + 10, 30, true);
  EXPECT_EQ(doc.planeX[cellIndex(3, 3)], 64);
  frame(CLEAR_X + 10, 30, false);
  EXPECT_EQ(doc.planeX[cellIndex(3, 3)], 0);
  // The button's top-left pixel is outside it (strict test).
  frame(CLEAR_X, 16, true);
  EXPECT_EQ(gestureIs(GESTURE_BUTTON), 0);
}

TEST_F(CommandButtonTest, HoverShowsFrameAndBalloonExceptDuringADrag) {
  frame(CLEAR_X + 10, 30, false);
  EXPECT_EQ(layer4SpritesAt(0, 32), 1);     // hover frame
  EXPECT_EQ(layer4SpritesAt(160, 32), 1);   // CLEAR's balloon cell
  EXPECT_EQ(frameState.hover.target, TARGET_COMMAND_BUTTON);
  EXPECT_EQ(frameQueues.blitCount[3], 21) << "13 icons, the mode marker and the tool strip's seven icons";
  gesture.kind = GESTURE_MOVE;
  frame(CLEAR_X + 10, 30, false);
  EXPECT_EQ(frameQueues.blitCount[4], 0);
  EXPECT_EQ(frameState.hover.target, TARGET_NONE);
}

TEST_F(CommandButtonTest, ModeButtonsMoveTheMarkerAndExitPostsTheQuestion) {
  const int xs[3] = {384, 440, 496};
  for (int mode = 2; mode >= 0; --mode) {
    frame(xs[mode] + 20, 40, true);
    frame(xs[mode] + 20, 40, false);
    EXPECT_EQ(session.toolMode, mode);
    EXPECT_EQ(sprites.modeMarker.x, static_cast<float>(xs[mode]));
  }
  runCommand(11);  // EXIT
  PlatMessage m{};
  ASSERT_EQ(platformPeekMessage(), 1);
  platformGetMessage(&m);
  EXPECT_EQ(m.kind, MESSAGE_COMMAND);
  EXPECT_EQ(m.value, 40001);
  runCommand(12);  // CLOSE
  platformGetMessage(&m);
  EXPECT_EQ(m.value, 40003);
  runCommand(9);
  EXPECT_EQ(session.editorMode, 1);
  runCommand(13);  // outside the table: nothing
  runCommand(-1);
  EXPECT_EQ(platformPeekMessage(), 0);
}

TEST_F(CommandButtonTest, UndoTwiceRestoresAndClearIsUndoable) {
  doc.planeX[cellIndex(0, 0)] = 32;
  doc.planeA[cellIndex(255, 255)] = 9;  // outside the map area too
  runCommand(5);
  EXPECT_EQ(doc.planeA[cellIndex(255, 255)], 0);
  runCommand(4);
  EXPECT_EQ(doc.planeX[cellIndex(0, 0)], 32);
  EXPECT_EQ(doc.planeA[cellIndex(255, 255)], 9);
  runCommand(4);
  runCommand(4);
  EXPECT_EQ(doc.planeX[cellIndex(0, 0)], 32);
}

}  // namespace
