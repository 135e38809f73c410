// The message loop's priorities and the main window procedure, without a window.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/app.h"
#include "dialogs/dialogs.h"
#include "dialogs/texts.h"
#include "editor/editor.h"
#include "platform/platform.h"
#include "platform/testing.h"
#include "settings/settings.h"
#include "settings/settings.h"

namespace {

int framesRun = 0;
int debugAtFirstFrame = -1;
std::vector<std::string> boxes;
int boxAnswer = ANSWERED_NO;

int countingFrame() {
  if (framesRun == 0) debugAtFirstFrame = settings.showDebugInfo;
  ++framesRun;
  if (framesRun == 3) platformPostQuit(7);
  return 0;
}

int recordBox(const char* text, const char* caption, int) {
  boxes.push_back(std::string(caption) + "|" + text);
  return boxAnswer;
}

class AppLoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platformResetMessages();
    framesRun = 0;
    debugAtFirstFrame = -1;
    boxes.clear();
    appFrameFunction = countingFrame;
    appShutdownDelayMs = 0;
    platformSetMessageBoxHook(recordBox);
    platformSetWindowProc(mainWindowProc);
    settings.showDebugInfo = 0;
    systemCursor.shown = 0;
    appState.appActive = 1;
  }
  void TearDown() override {
    platformResetMessages();
    platformSetMessageBoxHook(nullptr);
    platformSetWindowProc(nullptr);
    appFrameFunction = nullptr;
    settings.showDebugInfo = 0;
    systemCursor.shown = 1;
    appState.appActive = 0;
  }
};

TEST_F(AppLoopTest, EveryWaitingMessageIsHandledBeforeAFrameRuns) {
  // Three F4 presses are waiting: all three toggles happen before frame one.
  for (int i = 0; i < 3; ++i) platformPostMessage(MESSAGE_KEY, KEY_F4, 0);
  EXPECT_EQ(runMessageLoop(), 7);
  EXPECT_EQ(debugAtFirstFrame, 1);
  EXPECT_EQ(framesRun, 3);
}

TEST_F(AppLoopTest, NoFrameRunsWhileInactive) {
  platformPostMessage(MESSAGE_ACTIVE, 0, 0);
  for (int i = 0; i < 5; ++i) platformPostMessage(MESSAGE_KEY, KEY_F4, 0);
  platformPostQuit(0);
  EXPECT_EQ(runMessageLoop(), 0);
  EXPECT_EQ(framesRun, 0);
  EXPECT_EQ(appState.appActive, 0);
  EXPECT_EQ(settings.showDebugInfo, 1);
}

TEST_F(AppLoopTest, F4TogglesAnyOtherValueToOne) {
  PlatMessage f4{MESSAGE_KEY, KEY_F4, 0};
  EXPECT_EQ(translateAccelerator(f4), 1);
  EXPECT_EQ(settings.showDebugInfo, 1);
  translateAccelerator(f4);
  EXPECT_EQ(settings.showDebugInfo, 0);
  settings.showDebugInfo = 5;  // from a hand-edited settings file
  translateAccelerator(f4);
  EXPECT_EQ(settings.showDebugInfo, 1);
  EXPECT_EQ(translateAccelerator(PlatMessage{MESSAGE_KEY, 'A', 0}), 0);
  // With a modifier held the keys are no accelerators: nothing toggles or asks.
  for (int mod : {KEYMOD_SHIFT, KEYMOD_CTRL, KEYMOD_ALT})
    for (int vk : {KEY_F4, KEY_ESCAPE, KEY_F8, KEY_F12})
      EXPECT_EQ(translateAccelerator(PlatMessage{MESSAGE_KEY, vk, mod}), 0);
  EXPECT_EQ(settings.showDebugInfo, 1);
  EXPECT_TRUE(boxes.empty()) << "Shift+Esc asked the quit question";
  EXPECT_EQ(translateAccelerator(PlatMessage{MESSAGE_COMMAND, CMD_QUIT_ASK, 0}), 0);
}

TEST_F(AppLoopTest, QuitQuestionNoKeepsRunningWithTheCursorHidden) {
  boxAnswer = ANSWERED_NO;
  translateAccelerator(PlatMessage{MESSAGE_KEY, KEY_ESCAPE, 0});
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "いいのかな？|おわっちゃうよ？");
  EXPECT_EQ(systemCursor.shown, 0);
  EXPECT_EQ(platformPeekMessage(), 0) << "No posts nothing";

  // Yes posts the close; its default handling ends in the quit message.
  boxAnswer = ANSWERED_YES;
  translateAccelerator(PlatMessage{MESSAGE_KEY, KEY_ESCAPE, 0});
  ASSERT_EQ(platformPeekMessage(), 1);
  PlatMessage m{};
  ASSERT_EQ(platformGetMessage(&m), 1);
  EXPECT_EQ(m.kind, MESSAGE_CLOSE);
  EXPECT_EQ(systemCursor.shown, 0);
}

TEST_F(AppLoopTest, ShowSystemCursorIsIdempotent) {
  systemCursor.shown = 0;
  showSystemCursor(1);
  EXPECT_EQ(systemCursor.shown, 1);
  showSystemCursor(1);
  EXPECT_EQ(systemCursor.shown, 1);
  showSystemCursor(2);
  EXPECT_EQ(systemCursor.shown, 1);
  showSystemCursor(0);
  EXPECT_EQ(systemCursor.shown, 0);
  showSystemCursor(-1);
  EXPECT_EQ(systemCursor.shown, 0);
}

// A working directory the program cannot use stops the start with a message
// that names the cause, and the exit code of every start-up failure.
TEST_F(AppLoopTest, AnUnusableWorkingDirectoryIsToldAndEndsWithZero) {
  namespace fs = std::filesystem;
  const fs::path home = fs::current_path();
  const fs::path base = fs::temp_directory_path() / ("bctwd" + std::to_string(::getpid()));
  const fs::path notUtf8 = base / "caf\xE9";  // Latin-1: not UTF-8
  fs::path tooLong = base;
  while (tooLong.string().size() < PROGRAM_DIR_STORE) tooLong /= std::string(200, 'd');
  fs::create_directories(notUtf8);
  fs::create_directories(tooLong);
  fs::current_path(notUtf8);
  EXPECT_EQ(runApplication(0, nullptr), 0);
  fs::current_path(tooLong);
  EXPECT_EQ(runApplication(0, nullptr), 0);
  fs::current_path(home);
  fs::remove_all(base);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0], std::string("ごめんね|") + uiText(texts::WORKDIR_NOT_UTF8));
  EXPECT_EQ(boxes[1], std::string("ごめんね|") + uiText(texts::WORKDIR_TOO_LONG));
}

}  // namespace
