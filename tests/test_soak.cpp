// A soak of the real editor frame under random input: pointer positions, every
// button bit, presses and releases, mouse motion, the commands that open no
// dialog, tool modes, and map and chip sizes changed between frames through the
// model's guard. Plane writes outside the arrays are caught by the sanitized
// build of this same test (every plane is a global with redzones around it).
//   BRINDLE_SOAK_FRAMES=100000 build/tests/brindle_tests --gtest_filter='Soak*'
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/app.h"
#include "editor/editor.h"
#include "gesture_probe.h"
#include "gfx/gfx.h"
#include "input/input.h"
#include "map/map.h"
#include "platform/filechooser.h"
#include "platform/platform.h"
#include "platform/testing.h"
#include "settings/settings.h"

namespace {

struct Rng {
  uint64_t s;
  uint32_t next() {
    s ^= s << 13;
    s ^= s >> 7;
    s ^= s << 17;
    return static_cast<uint32_t>(s);
  }
  int below(int n) { return static_cast<int>(next() % static_cast<uint32_t>(n)); }
};

Rng rng{0x9E3779B97F4A7C15ull};

int randomAttributeAnswer(int32_t, int32_t* chosen) {
  *chosen = rng.below(1200) - 100;
  return rng.below(2);
}
int cancelChooser(const FileChooserSetup&, const char*, char*, size_t) { return 0; }
int answerNo(const char*, const char*, int) { return ANSWERED_NO; }

int dragFlags() {
  return gestureIs(GESTURE_MOVE, &session.mapView) + gestureIs(GESTURE_THUMB, &session.mapView) +
         gestureIs(GESTURE_RESIZE, &session.mapView) + gestureIs(GESTURE_MOVE, &session.sheetView) +
         gestureIs(GESTURE_THUMB, &session.sheetView) + gestureIs(GESTURE_RESIZE, &session.sheetView) +
         gestureIs(GESTURE_PICK) + gestureIs(GESTURE_COPY) + gestureIs(GESTURE_ATTRIBUTE) + gestureIs(GESTURE_BUTTON) +
         gestureIs(GESTURE_PAN, &session.mapView) + gestureIs(GESTURE_PAN, &session.sheetView);
}

class SoakTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The window system as the editor has it, so that texts draw whether or
    // not an earlier test in this process started it.
    static char arg0[] = "brindle_tests";
    static char* argv[] = {arg0, nullptr};
    platformInit(1, argv);
    resetMapModel();
    resetSettings();
    resetEditorState();
    resetGraphicsQueues();
    resetInputState();
    platformTestResetDevices();
    platformResetMessages();
    initSprites();
    ASSERT_EQ(startDisplay(screenMetrics.canvasW, screenMetrics.canvasH, 16), 1);
    std::string chips = std::string(BRINDLE_SOURCE_DIR) + "/samples/chips.bmp";
    ASSERT_EQ(loadSurface(chips.c_str(), SLOT_CHIPSHEET, KEY_BLACK), 1);
    inputState.keyboardEnabled = inputState.mouseEnabled = 1;
    ASSERT_EQ(startInput(), 1);
    acquireInput(1);
    appState.appActive = 1;
    attributeDialogHook = randomAttributeAnswer;
    platformSetFileChooserHook(cancelChooser);
    platformSetMessageBoxHook(answerNo);
    loadViewsFromSettings();
  }
  void TearDown() override {
    attributeDialogHook = nullptr;
    platformSetFileChooserHook(nullptr);
    platformSetMessageBoxHook(nullptr);
    platformTestResetDevices();
    platformResetMessages();
    platformTestSetCursor(0, 0);
    releaseAllSurfaces();
    resetEditorState();
    resetInputState();
    resetMapModel();
    appState.appActive = 0;
  }
};

// The size and settings dialogs are real forms; the soak keeps the pointer off
// their two buttons when it presses.
bool onDialogButton(int x, int y) {
  if (y <= 16 || y >= 64) return false;
  return (x > 200 && x < 248) || (x > 624 && x < 672);
}

