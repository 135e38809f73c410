// Never losing the user's work: the unsaved state and its transitions, the
// question before the map is left, clean planes and a fresh undo for every
// opened or new map, a failed LOAD.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/app.h"
#include "dialogs/dialogs.h"
#include "editor_test_support.h"
#include "map/mapfile.h"
#include "platform/platform.h"
#include "platform/sjis.h"
#include "platform/testing.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> boxes;
std::vector<int> answers;  // given in order; ANSWERED_CANCEL (or OK) once used up
std::string chooserStart, chooserAnswer;

int answerBox(const char* text, const char* caption, int flags) {
  boxes.push_back(std::string(caption) + "|" + text);
  if (answers.empty()) return (flags & BOX_YES_NO_CANCEL) == BOX_YES_NO_CANCEL ? ANSWERED_CANCEL : ANSWERED_OK;
  int a = answers.front();
  answers.erase(answers.begin());
  return a;
}

int answerChooser(const FileChooserSetup&, const char* start, char* out, size_t outSize) {
  chooserStart = start;
  if (chooserAnswer.empty()) return 0;
  sjisCopy(out, outSize, chooserAnswer.c_str());
  return 1;
}

constexpr int BUTTON_LOAD = 1, BUTTON_UNDO = 4;

class UnsavedTest : public EditorTest {
 protected:
  fs::path dir;
  void SetUp() override {
    EditorTest::SetUp();
    dir = fs::temp_directory_path() / ("brindle-unsaved-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    sjisCopy(programDir, PROGRAM_DIR_STORE, (dir.string() + "/").c_str());
    boxes.clear();
    answers.clear();
    chooserStart.clear();
    chooserAnswer.clear();
    platformSetMessageBoxHook(answerBox);
    platformSetFileChooserHook(answerChooser);
    platformResetMessages();
    appShutdownDelayMs = 0;
    editorSetSheetSizeForTests(256, 256);
  }
  void TearDown() override {
    platformSetMessageBoxHook(nullptr);
    platformSetFileChooserHook(nullptr);
    platformResetMessages();
    fs::remove_all(dir);
    EditorTest::TearDown();
  }
  std::string at(const char* name) const { return (dir / name).string(); }
  // A click of POINT mode on the map window's cell (c, r) at 32 x 32 chips.
  void paintCell(int c, int r) {
    const ViewWindow& v = session.mapView;
    step(v.x + c * 32 + 5, v.y + r * 32 + 5, BTN_PRIMARY);
    step(v.x + c * 32 + 5, v.y + r * 32 + 5, 0);
  }
  PlatMessage nextMessage() {
    PlatMessage m{};
    if (platformPeekMessage()) platformGetMessage(&m);
    return m;
  }
};

TEST_F(UnsavedTest, ChangesMarkTheMapUntilSavedAndOpeningStartsClean) {
  EXPECT_EQ(doc.unsaved, 0);
  session.brushX[0] = 64;
  paintCell(1, 1);
  EXPECT_EQ(doc.unsaved, 1);
  EXPECT_EQ(doc.planeX[cellIndex(1, 1)], 64);

  // The mark stands in the map window's title while unsaved, and is gone
  // once saved; the saved file clears the state.
  auto markQueued = [] {
    for (int layer = 0; layer < LAYER_COUNT; ++layer)
      for (int i = 0; i < frameQueues.textCount[layer]; ++i)
        if (std::string(frameQueues.text[layer][i].text) == SJIS("＊")) return true;
    return false;
  };
  step(0, 599);
  EXPECT_TRUE(markQueued());
  ASSERT_EQ(saveMapFile(at("a.bct").c_str()), 1);
  EXPECT_EQ(doc.unsaved, 0);
  step(0, 599);
  EXPECT_FALSE(markQueued());

  // UNDO and CLEAR are changes; so is a map-size OK (tested elsewhere).
  runCommand(BUTTON_UNDO);
  EXPECT_EQ(doc.unsaved, 1);
  saveMapFile(at("b.bct").c_str());

  // Another map with attributes and cells beyond a small one's edge...
  setMapCells(3, 2);
  doc.planeA[cellIndex(0, 0)] = 7;
  doc.planeX[cellIndex(30, 20)] = 96;
  documentChanged();
  // ...then a.bct is opened over it: nothing of it stays, in any plane or
  // outside the map, and UNDO right after the open changes nothing.
  sjisCopy(doc.mapPath, PATH_STORE, at("b.bct").c_str());
  answers = {ANSWERED_NO};  // discard the unsaved changes
  chooserAnswer = at("a.bct");
  runCommand(BUTTON_LOAD);
  ASSERT_GE(boxes.size(), 1u) << "LOAD over unsaved changes asks first";
  EXPECT_NE(boxes[0].find("b.bct"), std::string::npos) << boxes[0];
  EXPECT_EQ(std::string(doc.mapPath), at("a.bct"));
  EXPECT_EQ(doc.unsaved, 0);
  EXPECT_EQ(doc.planeA[cellIndex(0, 0)], 0);
  EXPECT_EQ(doc.planeX[cellIndex(30, 20)], 0);
  EXPECT_EQ(doc.planeX[cellIndex(1, 1)], 64);
  runCommand(BUTTON_UNDO);
  EXPECT_EQ(doc.planeX[cellIndex(1, 1)], 64);
  EXPECT_EQ(doc.planeX[cellIndex(30, 20)], 0);
  EXPECT_EQ(doc.unsaved, 0) << "an UNDO with nothing to take back changes nothing";
  doc.planeX[cellIndex(2, 1)] = 32;
  documentChanged();

  // A LOAD of something that holds no map keeps the map and its path, and says so.
  {
    FILE* f = std::fopen(at("junk.bct").c_str(), "wb");
    std::fputs("\x01\x02 not a map at all", f);
    std::fclose(f);
  }
  answers = {ANSWERED_NO};
  boxes.clear();
  chooserAnswer = at("junk.bct");
  runCommand(BUTTON_LOAD);
  EXPECT_EQ(std::string(doc.mapPath), at("a.bct"));
  EXPECT_EQ(doc.planeX[cellIndex(1, 1)], 64);
  ASSERT_EQ(boxes.size(), 2u) << "the unsaved change is asked about first";
  EXPECT_NE(boxes[1].find("読めない"), std::string::npos) << boxes[1];
  EXPECT_EQ(doc.unsaved, 1) << "a failed LOAD keeps the unsaved state";

  // A new map: clean planes, no path, nothing unsaved; its SAVE chooser
  // opens in the last map's folder with no name in it.
  startNewDocument();
  EXPECT_EQ(doc.mapPath[0], 0);
  EXPECT_EQ(doc.planeX[cellIndex(1, 1)], 0);
  chooserAnswer.clear();
  EXPECT_EQ(saveMapAs(), 0);
  EXPECT_EQ(chooserStart, dir.string() + "/");
  EXPECT_EQ(doc.mapPath[0], 0) << "a cancelled save names no file";
}

TEST_F(UnsavedTest, QuittingWithUnsavedChangesAsksToSaveDiscardOrStay) {
  // Nothing unsaved: the plain question, as ever.
  answers = {ANSWERED_NO};
  mainWindowProc(PlatMessage{MESSAGE_COMMAND, CMD_QUIT_ASK, 0});
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "いいのかな？|おわっちゃうよ？");

