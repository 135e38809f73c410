// Scrolling through the real message loop, its frame pacing and the real
// millisecond clock: a held arrow key moves the map at the set speed, and the
// first frame after switching back or after a dialog measures no time away.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/app.h"
#include "editor/editor.h"
#include "gfx/gfx.h"
#include "input/input.h"
#include "map/map.h"
#include "platform/platform.h"
#include "platform/surface.h"
#include "platform/testing.h"
#include "settings/settings.h"

namespace {

constexpr int DIK_RIGHT = 0xCD;

uint32_t loopStart = 0;
uint32_t loopLength = 0;
int32_t largestJump = 0;
int32_t lastScroll = 0;

int timedFrame() {
  if (loopStart == 0) loopStart = platformMillis();
  updateEditorFrame(appState.appActive);
  largestJump = std::max(largestJump, session.mapView.scrollX - lastScroll);
  lastScroll = session.mapView.scrollX;
  if (platformMillis() - loopStart >= loopLength) platformPostQuit(0);
  return editorPictureSteady();
}

class FrameTimingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static char arg0[] = "brindle_tests";
    char* argv[] = {arg0, nullptr};
    ASSERT_EQ(platformInit(1, argv), 1);
    resetMapModel();
    resetSettings();
    resetEditorState();
    resetGraphicsQueues();
    resetInputState();
    platformTestResetDevices();
    platformResetMessages();
    gfxSetClockForTests(nullptr);
    initSprites();
    ASSERT_EQ(startDisplay(screenMetrics.canvasW, screenMetrics.canvasH, 16), 1);
    setMapCellsX(256);
    inputState.keyboardEnabled = inputState.mouseEnabled = 1;
    ASSERT_EQ(startInput(), 1);
    acquireInput(1);
    appState.appActive = 1;
    appFrameFunction = timedFrame;
    platformSetWindowProc(mainWindowProc);
    loadViewsFromSettings();
    loopStart = 0;
    largestJump = 0;
    lastScroll = session.mapView.scrollX = 0;
    resetFrameClock();
  }
  void TearDown() override {
    appFrameFunction = runEditorFrame;
    platformSetWindowProc(nullptr);
    platformTestResetDevices();
    platformResetMessages();
    platformTestSetCursor(0, 0);
    resetEditorState();
    appState.appActive = 0;
  }
};

TEST_F(FrameTimingTest, HeldArrowKeyScrollsAtTheSetSpeed) {
  for (int32_t speed : {100, 400}) {
    settings.scrollSpeed = speed;
    session.mapView.scrollX = lastScroll = 0;
    loopStart = 0;
    loopLength = 1000;
    platformTestSetCursor(10, 590);
    platformTestSetKey(DIK_RIGHT, 1);
    resetFrameClock();
    ASSERT_EQ(runMessageLoop(), 0);
    platformTestSetKey(DIK_RIGHT, 0);
    double seconds = (platformMillis() - loopStart) / 1000.0;
    // The distance lags the loop's time by the last frame at most.
    EXPECT_NEAR(session.mapView.scrollX, speed * seconds, speed * 0.05 + 2) << "speed " << speed;
  }
}

TEST_F(FrameTimingTest, FirstFrameAfterSwitchingBackMeasuresNoTimeAway) {
  settings.autoScroll = 1;
  settings.scrollSpeed = 400;
  // In the auto-scroll strip right of the map window.
  platformTestSetCursor(session.mapView.x + session.mapView.w + 5, session.mapView.y + 100);
  loopLength = 1800;
  // Away for 1.2 s from the second tenth on; the loop waits for the return.
  QTimer::singleShot(100, [] { platformPostMessage(MESSAGE_ACTIVE, 0, 0); });
  QTimer::singleShot(1300, [] { platformPostMessage(MESSAGE_ACTIVE, 1, 0); });
  ASSERT_EQ(runMessageLoop(), 0);
  EXPECT_GT(session.mapView.scrollX, 0) << "auto-scroll ran";
  // A frame of 0.1 s would be a slow one; the 1.2 s away would give 480 px.
  EXPECT_LT(largestJump, 40);
}

// The same for a dialog: the seconds spent answering the quit question with
// auto-scroll on are not caught up when it closes.
TEST_F(FrameTimingTest, FirstFrameAfterADialogMeasuresNoTimeInIt) {
  settings.autoScroll = 1;
  settings.scrollSpeed = 400;
  platformTestSetCursor(session.mapView.x + session.mapView.w + 5, session.mapView.y + 100);
  loopLength = 1800;
  // With the main window behind it the program stays the active one; here
  // the box is its only window, so the activation it would cause is dropped.
  platformSetWindowProc([](const PlatMessage& m) {
    if (m.kind != MESSAGE_ACTIVE) mainWindowProc(m);
  });
  platformSetMessageBoxHook(nullptr);  // the real box, answered after 1.2 s
  QTimer::singleShot(100, [] { platformPostMessage(MESSAGE_COMMAND, CMD_QUIT_ASK, 0); });
  QTimer::singleShot(1300, [] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    box->button(QMessageBox::No)->click();
  });
  ASSERT_EQ(runMessageLoop(), 0);
  EXPECT_GT(session.mapView.scrollX, 0) << "auto-scroll ran";
  EXPECT_LT(largestJump, 40);
}

// A quiet editor rests: no frames run until input arrives, a deadline comes
// or a message is posted; a key wakes it at once with a frame that measures
// no time away, frames then run while the key is held, and the overlay keeps
// them running. Through the real loop, its Qt wait and the real window.
struct FrameRecord {
  uint32_t at;
  float secondsBefore;
  int steady;
};
std::vector<FrameRecord> frames;
uint32_t deadlineMs = NO_DEADLINE;
int deadlineAsked = 0;

