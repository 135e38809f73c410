// Every file the program writes, under faults: a full disk, a target that is a
// directory, a directory that has vanished, a read-only directory. Each time the
// writer reports failure, the user is told where the program tells, the previous
// file is byte for byte intact and no temporary file is left. Then the map
// reader on the awkward files a user can hand it.
#include <gtest/gtest.h>

#include "file_test_support.h"
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "editor/editor.h"
#include "map/map.h"
#include "map/mapfile.h"
#include "map/oldmap.h"
#include "platform/filechooser.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/testing.h"
#include "settings/settings.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> boxes;
int recordBox(const char* text, const char* caption, int) {
  boxes.push_back(std::string(caption) + "|" + text);
  return ANSWERED_OK;
}
std::string chooserAnswer;
int answerChooser(const FileChooserSetup&, const char*, char* out, size_t size) {
  std::snprintf(out, size, "%s", chooserAnswer.c_str());
  return 1;
}

class FileFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("brindle-faults-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    resetMapModel();
    resetSettings();
    filesFailNthWrite(0);
    boxes.clear();
    platformSetMessageBoxHook(recordBox);
    platformSetFileChooserHook(answerChooser);
  }
  void TearDown() override {
    filesFailNthWrite(0);
    platformSetMessageBoxHook(nullptr);
    platformSetFileChooserHook(nullptr);
    fs::permissions(dir, fs::perms::owner_all);
    fs::remove_all(dir);
    resetMapModel();
    resetSettings();
  }
  size_t entries() { return std::distance(fs::directory_iterator(dir), fs::directory_iterator()); }
  void someMap() {
    setMapCells(256, 256);  // about 1 MB: many buffered writes
    for (int i = 0; i < MAP_CELLS; ++i) doc.planeX[i] = i % 997;
  }
  fs::path dir;
};

TEST_F(FileFaults, AFailedMapSaveKeepsThePreviousFileWhole) {
  someMap();
  fs::path target = dir / "town.bct";
  ASSERT_EQ(saveMapFile(target.c_str()), 1);
  const std::string before = slurp(target);
  doc.planeX[0] = 12345;  // the map in memory has moved on
  for (int n : {1, 2, 5}) {  // the first, second and a later write meet a full disk
    filesFailNthWrite(n);
    EXPECT_EQ(saveMapFile(target.c_str()), 0) << "write " << n;
    EXPECT_TRUE(slurp(target) == before);
    EXPECT_EQ(entries(), 1u) << "no temporary file after failing write " << n;
  }
  filesFailNthWrite(0);
  fs::create_directories(dir / "adir");
  EXPECT_EQ(saveMapFile((dir / "adir").c_str()), 0);
  EXPECT_TRUE(fs::is_directory(dir / "adir"));
  EXPECT_EQ(saveMapFile((dir / "gone" / "town.bct").c_str()), 0);
  EXPECT_FALSE(fs::exists(dir / "gone"));
  EXPECT_EQ(doc.planeX[0], 12345) << "a failed save leaves the map in memory alone";
}

TEST_F(FileFaults, AFailedSettingsSaveKeepsThePreviousFileWhole) {
  ASSERT_EQ(buildProgramPathsFrom((dir.string() + "/").c_str()), 1);
  ASSERT_EQ(saveSettings(), 1);
  const std::string before = slurp(iniPath);
  settings.scrollSpeed = 555;
  filesFailNthWrite(1);
  EXPECT_EQ(saveSettings(), 0);
  EXPECT_EQ(slurp(iniPath), before);
  EXPECT_EQ(entries(), 1u);
  filesFailNthWrite(0);
  fs::remove(iniPath);
  fs::create_directories(iniPath);  // a directory where the file should be
  EXPECT_EQ(saveSettings(), 0);
  EXPECT_TRUE(fs::is_directory(iniPath));
}

TEST_F(FileFaults, ReadOnlyDirectoryRefusesANewFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only directories (see FilesKept for setpriv)";
  someMap();
  fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_EQ(saveMapFile((dir / "town.bct").c_str()), 0);
  EXPECT_FALSE(fs::exists(dir / "town.bct"));
}

TEST_F(FileFaults, TheSaveCommandTellsTheUserWhenTheWriteFails) {
  someMap();
  const std::string before = doc.mapPath;
  chooserAnswer = (dir / "gone" / "town.bct").string();
  runCommand(2);  // SAVE
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "はて？|マップファイル書き込みに失敗。");
  EXPECT_EQ(std::string(doc.mapPath), before) << "the map keeps the name it has on disk";
  // A save that works says nothing.
  boxes.clear();
  chooserAnswer = (dir / "town.bct").string();
  runCommand(2);
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(fs::exists(dir / "town.bct"));
}