  documentChanged();
  boxes.clear();
  // Cancel (Esc) keeps the editor: nothing is posted, the mark stays. So does
  // the window's close box.
  answers = {ANSWERED_CANCEL};
  mainWindowProc(PlatMessage{MESSAGE_COMMAND, CMD_QUIT_ASK, 0});
  EXPECT_EQ(nextMessage().kind, MESSAGE_NONE);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("新規マップ"), std::string::npos) << boxes[0];
  answers = {ANSWERED_CANCEL};
  platformSetWindowProc(mainWindowProc);
  mainWindowProc(PlatMessage{MESSAGE_CLOSE, 0, 0});
  EXPECT_EQ(nextMessage().kind, MESSAGE_NONE);

  // Save and quit on a map without a file: the chooser is cancelled, so the
  // editor stays with the mark.
  answers = {ANSWERED_YES};
  mainWindowProc(PlatMessage{MESSAGE_COMMAND, CMD_QUIT_ASK, 0});
  EXPECT_EQ(nextMessage().kind, MESSAGE_NONE);
  EXPECT_EQ(doc.unsaved, 1);

  // Chosen this time: the map is written, then the editor closes.
  answers = {ANSWERED_YES};
  chooserAnswer = at("kept.bct");
  mainWindowProc(PlatMessage{MESSAGE_COMMAND, CMD_QUIT_ASK, 0});
  EXPECT_EQ(nextMessage().kind, MESSAGE_CLOSE);
  EXPECT_TRUE(fs::exists(at("kept.bct")));
  EXPECT_EQ(doc.unsaved, 0);

  // Quit without saving closes and writes nothing.
  documentChanged();
  answers = {ANSWERED_NO};
  mainWindowProc(PlatMessage{MESSAGE_COMMAND, CMD_QUIT_ASK, 0});
  EXPECT_EQ(nextMessage().kind, MESSAGE_CLOSE);
  EXPECT_EQ(doc.unsaved, 1);
  platformSetWindowProc(nullptr);
}

}  // namespace
