// Shared fixture for the editor tests: resets every piece of process-wide
// state the editor reads and drives frames the way the frame driver does.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>

#include "editor/editor.h"
#include "gesture_probe.h"
#include "gfx/gfx.h"
#include "input/input.h"
#include "map/history.h"
#include "map/map.h"
#include "platform/testing.h"
#include "settings/settings.h"


class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetMapModel();
    resetSettings();
    inputState.buttonsHeld = inputState.buttonsPressed = inputState.mouseDX = inputState.mouseDY = 0;
    prevHeld = 0;
    resetGraphicsQueues();
    initSprites();
    resetEditorState();
    frameTiming.seconds = 0.0625f;  // scrollStep() == 25 at the default speed
  }
  void TearDown() override { resetEditorState(); }

  // The input of one frame; the pressed bits follow from the previous frame.
  void input(int32_t x, int32_t y, int32_t held = 0, int32_t dx = 0, int32_t dy = 0) {
    frameState.mouseX = x;
    frameState.mouseY = y;
    inputState.buttonsHeld = held;
    inputState.buttonsPressed = held & ~prevHeld;
    prevHeld = held;
    inputState.mouseDX = dx;
    inputState.mouseDY = dy;
  }

  // The view-window part of one editing frame, in the frame driver's order.
  // The queues are emptied first (as presenting the previous frame does) and
  // kept afterwards for inspection.
  void frame() {
    resetGraphicsQueues();
    advanceScrollStep();
    updateViewWindows();
    lastShape = frameState.pointerShape;
    newPointerFrame();
    frameState.pointerShape = POINTER_ARROW;
  }

  // A frame of the buttons and the windows together; `windowsFirst` calls
  // them the other way round, which must not change who takes the pointer.
  void buttonsAndWindows(int32_t x, int32_t y, int32_t held, bool windowsFirst = false) {
    input(x, y, held);
    resetGraphicsQueues();
    if (windowsFirst) updateViewWindows();
    updateCommandButtons();
    if (!windowsFirst) updateViewWindows();
    newPointerFrame();
  }

  void step(int32_t x, int32_t y, int32_t held = 0, int32_t dx = 0, int32_t dy = 0) {
    input(x, y, held, dx, dy);
    frame();
  }

  static int countShapes(int layer, int32_t kind, uint32_t color) {
    int n = 0;
    for (int i = 0; i < frameQueues.shapeCount[layer]; ++i)
      if (frameQueues.shape[layer][i].kind == kind && frameQueues.shape[layer][i].color == color) ++n;
    return n;
  }
  static const ShapeCommand* findShape(int layer, int32_t kind, uint32_t color) {
    for (int i = 0; i < frameQueues.shapeCount[layer]; ++i)
      if (frameQueues.shape[layer][i].kind == kind && frameQueues.shape[layer][i].color == color)
        return &frameQueues.shape[layer][i];
    return nullptr;
  }
  static int countBlitsFrom(int layer, int slot) {
    int n = 0;
    for (int i = 0; i < frameQueues.blitCount[layer]; ++i)
      if (frameQueues.blit[layer][i].slot == slot) ++n;
    return n;
  }
  static const BlitCommand* findBlit(int layer, int slot, int32_t srcLeft, int32_t srcTop) {
    for (int i = 0; i < frameQueues.blitCount[layer]; ++i) {
      const BlitCommand& b = frameQueues.blit[layer][i];
      if (b.slot == slot && b.srcLeft == srcLeft && b.srcTop == srcTop) return &b;
    }
    return nullptr;
  }
  static bool hasText(int layer, const std::string& text) {
    for (int i = 0; i < frameQueues.textCount[layer]; ++i)
      if (text == frameQueues.text[layer][i].text) return true;
    return false;
  }

  int32_t prevHeld = 0;
  int32_t lastShape = 1;
};

// Frames driven through the real input layer: keys, mouse and wheel set on
// the platform's devices, read by pollInput, as the frame driver runs them.
class DeviceTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    platformTestResetDevices();
    resetInputState();
    enableInputDevices(1, 1);
    ASSERT_EQ(startInput(), 1);
    acquireInput(1);
  }
  void TearDown() override {
    platformTestResetDevices();
    resetInputState();
    EditorTest::TearDown();
  }
  // One frame with the pointer at (x, y).
  void tick(int32_t x, int32_t y) {
    frameState.mouseX = x;
    frameState.mouseY = y;
    pollInput(1);
    applyFrameShortcuts();
    applyZoomAndWheel();
    frame();
    endFrameHistoryStep();
  }
  static void keys(std::initializer_list<int> scans, int down) {
    for (int k : scans) platformTestSetKey(k, down);
  }
};

