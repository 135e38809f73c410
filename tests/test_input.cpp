// Per-frame input: button bits from keys and mouse, edges, lost input, debug lines.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "editor/editor.h"
#include "gfx/gfx.h"
#include "input/input.h"
#include "platform/platform.h"
#include "platform/sjis.h"
#include "platform/testing.h"
#include "settings/settings.h"

namespace {

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetInputState();
    resetGraphicsQueues();
    platformTestResetDevices();
    settings.showDebugInfo = 0;
    inputState.keyboardEnabled = inputState.mouseEnabled = 1;
    ASSERT_EQ(startInput(), 1);
    acquireInput(1);
  }
  void TearDown() override {
    settings.showDebugInfo = 0;
    platformTestResetDevices();
    resetInputState();
    resetGraphicsQueues();
  }
};

TEST_F(InputTest, KeysAndMouseShareTheButtonsAndPressesAreEdges) {
  platformTestSetKey(0x39, 1);  // Space
  ASSERT_EQ(pollInput(1), 1);
  EXPECT_EQ(inputState.buttonsHeld, BTN_PRIMARY);
  EXPECT_EQ(inputState.buttonsPressed, BTN_PRIMARY);
  platformTestMouse(0, 0, 1);  // left button as well: still one bit, no new press
  pollInput(1);
  EXPECT_EQ(inputState.buttonsHeld, BTN_PRIMARY);
  EXPECT_EQ(inputState.buttonsPressed, 0);
  platformTestSetKey(0x39, 0);  // releasing one of the two keeps it held
  pollInput(1);
  EXPECT_EQ(inputState.buttonsHeld, BTN_PRIMARY);
  platformTestMouse(0, 0, 0);
  pollInput(1);
  EXPECT_EQ(inputState.buttonsHeld, 0);

  // Left Ctrl is the main button, right Ctrl is not; Left Shift the second.
  platformTestSetKey(0x9D, 1);
  pollInput(1);
  EXPECT_EQ(inputState.buttonsHeld, 0);
  platformTestSetKey(0x9D, 0);
  platformTestSetKey(0x1D, 1);
  platformTestSetKey(0x2A, 1);
  platformTestSetKey(0xC8, 1);  // Up
  platformTestSetKey(0x4B, 1);  // keypad 4 = left
  pollInput(1);
  EXPECT_EQ(inputState.buttonsHeld, BTN_PRIMARY | BTN_SECONDARY | BTN_UP | BTN_LEFT);
  platformTestSetKey(0x36, 1);  // right Shift adds nothing
  platformTestMouse(0, 0, 2 | 4 | 8);
  pollInput(1);
  EXPECT_EQ(inputState.buttonsHeld, BTN_PRIMARY | BTN_SECONDARY | BTN_UP | BTN_LEFT | BTN_MOUSE3 | BTN_MOUSE4);
  EXPECT_EQ(inputState.buttonsPressed, BTN_MOUSE3 | BTN_MOUSE4);
}

TEST_F(InputTest, MotionIsSinceTheLastReadAndInactivityReleasesEverything) {
  platformTestMouse(5, -3, 1);
  pollInput(1);
  EXPECT_EQ(inputState.mouseDX, 5);
  EXPECT_EQ(inputState.mouseDY, -3);
  EXPECT_EQ(inputState.buttonsPressed, BTN_PRIMARY);
  pollInput(1);
  EXPECT_EQ(inputState.mouseDX, 0);
  EXPECT_EQ(inputState.mouseDY, 0);
  // An inactive frame reads nothing: everything is released, and the held
  // button is a fresh press when it is seen again.
  pollInput(0);
  EXPECT_EQ(inputState.buttonsHeld, 0);
  pollInput(1);
  EXPECT_EQ(inputState.buttonsPressed, BTN_PRIMARY);
}

TEST_F(InputTest, LostInputFailsTheFrameAndIsAcquiredAgain) {
  platformTestSetKey(0x39, 1);
  pollInput(1);
  platformTestLoseInput();
  EXPECT_EQ(pollInput(1), 1) << "the read after the loss acquires again and reports the acquire";
  EXPECT_EQ(inputState.buttonsHeld, 0) << "keys from before the loss are forgotten";
  platformTestSetKey(0x39, 1);
  EXPECT_EQ(pollInput(1), 1);
  EXPECT_EQ(inputState.buttonsPressed, BTN_PRIMARY);
  // Suspended input reads nothing and reports success.
  inputState.inputSuspended = 1;
  EXPECT_EQ(pollInput(1), 1);
  EXPECT_EQ(inputState.buttonsHeld, 0);
}

TEST_F(InputTest, QuickPressesBetweenFramesAreSeenAndSwitchingBackPressesAgain) {
  // Press and release both before the read: down in this frame, up in the next.
  platformTestMouse(0, 0, 1);
  platformTestMouse(0, 0, 0);
  platformTestSetKey(0x39, 1);
  platformTestSetKey(0x39, 0);
  platformTestSetKey(0xD0, 1);
  platformTestSetKey(0xD0, 0);
  pollInput(1);
  EXPECT_EQ(inputState.buttonsPressed, BTN_PRIMARY | BTN_DOWN);
  pollInput(1);
  EXPECT_EQ(inputState.buttonsHeld, 0);

  // A key held while the program is switched away is a fresh press when the
  // devices are acquired again.
  platformTestSetKey(0xD0, 1);
  pollInput(1);
  acquireInput(0);
  acquireInput(1);
  pollInput(1);
  EXPECT_EQ(inputState.buttonsHeld, BTN_DOWN);
  EXPECT_EQ(inputState.buttonsPressed, BTN_DOWN);
}

TEST_F(InputTest, DebugLinesListKeysInWholeEntries) {
  settings.showDebugInfo = 1;
  platformTestSetKey(0x1D, 1);
  platformTestSetKey(0x39, 1);
  pollInput(1);
  queueDebugInputLines();
  ASSERT_GE(frameQueues.textCount[3], 1);
  EXPECT_EQ(std::string(frameQueues.text[3][0].text), std::string(SJIS("キーボード:")) + "1d 39 ");
  EXPECT_EQ(frameQueues.text[3][0].x, 212);
  // The mouse line and four button marks follow.
  ASSERT_EQ(frameQueues.textCount[3], 6);
  EXPECT_EQ(std::string(frameQueues.text[3][1].text), std::string(SJIS("まうす:")) + "[  0,  0]");
  EXPECT_EQ(std::string(frameQueues.text[3][2].text), std::string(SJIS("○")));
  EXPECT_EQ(frameQueues.text[3][5].x, 132 + 48);

  // 60 keys down: the line ends before the entry that would not fit.
  resetGraphicsQueues();
  for (int k = 0x10; k < 0x10 + 60; ++k) platformTestSetKey(k, 1);
  pollInput(1);
  queueDebugInputLines();
  std::string line = frameQueues.text[3][0].text;
  EXPECT_LE(line.size(), 127u);
  size_t prefix = std::strlen(SJIS("キーボード:"));
  EXPECT_EQ((line.size() - prefix) % 3, 0u);
  EXPECT_EQ(line.substr(line.size() - 3), std::string(line.substr(line.size() - 3, 2)) + " ");
}

}  // namespace
