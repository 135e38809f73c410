// The four file pickers, through the chooser hook, and the real dialog's setup.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTimer>

#include <unistd.h>

#include <filesystem>

#include <cstring>
#include <string>

#include "dialogs/pickers.h"
#include "map/map.h"
#include "platform/filechooser.h"
#include "platform/platform.h"
#include "platform/qt/qt_testing.h"
#include "platform/sjis.h"
#include "platform/testing.h"

namespace {

struct Seen {
  int calls = 0;
  FileChooserSetup setup{};
  std::string start;
  int answer = 1;
  std::string chosen;
} seen;

int fakeChooser(const FileChooserSetup& setup, const char* start, char* out, size_t outSize) {
  ++seen.calls;
  seen.setup = setup;
  seen.start = start;
  if (seen.answer == 1) {
    if (seen.chosen.size() + 1 > outSize) return -1;
    std::strcpy(out, seen.chosen.c_str());
  }
  return seen.answer;
}

std::string boxCaption;
int boxFlags = -1;
int boxes = 0;
int fakeBox(const char*, const char* caption, int flags) {
  ++boxes;
  boxCaption = caption;
  boxFlags = flags;
  return ANSWERED_OK;
}

class Pickers : public ::testing::Test {
 protected:
  void SetUp() override {
    resetMapModel();
    seen = Seen();
    boxes = 0;
    boxFlags = -1;
    platformSetFileChooserHook(fakeChooser);
    platformSetMessageBoxHook(fakeBox);
  }
  void TearDown() override {
    platformSetFileChooserHook(nullptr);
    platformSetMessageBoxHook(nullptr);
  }
};

}  // namespace

TEST_F(Pickers, EachWritesItsSettingAndStartsFromIt) {
  std::strcpy(doc.chipSheetPath, "/old/sheet.bmp");
  seen.chosen = "/maps/chips.bmp";
  EXPECT_EQ(chooseChipSheetFile(), 1);
  EXPECT_EQ(seen.start, "/old/sheet.bmp");
  EXPECT_STREQ(seen.setup.titleUtf8, "ＢＭＰファイル？");
  EXPECT_STREQ(seen.setup.filterLabelUtf8, "ＢＭＰファイル[*.bmp]");
  EXPECT_STREQ(seen.setup.patternUtf8, "*.bmp");
  EXPECT_STREQ(seen.setup.defaultSuffix, "bmp");
  EXPECT_EQ(seen.setup.save, 0);
  EXPECT_STREQ(doc.chipSheetPath, "/maps/chips.bmp");
  EXPECT_STREQ(doc.chipSheetName, "chips.bmp");

  seen.chosen = "/bg/wall.bmp";
  EXPECT_EQ(chooseWallpaperFile(), 1);
  EXPECT_STREQ(doc.wallpaperPath, "/bg/wall.bmp");
  EXPECT_STREQ(doc.chipSheetName, "chips.bmp");

  seen.chosen = "/m/a.bct";
  EXPECT_EQ(chooseMapFileToOpen(), 1);
  EXPECT_STREQ(seen.setup.titleUtf8, "マップファイル？");
  EXPECT_STREQ(seen.setup.filterLabelUtf8, "マップファイル[*.bct]");
  EXPECT_EQ(seen.setup.save, 0);
  EXPECT_STREQ(doc.mapPath, "/m/a.bct");

  seen.chosen = "/m/town.bct";
  EXPECT_EQ(chooseMapFileToSave(), 1);
  EXPECT_EQ(seen.start, "/m/a.bct");
  EXPECT_STREQ(seen.setup.titleUtf8, "どれにセーブする？");
  EXPECT_STREQ(seen.setup.defaultSuffix, "bct");
  EXPECT_EQ(seen.setup.save, 1);
  EXPECT_STREQ(doc.mapPath, "/m/town.bct");
  EXPECT_EQ(boxes, 0);
}

TEST_F(Pickers, CancelAndRefusedNamesLeaveTheSettingUnchanged) {
  std::strcpy(doc.chipSheetPath, "/a/b.bmp");
  std::strcpy(doc.chipSheetName, "b.bmp");
  std::strcpy(doc.mapPath, "/m/keep.bct");
  seen.answer = 0;
  EXPECT_EQ(chooseChipSheetFile(), 0);
  EXPECT_EQ(chooseMapFileToSave(), 0);
  EXPECT_EQ(boxes, 0);
  seen.answer = -1;
  EXPECT_EQ(chooseChipSheetFile(), 0);
  EXPECT_EQ(boxes, 1);
  EXPECT_EQ(boxCaption, "はて？");
  EXPECT_EQ(boxFlags, BOX_OK | BOX_QUESTION);
  // A chosen name longer than the store is refused, not cut.
  seen.answer = 1;
  seen.chosen = "/" + std::string(PATH_STORE, 'n') + ".bct";
  EXPECT_EQ(chooseMapFileToOpen(), 0);
  EXPECT_EQ(boxes, 2);
  EXPECT_STREQ(doc.chipSheetPath, "/a/b.bmp");
  EXPECT_STREQ(doc.chipSheetName, "b.bmp");
  EXPECT_STREQ(doc.mapPath, "/m/keep.bct");
}

TEST(FileChooser, ConfiguresTheQtDialog) {
  static int argc = 1;
  static char name[] = "brindle_tests";
  static char* argv[] = {name, nullptr};
  if (!QApplication::instance()) new QApplication(argc, argv);

  FileChooserSetup save = {1, "どれにセーブする？", "マップファイル[*.bct]", "*.bct", "bct"};
  QFileDialog* d = platformBuildFileDialog(save, "/tmp/まっぷ.bct");
  EXPECT_EQ(d->windowTitle(), QString::fromUtf8("どれにセーブする？"));
  EXPECT_EQ(d->nameFilters(), QStringList{QString::fromUtf8("マップファイル[*.bct] (*.bct)")});
  EXPECT_EQ(d->defaultSuffix(), QStringLiteral("bct"));
  EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptSave);
  EXPECT_FALSE(d->testOption(QFileDialog::DontConfirmOverwrite));
  EXPECT_EQ(d->directory().absolutePath(), QStringLiteral("/tmp"));
  delete d;

  FileChooserSetup open = {0, "ＢＭＰファイル？", "ＢＭＰファイル[*.bmp]", "*.bmp", "bmp"};
  d = platformBuildFileDialog(open, "");
  EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptOpen);
  EXPECT_EQ(d->fileMode(), QFileDialog::ExistingFile);
  EXPECT_EQ(d->defaultSuffix(), QStringLiteral("bmp"));
  delete d;
}

TEST(FileChooser, AddsTheDefaultSuffixToATypedName) {
  static int argc = 1;
  static char name[] = "brindle_tests";
  static char* argv[] = {name, nullptr};
  if (!QApplication::instance()) new QApplication(argc, argv);
  char tmpl[] = "/tmp/bctpickXXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  std::string dir = tmpl;
  std::strcpy(doc.mapPath, (dir + "/start.bct").c_str());
  // Types "town" into the real save dialog once it is up, then accepts it.
  QTimer::singleShot(0, [] {
    auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!d) return;
    d->selectFile(QStringLiteral("town"));
    QMetaObject::invokeMethod(d, "accept", Qt::QueuedConnection);
  });
  EXPECT_EQ(chooseMapFileToSave(), 1);
  EXPECT_EQ(std::string(doc.mapPath), dir + "/town.bct");
  std::filesystem::remove_all(dir);
}
