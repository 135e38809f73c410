// Recovery copies: written two seconds after a change by the writer thread,
// removed once saved, never offered while their editor runs, restored into
// the document; and a kill in the middle of writing one leaves a whole copy.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "map/map.h"
#include "map/mapfile.h"
#include "map/recovery.h"
#include "platform/files.h"
#include "platform/sjis.h"

namespace fs = std::filesystem;

namespace {

class Recovery : public ::testing::Test {
 protected:
  fs::path dir;
  void SetUp() override {
    resetMapModel();
    dir = fs::temp_directory_path() / ("brindle-recovery-" + std::to_string(getpid()));
    fs::remove_all(dir);
    ASSERT_EQ(recoveryStart((dir / "state").c_str()), 1);
  }
  void TearDown() override {
    recoveryStop();
    fs::remove_all(dir);
  }
  static void fillPlanes(int32_t v) {
    for (int i = 0; i < MAP_CELLS; ++i) doc.planeX[i] = doc.planeY[i] = doc.planeA[i] = v;
  }
};

TEST_F(Recovery, ACopyFollowsChangesIsRemovedBySavingAndRestoresTheDocument) {
  const fs::path copy = recoveryCopyPath();
  sjisCopy(doc.mapPath, PATH_STORE, (dir / "town.bct").c_str());
  sjisCopy(doc.chipSheetPath, PATH_STORE, "/sheets/chips.bmp");
  doc.planeX[cellIndex(3, 4)] = 96;
  doc.planeA[cellIndex(39, 29)] = 5;
  documentChanged();
  recoveryTick(1000);
  EXPECT_EQ(recoveryDeadline(), 3000u);
  recoveryTick(2999);
  recoveryWaitIdle();
  EXPECT_FALSE(fs::exists(copy)) << "not before two seconds";
  recoveryTick(3000);
  EXPECT_EQ(recoveryDeadline(), 0u);
  recoveryWaitIdle();
  ASSERT_TRUE(fs::exists(copy));

  // The running editor's copy is not offered: its lock is held.
  RecoveryCopy found[RECOVERY_OFFER_MAX];
  EXPECT_EQ(findRecoveryCopies((dir / "state").c_str(), found, RECOVERY_OFFER_MAX), 0);

  // Saving removes it.
  ASSERT_EQ(saveMapFile((dir / "town.bct").c_str()), 1);
  recoveryTick(3100);
  recoveryWaitIdle();
  EXPECT_FALSE(fs::exists(copy));

  // A copy left by an editor that is gone (its lock free) is found and
  // restored: cells, path and sheet as they were, marked unsaved; this
  // editor's own copy takes it over.
  documentChanged();
  recoveryWriteNow();  // this editor's copy, renamed as if another had left it
  fs::rename(copy, dir / "state" / "edit-00000000000000aa.bct");
  resetMapModel();
  ASSERT_EQ(findRecoveryCopies((dir / "state").c_str(), found, RECOVERY_OFFER_MAX), 1);
  EXPECT_EQ(std::string(found[0].mapPath), (dir / "town.bct").string());
  ASSERT_EQ(restoreRecoveryCopy(found[0]), 1);
  EXPECT_EQ(doc.planeX[cellIndex(3, 4)], 96);
  EXPECT_EQ(doc.planeA[cellIndex(39, 29)], 5);
  EXPECT_EQ(std::string(doc.mapPath), (dir / "town.bct").string());
  EXPECT_STREQ(doc.chipSheetPath, "/sheets/chips.bmp");
  EXPECT_EQ(doc.unsaved, 1);
  EXPECT_FALSE(fs::exists(dir / "state" / "edit-00000000000000aa.bct"));
  EXPECT_TRUE(fs::exists(copy));
}

TEST_F(Recovery, AKillWhileTheCopyIsWrittenLeavesTheOldCopyOrTheNewOneWhole) {
  setMapCells(256, 256);
  fillPlanes(1);
  documentChanged();
  recoveryWriteNow();
  const std::string copy = recoveryCopyPath();
  std::mt19937 random(12345);
  int32_t last = 1;
  for (int32_t trial = 2; trial < 14; ++trial) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      fillPlanes(trial);
      for (;;) recoveryWriteNow();  // until killed
    }
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 40000));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    resetMapModel();
    ASSERT_EQ(loadMapFile(copy.c_str()), 1);
    const int32_t v = doc.planeX[cellIndex(0, 0)];
    EXPECT_TRUE(v == last || v == trial) << "trial " << trial << ": " << v;
    EXPECT_EQ(doc.mapCellsY, 256);
    EXPECT_EQ(doc.planeA[cellIndex(255, 255)], v) << "trial " << trial << ": the copy is cut short";
    last = v;
    setMapCells(256, 256);
    documentChanged();
  }
}

}  // namespace