int recordedFrame() {
  float before = frameTiming.seconds;
  int steady = runEditorFrame();
  frames.push_back(FrameRecord{platformMillis() - loopStart, before, steady});
  return steady;
}

uint32_t testDeadline() {
  ++deadlineAsked;
  return deadlineMs;
}

int framesBetween(uint32_t from, uint32_t to) {
  return static_cast<int>(std::count_if(frames.begin(), frames.end(),
                                        [&](const FrameRecord& f) { return f.at >= from && f.at < to; }));
}

TEST_F(FrameTimingTest, AQuietEditorRestsUntilInputADeadlineOrAMessage) {
  ASSERT_EQ(platformCreateMainWindow("Brindlecot", mainWindowProc), 1);
  platformShowMainWindow();
  platformPeekMessage();
  appState.appActive = 1;
  const DeadlineSource clockSource = appDeadlineSources[0];
  appDeadlineSources[0] = testDeadline;  // no clock ticks in the way
  appFrameFunction = recordedFrame;
  frames.clear();
  frames.reserve(400);
  deadlineAsked = 0;
  settings.scrollSpeed = 400;

  // Phase 1: quiet, no deadline; the right arrow held from 300 to 600 ms;
  // quiet again until the quit at 1100 ms.
  deadlineMs = NO_DEADLINE;
  loopStart = platformMillis();
  QTimer::singleShot(300, [] { platformTestSetKey(DIK_RIGHT, 1); });
  QTimer::singleShot(600, [] { platformTestSetKey(DIK_RIGHT, 0); });
  QTimer::singleShot(1100, [] { platformPostQuit(0); });
  ASSERT_EQ(runMessageLoop(), 0);
  ASSERT_FALSE(frames.empty());
  // From the first frame that found the picture steady (a loaded machine may
  // take a while to get there) until the key, nothing runs.
  auto rested = std::find_if(frames.begin(), frames.end(), [](const FrameRecord& f) { return f.steady != 0; });
  ASSERT_NE(rested, frames.end());
  ASSERT_LT(rested->at, 250u) << "the quiet editor never came to rest before the key";
  EXPECT_LE(framesBetween(rested->at + 1, 300), 0) << "frames ran while nothing could change";
  auto woken = std::find_if(frames.begin(), frames.end(), [](const FrameRecord& f) { return f.at >= 300; });
  ASSERT_NE(woken, frames.end());
  EXPECT_LT(woken->at, 300u + 40u) << "the key showed late";
  EXPECT_EQ(woken->secondsBefore, 0.0f) << "the first frame after the rest measured the time away";
  EXPECT_GE(framesBetween(320, 580), 8) << "frames stopped while the key was held";
  EXPECT_GT(session.mapView.scrollX, 0);
  EXPECT_LE(framesBetween(800, 1100), 1) << "no rest after the release";
  EXPECT_GT(deadlineAsked, 0);

  // Phase 2: a deadline every 100 ms wakes the resting loop for one frame each.
  frames.clear();
  deadlineMs = 100;
  loopStart = platformMillis();
  QTimer::singleShot(1000, [] { platformPostQuit(0); });
  ASSERT_EQ(runMessageLoop(), 0);
  int woke = framesBetween(200, 1000);
  EXPECT_GE(woke, 5);
  EXPECT_LE(woke, 12);

  // Phase 3: with the overlay on, frames keep running for its figures.
  frames.clear();
  deadlineMs = NO_DEADLINE;
  settings.showDebugInfo = 1;
  loopStart = platformMillis();
  QTimer::singleShot(400, [] { platformPostQuit(0); });
  ASSERT_EQ(runMessageLoop(), 0);
  EXPECT_GE(framesBetween(100, 400), 12);
  EXPECT_TRUE(std::none_of(frames.begin(), frames.end(), [](const FrameRecord& f) { return f.steady; }));

  settings.showDebugInfo = 0;
  appDeadlineSources[0] = clockSource;
  platformSetWindowProc(nullptr);
  platformDestroyMainWindow();
}

}  // namespace

// A wallpaper that exists but is no bitmap leaves its slot empty: the editing
// frame and the preview then clear the screen as without one, and no picture
// of the frame before stays behind.
TEST_F(FrameTimingTest, UnloadableWallpaperDrawsBlack) {
  std::string garbage = ::testing::TempDir() + "/garbage-wallpaper.bmp";
  FILE* f = std::fopen(garbage.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("BM this is no bitmap at all", f);
  std::fclose(f);
  settings.showWallpaper = 1;
  loadSurface(garbage.c_str(), SLOT_WALLPAPER, KEY_BLACK);
  PlatSurface* back = backBuffer();
  for (int mode : {0, 1}) {
    session.editorMode = static_cast<EditorMode>(mode);
    platSurfaceFill(back, 0xFFFF);
    platformTestSetCursor(400, 590);
    updateEditorFrame(appState.appActive);
    // Left of the chip-sheet window, and the top-left corner beside the
    // centred 40 x 30 map of the preview.
    EXPECT_EQ(back->pixels[300 * back->pitch + 5], 0) << "mode " << mode;
    EXPECT_EQ(back->pixels[5 * back->pitch + 5], 0) << "mode " << mode;
  }
  session.editorMode = EDITOR_EDITING;
  releaseSurface(SLOT_WALLPAPER);
  std::remove(garbage.c_str());
}