TEST_F(SoakTest, RandomInputNeverBreaksTheModelOrTheGestureFlags) {
  int frames = 10000;
  if (const char* env = std::getenv("BRINDLE_SOAK_FRAMES")) frames = std::atoi(env);
  int x = 400, y = 300, buttons = 0;
  int gestures = 0, stamps = 0, editing = 0;
  long drawn = 0;
  for (int f = 0; f < frames; ++f) {
    // Mostly small moves with the odd jump, so that drags really happen.
    if (rng.below(20) == 0) {
      x = rng.below(900) - 50;
      y = rng.below(700) - 50;
    } else {
      x += rng.below(41) - 20;
      y += rng.below(41) - 20;
    }
    int dx = rng.below(61) - 30, dy = rng.below(61) - 30;
    if (rng.below(6) == 0) buttons ^= 1 << rng.below(4);
    for (int key : {0x1D, 0x39, 0x2A, 0xC8, 0xD0, 0xCB, 0xCD})
      if (rng.below(50) == 0) platformTestSetKey(key, rng.below(2));
    if (onDialogButton(x, y)) {
      buttons &= ~1;
      platformTestSetKey(0x1D, 0);
      platformTestSetKey(0x39, 0);
    }
    platformTestSetCursor(x, y);
    platformTestMouse(dx, dy, buttons);
    if (rng.below(300) == 0) setMapCells(rng.below(300) - 20, rng.below(300) - 20);
    if (rng.below(300) == 0) setChipWidth(rng.below(80) - 8);
    if (rng.below(300) == 0) setChipHeight(rng.below(80) - 8);
    if (rng.below(200) == 0) session.toolMode = static_cast<ToolMode>(rng.below(3));
    if (rng.below(1500) == 0 && gestureHeld() == 0) runCommand(9);  // PREVIEW, left by the next press
    if (rng.below(500) == 0) settings.scrollSpeed = rng.below(2000) - 500;
    if (rng.below(400) == 0) frameTiming.seconds = static_cast<float>(rng.below(100)) / 1000.0f;
    PlatMessage m{};
    while (platformPeekMessage()) platformGetMessage(&m);  // posted EXIT and CLOSE

    updateEditorFrame(appState.appActive);

    ASSERT_GE(doc.mapCellsX, 0);
    ASSERT_LE(doc.mapCellsX, 256);
    ASSERT_GE(doc.mapCellsY, 0);
    ASSERT_LE(doc.mapCellsY, 256);
    ASSERT_GE(doc.chipWidth, 1);
    ASSERT_GE(doc.chipHeight, 1);
    ASSERT_GE(session.brushW, 1);
    ASSERT_LE(session.brushW, 256);
    ASSERT_GE(session.brushH, 1);
    ASSERT_LE(session.brushH, 256);
    int flags = dragFlags();
    ASSERT_LE(flags, 1) << "frame " << f;
    if (session.editorMode == EDITOR_EDITING) {
      ASSERT_EQ(gestureHeld(), flags) << "frame " << f;
    }
    gestures += flags;
    editing += session.editorMode == EDITOR_EDITING ? 1 : 0;
    drawn += frameTiming.drawCount;
    stamps += (inputState.buttonsHeld & BTN_PRIMARY) ? 1 : 0;
  }
  // The random walk must have exercised the gestures, not idled.
  EXPECT_GT(gestures, frames / 50);
  EXPECT_GT(stamps, frames / 10);
  EXPECT_GT(editing, frames / 2);
  std::printf("soak: %d frames, %d editing, %d gesture frames, %ld items drawn\n", frames, editing, gestures, drawn);
}

}  // namespace

// The resting loop's question after each frame: may the next frame be skipped
// until input comes? A FREE stroke whose pointer stands still may rest (its
// next frame would stamp the same cells again); a moving stroke, a pick held
// on the sheet and a key held beside the button may not.
TEST_F(SoakTest, AStrokeRestsWhileItsPointerStandsStillAndOtherHoldsDoNot) {
  ASSERT_EQ(platformCreateMainWindow("Brindlecot", [](const PlatMessage&) {}), 1);
  session.toolMode = TOOL_FREE;
  session.brushX[0] = 64;
  auto frame = [](int32_t x, int32_t y, int buttons) {
    platformTestSetCursor(x, y);
    platformTestMouse(0, 0, buttons);
    updateEditorFrame(1);
    return editorPictureSteady();
  };
  const int32_t mx = session.mapView.x + 40, my = session.mapView.y + 40;
  frame(mx, my, 0);
  EXPECT_EQ(frame(mx, my, 0), 1) << "a still pointer over the map";
  EXPECT_EQ(frame(mx, my, 1), 0) << "the press";
  EXPECT_EQ(frame(mx, my, 1), 0) << "the frame after the press shows what it changed";
  EXPECT_EQ(frame(mx, my, 1), 1) << "the stroke held still";
  EXPECT_EQ(frame(mx + 96, my, 1), 0) << "the stroke moving";
  frame(mx + 96, my, 1);  // the pointer read at a frame's start comes one frame behind here
  EXPECT_EQ(frame(mx + 96, my, 1), 1);
  const int32_t col = (mx - session.mapView.x) / doc.chipWidth, row = (my - session.mapView.y) / doc.chipHeight;
  for (int32_t c = col; c <= col + 3; ++c) EXPECT_EQ(doc.planeX[cellIndex(c, row)], 64) << c;
  platformTestSetKey(0xCD, 1);  // the right arrow beside the button scrolls by time
  EXPECT_EQ(frame(mx + 96, my, 1), 0);
  EXPECT_EQ(frame(mx + 96, my, 1), 0);
  platformTestSetKey(0xCD, 0);
  EXPECT_EQ(frame(mx + 96, my, 0), 0) << "the release";
  frame(mx + 96, my, 0);
  EXPECT_EQ(frame(mx + 96, my, 0), 1);

  // A pick held still on the sheet is a gesture, which may scroll by time.
  const int32_t sx = session.sheetView.x + 20, sy = session.sheetView.y + 20;
  frame(sx, sy, 0);
  frame(sx, sy, 1);
  EXPECT_EQ(gesture.kind, GESTURE_PICK);
  EXPECT_EQ(frame(sx, sy, 1), 0);
  EXPECT_EQ(frame(sx, sy, 1), 0);
  frame(sx, sy, 0);
  platformDestroyMainWindow();
}
