// Map files of the older fixed-header layout.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "map/map.h"
#include "map/oldmap.h"

namespace fs = std::filesystem;

namespace {

std::string header(const std::string& line2, const std::string& line3) {
  std::string h = "any first line\r\n" + line2 + "\r\n" + line3 + "\r\n";
  h.resize(96, '#');
  return h;
}

void put16(std::string& s, int v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}

class OldMap : public ::testing::Test {
 protected:
  void SetUp() override {
    resetMapModel();
    char tmpl[] = "/tmp/bctoldXXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
  }
  void TearDown() override { fs::remove_all(dir); }
  int convert(const std::string& bytes) {
    std::ofstream((dir / "old.map").string(), std::ios::binary) << bytes;
    return convertOldMapFile((dir / "old.map").string().c_str());
  }
  fs::path dir;
};

}  // namespace

TEST_F(OldMap, ReadsHeaderAndGrid) {
  std::string f = header("C:\\maps\\chips.bmp", "  0016 0016 0020 0015 trailing");
  for (int r = 0; r < 15; ++r)
    for (int c = 0; c < 20; ++c) {
      put16(f, c == 0 && r == 0 ? 64 : c * 16);
      put16(f, c == 0 && r == 0 ? 32 : 60000 + r);
    }
  ASSERT_EQ(f.size(), 1296u);
  doc.planeA[cellIndex(3, 3)] = 7;
  ASSERT_EQ(convert(f), 1);
  EXPECT_EQ(doc.chipWidth, 16);
  EXPECT_EQ(doc.chipHeight, 16);
  EXPECT_EQ(doc.mapCellsX, 20);
  EXPECT_EQ(doc.mapCellsY, 15);
  // The sheet is looked for beside the map: the header's folder goes.
  EXPECT_STREQ(doc.chipSheetPath, (dir / "chips.bmp").c_str());
  EXPECT_STREQ(doc.chipSheetName, "chips.bmp");
  EXPECT_EQ(doc.planeX[cellIndex(0, 0)], 64);
  EXPECT_EQ(doc.planeY[cellIndex(0, 0)], 32);
  EXPECT_EQ(doc.planeX[cellIndex(19, 14)], 19 * 16);
  EXPECT_EQ(doc.planeY[cellIndex(19, 14)], 60014);  // unsigned 16-bit
  EXPECT_EQ(doc.planeA[cellIndex(3, 3)], 0);         // no attributes: none of the previous map's stay

  // A '/' folder goes too; a header path naming an existing file stays the
  // path in force. "表" ends in the byte of a backslash, which is no separator.
  // The header's Shift_JIS becomes the system's UTF-8.
  std::ofstream((dir / "表.bmp").string()) << "x";
  ASSERT_EQ(convert(header("/x/y/\x95\x5C.bmp", "  0016 0016 0000 0000")), 1);
  EXPECT_STREQ(doc.chipSheetName, "表.bmp");
  ASSERT_EQ(convert(header(dir.string() + "/\x95\x5C.bmp", "  0016 0016 0000 0000")), 1);
  EXPECT_STREQ(doc.chipSheetPath, (dir / "表.bmp").c_str());

  // Fields by the number rule: blanks, sign, trailing text.
  ASSERT_EQ(convert(header("s.bmp", "..  32 32ab +003 -002")), 1);
  EXPECT_EQ(doc.chipWidth, 32);
  EXPECT_EQ(doc.chipHeight, 32);
  EXPECT_EQ(doc.mapCellsX, 3);
  EXPECT_EQ(doc.mapCellsY, 0);
}

TEST_F(OldMap, WideGridsKeepTheirStrideAndShortFilesAreRefused) {
  // 300 columns in the file: the model holds 256, yet row 1 starts at cell 300.
  std::string f = header("w.bmp", "  0008 0008 0300 0002");
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 300; ++c) {
      put16(f, r * 1000 + c);
      put16(f, 0);
    }
  ASSERT_EQ(convert(f), 1);
  EXPECT_EQ(doc.mapCellsX, 256);
  EXPECT_EQ(doc.planeX[cellIndex(255, 0)], 255);
  EXPECT_EQ(doc.planeX[cellIndex(0, 1)], 1000);
  EXPECT_EQ(doc.planeX[cellIndex(255, 1)], 1255);

  // A grid that stops early, even one byte short (also in the columns past
  // 256 that the planes do not hold), is a damaged file: nothing changes.
  f.pop_back();
  doc.planeX[cellIndex(0, 1)] = 6;
  EXPECT_EQ(convert(f), 0);
  std::string s = header("s.bmp", "  0016 0016 0002 0002");
  put16(s, 1);
  put16(s, 2);
  put16(s, 3);
  EXPECT_EQ(convert(s), 0);
  EXPECT_EQ(doc.planeX[cellIndex(0, 1)], 6);
  EXPECT_EQ(doc.mapCellsX, 256);
  EXPECT_EQ(doc.chipWidth, 8);
  EXPECT_STREQ(doc.chipSheetName, "w.bmp");
}

TEST_F(OldMap, RefusesWhatItCannotReadAndChangesNothing) {
  std::strcpy(doc.chipSheetName, "keep");
  doc.planeX[0] = 9;
  std::string noThirdLine = "one\r\ntwo\r\n";
  noThirdLine.resize(96, 'x');
  std::string lineEndsPast96 = "one\r\ntwo\r\n" + std::string(90, ' ') + "\r\n";
  std::string shortLine3 = header("s.bmp", "  0016 0016 0020 001");
  std::string bareCr = "one\rtwo\r\n  0016 0016 0020 0015\r\n";
  for (const std::string& bad : {noThirdLine, lineEndsPast96, shortLine3, bareCr, std::string()}) {
    EXPECT_EQ(convert(bad), 0);
  }
  EXPECT_EQ(convertOldMapFile((dir / "missing.map").string().c_str()), 0);
  EXPECT_EQ(convertOldMapFile(dir.string().c_str()), 0);
  EXPECT_STREQ(doc.chipSheetName, "keep");
  EXPECT_EQ(doc.planeX[0], 9);
  EXPECT_EQ(doc.mapCellsX, 40);
  EXPECT_EQ(doc.chipWidth, 32);
}