// The awkward files of the reader, each with its documented result.
TEST_F(FileFaults, AwkwardMapFilesLoadWithoutHarm) {
  auto load = [&](const std::string& bytes) {
    fs::path p = dir / "in.bct";
    std::ofstream(p, std::ios::binary) << bytes;
    return loadMapFile(p.c_str());
  };
  // Exactly the read limit, and one byte past it: the last byte is never seen.
  std::string pad = "@KOMA_X 7\r\n";
  std::string exact = pad + std::string(MAP_FILE_READ_LIMIT - pad.size() - 11, 'x') + "\r\n@TIP_X 48";
  ASSERT_EQ(exact.size(), static_cast<size_t>(MAP_FILE_READ_LIMIT));
  EXPECT_EQ(load(exact), 1);
  EXPECT_EQ(doc.mapCellsX, 7);
  EXPECT_EQ(doc.chipWidth, 48);
  EXPECT_EQ(load(exact.substr(0, exact.size() - 1) + "9" + "3"), 1);  // 1,048,577 bytes
  EXPECT_EQ(doc.chipWidth, 49) << "the line is cut at the limit, so the final 3 is not read";
  // NUL bytes end a line's text; a 300-byte sheet name is cut to the store.
  EXPECT_EQ(load(std::string("@KOMA_X 5\0\0@KOMA_Y 9\r\n@BMP ", 27) + std::string(300, 'n') + "\r\n"), 1);
  EXPECT_EQ(doc.mapCellsX, 5);
  EXPECT_NE(doc.mapCellsY, 9);
  EXPECT_EQ(std::strlen(doc.chipSheetName), 259u);
  // Rows outside the planes are skipped; sizes are held; chip sizes below 1
  // refused; nothing of the previous map stays in the planes.
  doc.planeX[cellIndex(0, 255)] = 4;
  EXPECT_EQ(load("@KOMA_X 100000\r\n@99999:X,1,2\r\n@-1:X,3\r\n@TIP_X 0\r\n@TIP_Y -5\r\n"), 1);
  EXPECT_EQ(doc.mapCellsX, 256);
  EXPECT_EQ(doc.chipWidth, 49);
  EXPECT_GE(doc.chipHeight, 1);
  EXPECT_EQ(doc.planeX[cellIndex(0, 255)], 0);
  // And a missing file changes nothing.
  EXPECT_EQ(loadMapFile((dir / "none.bct").c_str()), 0);
  EXPECT_EQ(doc.mapCellsX, 256);
}

}  // namespace

namespace {

// bctool's failures name the cause the system gave; tmx --png writes both
// files or neither; a bitmap whose pixels start past its end is refused in
// one line of bctool's own, with no toolkit warning on the terminal.
TEST(BctoolFailures, SayWhyAndLeaveNoHalfOfAPair) {
  const fs::path dir = fs::temp_directory_path() / ("brindle-bctool-" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "out" / "x.tmx");  // a folder where the TMX file would go
  const fs::path samples = fs::path(BRINDLE_SOURCE_DIR) / "samples";
  fs::copy_file(samples / "sample.bct", dir / "sample.bct");
  fs::copy_file(samples / "chips.bmp", dir / "chips.bmp");
  std::ofstream(dir / "out" / "chips.png") << "older";
  const fs::path err = dir / "err.txt";
  const std::string in = "'" + (dir / "sample.bct").string() + "' ";

  EXPECT_EQ(runTool("tmx " + in + "'" + (dir / "out" / "x.tmx").string() + "' --png", err), 1);
  EXPECT_TRUE(oneLine(err)) << slurp(err);
  EXPECT_EQ(slurp(dir / "out" / "chips.png"), "older") << "the PNG is put in place only with its TMX file";
  EXPECT_EQ(runTool("tmx " + in + "'" + (dir / "new" / "x.tmx").string() + "' --png", err), 1);
  EXPECT_FALSE(fs::exists(dir / "new"));

  EXPECT_EQ(runTool("resave " + in + "'" + (dir / "gone" / "x.bct").string() + "'", err), 1);
  EXPECT_NE(slurp(err).find("cannot write " + (dir / "gone" / "x.bct").string() + ": No such file or directory"),
            std::string::npos)
      << slurp(err);
  EXPECT_EQ(runTool("convert '" + (dir / "none.map").string() + "' '" + (dir / "o.bct").string() + "'", err), 1);
  EXPECT_NE(slurp(err).find("cannot read"), std::string::npos) << slurp(err);

  {
    std::string bmp = slurp(dir / "chips.bmp");
    const uint32_t past = static_cast<uint32_t>(bmp.size() + 100);
    std::memcpy(&bmp[10], &past, 4);
    std::ofstream(dir / "chips.bmp", std::ios::binary | std::ios::trunc) << bmp;
  }
  EXPECT_EQ(runTool("png " + in + "'" + (dir / "x.png").string() + "'", err), 1);
  EXPECT_TRUE(oneLine(err)) << slurp(err);
  EXPECT_NE(slurp(err).find("chip sheet"), std::string::npos) << slurp(err);
  fs::remove_all(dir);
}

}  // namespace
