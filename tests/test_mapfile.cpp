// The bct map file: exact output, the lenient reader, failure paths, bctool.
#include <gtest/gtest.h>

#include "file_test_support.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "map/history.h"
#include "map/map.h"
#include "map/mapfile.h"
#include "map/numparse.h"
#include "platform/files.h"
#include "platform/sjis.h"
#include "platform/testing.h"

namespace fs = std::filesystem;

namespace {

void spit(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary);
  out << bytes;
}

void parse(const std::string& bytes, const char* path = "dir/m.bct") {
  parseMapBytes(path, bytes.data(), static_cast<int>(bytes.size()));
}

class MapFile : public ::testing::Test {
 protected:
  void SetUp() override {
    resetMapModel();
    filesFailNthWrite(0);
    char tmpl[] = "/tmp/bctmapXXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
  }
  void TearDown() override {
    filesFailNthWrite(0);
    fs::remove_all(dir);
  }
  std::string at(const char* name) const { return (dir / name).string(); }
  fs::path dir;
};

}  // namespace

TEST_F(MapFile, WritesTheExactBytesOfASmallMap) {
  setMapCells(3, 2);
  std::strcpy(doc.chipSheetName, "chips.bmp");
  ASSERT_EQ(saveMapFile(at("a.bct").c_str()), 1);
  const std::string row = ",   0,   0,   0\r\n";
  std::string want = "BrindlecotVer0.93b\r\n--------------------------------\r\n@BMP chips.bmp\r\n"
                     "@KOMA_X 3\r\n@KOMA_Y 2\r\n@TIP_X 32\r\n@TIP_Y 32\r\n"
                     "--------------------------------\r\n";
  for (const char* r : {"00000", "00001"})
    for (const char* p : {"X", "Y", "A"}) want += std::string("@") + r + ":" + p + row;
  EXPECT_EQ(slurp(dir / "a.bct"), want);
  // Nothing but the target is left in the directory.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(MapFile, PadsValuesToFourCharactersAndWritesWiderOnesInFull) {
  setMapCells(7, 1);
  const int32_t v[7] = {0, 1, 12, 12345, -5, -12345, INT32_MIN};
  for (int c = 0; c < 7; ++c) doc.planeX[cellIndex(c, 0)] = v[c];
  doc.chipSheetName[0] = 0;
  ASSERT_EQ(saveMapFile(at("w.bct").c_str()), 1);
  std::string s = slurp(dir / "w.bct");
  EXPECT_NE(s.find("@BMP \r\n"), std::string::npos);
  EXPECT_NE(s.find("@00000:X,   0,   1,  12,12345,  -5,-12345,-2147483648\r\n"), std::string::npos);

  // A line end inside the name ends the name; its tail never becomes a line.
  std::strcpy(doc.chipSheetName, "a.bmp\r\n@KOMA_X 9");
  ASSERT_EQ(saveMapFile(at("w.bct").c_str()), 1);
  setMapCellsX(1);
  ASSERT_EQ(loadMapFile(at("w.bct").c_str()), 1);
  EXPECT_STREQ(doc.chipSheetName, "a.bmp");
  EXPECT_EQ(doc.mapCellsX, 7);

  // Edge sizes: no rows ends after the header; no columns leaves bare labels.
  setMapCells(0, 2);
  ASSERT_EQ(saveMapFile(at("z.bct").c_str()), 1);
  s = slurp(dir / "z.bct");
  EXPECT_NE(s.find("--------------------------------\r\n@00000:X\r\n@00000:Y\r\n@00000:A\r\n@00001:X\r\n"),
            std::string::npos);
  setMapCells(5, 0);
  ASSERT_EQ(saveMapFile(at("z.bct").c_str()), 1);
  s = slurp(dir / "z.bct");
  EXPECT_EQ(s.substr(s.size() - 45), "@TIP_Y 32\r\n--------------------------------\r\n");
}

TEST_F(MapFile, RoundTripsRandomMapsOfEverySize) {
  std::mt19937 rng(12345);
  std::uniform_int_distribution<int32_t> four(-999, 9999);
  for (int k = 1; k <= 256; ++k) {
    int kx = k, ky = (k * 37) % 256 + 1;
    setMapCells(kx, ky);
    setChipWidth(k);
    setChipHeight(257 - k);
    std::snprintf(doc.chipSheetName, PATH_STORE, "sheet %d.bmp", k);
    for (int c = 0; c < kx; ++c)
      for (int r = 0; r < ky; ++r) {
        doc.planeX[cellIndex(c, r)] = four(rng);
        doc.planeY[cellIndex(c, r)] = four(rng);
        doc.planeA[cellIndex(c, r)] = four(rng);
      }
    static int32_t wantX[MAP_CELLS], wantY[MAP_CELLS], wantA[MAP_CELLS];
    std::memcpy(wantX, doc.planeX, sizeof doc.planeX);
    std::memcpy(wantY, doc.planeY, sizeof doc.planeY);
    std::memcpy(wantA, doc.planeA, sizeof doc.planeA);
    ASSERT_EQ(saveMapFile(at("r.bct").c_str()), 1);
    // Scramble what the file must restore.
    setMapCells(3, 3);
    setChipWidth(1);
    setChipHeight(1);
    std::strcpy(doc.chipSheetName, "other");
    for (int c = 0; c < kx; ++c)
      for (int r = 0; r < ky; ++r) doc.planeX[cellIndex(c, r)] = doc.planeY[cellIndex(c, r)] = doc.planeA[cellIndex(c, r)] = 77777;
    ASSERT_EQ(loadMapFile(at("r.bct").c_str()), 1);
    ASSERT_EQ(doc.mapCellsX, kx);
    ASSERT_EQ(doc.mapCellsY, ky);
    ASSERT_EQ(doc.chipWidth, k);
    ASSERT_EQ(doc.chipHeight, 257 - k);
    ASSERT_EQ(std::string(doc.chipSheetName), "sheet " + std::to_string(k) + ".bmp");
    for (int c = 0; c < kx; ++c)
      for (int r = 0; r < ky; ++r) {
        int i = cellIndex(c, r);
        ASSERT_EQ(doc.planeX[i], wantX[i]) << k << " " << c << " " << r;
        ASSERT_EQ(doc.planeY[i], wantY[i]);
        ASSERT_EQ(doc.planeA[i], wantA[i]);
      }
  }
  // Values of any width, on a map small enough to stay inside one read.
  std::uniform_int_distribution<int32_t> any(INT32_MIN, INT32_MAX);
  setMapCells(64, 64);
  for (int i = 0; i < MAP_CELLS; ++i) doc.planeX[i] = doc.planeY[i] = doc.planeA[i] = 0;
  for (int c = 0; c < 64; ++c)
    for (int r = 0; r < 64; ++r) doc.planeX[cellIndex(c, r)] = any(rng), doc.planeA[cellIndex(c, r)] = any(rng);
  doc.planeX[0] = INT32_MIN;
  doc.planeX[1] = INT32_MAX;
  static int32_t wx[MAP_CELLS], wa[MAP_CELLS];
  std::memcpy(wx, doc.planeX, sizeof doc.planeX);
  std::memcpy(wa, doc.planeA, sizeof doc.planeA);
  ASSERT_EQ(saveMapFile(at("wide.bct").c_str()), 1);
  std::memset(doc.planeX, 0, sizeof doc.planeX);
  std::memset(doc.planeA, 0, sizeof doc.planeA);
  ASSERT_EQ(loadMapFile(at("wide.bct").c_str()), 1);
  EXPECT_EQ(std::memcmp(doc.planeX, wx, sizeof doc.planeX), 0);
  EXPECT_EQ(std::memcmp(doc.planeA, wa, sizeof doc.planeA), 0);
}

TEST_F(MapFile, ReadsKeyLinesLeniently) {
  parse("@KOMA_X  40\r\n@KOMA_Y 4O\r\n@Tip_y 48\r\n@FOO 12\r\n@TIP_X\r\n");
  EXPECT_EQ(doc.mapCellsX, 40);
  EXPECT_EQ(doc.mapCellsY, 4);
  EXPECT_EQ(doc.chipHeight, 48);
  EXPECT_EQ(doc.chipWidth, 32);  // a key without a blank is ignored
  // Sizes pass the guard: cells held to 0..256, a chip size below 1 refused.
  parse("@KOMA_X 300\r\n@KOMA_Y -5\r\n@TIP_X 0\r\n@TIP_Y -3\r\n");
  EXPECT_EQ(doc.mapCellsX, 256);
  EXPECT_EQ(doc.mapCellsY, 0);
  EXPECT_EQ(doc.chipWidth, 32);
  EXPECT_EQ(doc.chipHeight, 48);
  // Numbers too large for 32 bits hold at the ends of the range; a chip size
  // past CHIP_MAX is held there, so no screen arithmetic can overflow.
  parse("@TIP_X 99999999999999999999\r\n@KOMA_X -99999999999\r\n@TIP_Y 4097\r\n");
  EXPECT_EQ(doc.chipWidth, CHIP_MAX);
  EXPECT_EQ(doc.chipHeight, CHIP_MAX);
  EXPECT_EQ(doc.mapCellsX, 0);
  // Blanks inside a name survive; the signature line is never required.
  parse("@BMP my  chips .bmp\r\n");
  EXPECT_STREQ(doc.chipSheetName, "my  chips .bmp");
  EXPECT_STREQ(doc.chipSheetPath, "dir/my  chips .bmp");
  parse("@BMP \r\n");
  EXPECT_STREQ(doc.chipSheetName, "");
  EXPECT_STREQ(doc.chipSheetPath, "dir/");
  // @bmp (lower case second byte) is a row line without ':' and changes nothing.
  parse("@bmp x.bmp\r\n", "a.bct");
  EXPECT_STREQ(doc.chipSheetName, "");
  EXPECT_STREQ(doc.chipSheetPath, "");
}

TEST_F(MapFile, ReadsRowLinesLeniently) {
  setMapCellsX(3);
  auto cells = [](int32_t* plane, int r) {
    return std::to_string(plane[cellIndex(0, r)]) + "," + std::to_string(plane[cellIndex(1, r)]) + "," +
           std::to_string(plane[cellIndex(2, r)]);
  };
  doc.planeX[cellIndex(3, 2)] = 99;  // beyond doc.mapCellsX: never touched
  parse("@00002:X,1,2,3,4,5\r\n");
  EXPECT_EQ(cells(doc.planeX, 2), "1,2,3");
  EXPECT_EQ(doc.planeX[cellIndex(3, 2)], 99);
  parse("@00002:X,7\r\n");
  EXPECT_EQ(cells(doc.planeX, 2), "7,0,0");
  parse("@2:X,1,2,3\r\n@00002:X\r\n");
  EXPECT_EQ(cells(doc.planeX, 2), "0,0,0");
  parse("@+3:Y,  -4,,40abc\r\n");
  EXPECT_EQ(cells(doc.planeY, 3), "-4,0,40");
  // Four-character fields that are not blanks-then-digits read by the general rule.
  parse("@11:X,1  2, 12 ,+123\r\n@12:X,  -1,\t 77,9999\r\n");
  EXPECT_EQ(cells(doc.planeX, 11), "1,12,123");
  EXPECT_EQ(cells(doc.planeX, 12), "-1,77,9999");
  parse("@:A,5,6,7\r\n");  // an empty index is row 0
  EXPECT_EQ(cells(doc.planeA, 0), "5,6,7");
  parse("@00002:Q,1,2\r\n@00002:x,1,2\r\n@00002X,1,2\r\n");
  EXPECT_EQ(cells(doc.planeX, 2), "0,0,0");
  // Rows outside the planes are skipped, not wrapped.
  doc.planeA[cellIndex(0, 0)] = 5;
  parse("@256:A,9,9,9\r\n@-1:A,9,9,9\r\n@4294967296:A,9,9,9\r\n");
  EXPECT_EQ(cells(doc.planeA, 0), "5,6,7");
  EXPECT_EQ(doc.planeA[cellIndex(0, 255)], 0);
  // A row line uses the doc.mapCellsX in force when it is read.
  parse("@KOMA_X 1\r\n@9:X,1,2,3\r\n@KOMA_X 3\r\n@10:X,1,2,3\r\n");
  EXPECT_EQ(cells(doc.planeX, 9), "1,0,0");
  EXPECT_EQ(cells(doc.planeX, 10), "1,2,3");
}

TEST_F(MapFile, ReadsEveryShortFieldByTheNumberRule) {
  // Fields of up to five bytes from an alphabet of digits, signs, blanks and
  // other bytes: the reader's shortcut for padded fields must agree with the rule.
  const char alphabet[] = {' ', '0', '5', '9', '-', '+', '/', ':', 'a', '\t', '\x80', '\xff'};
  setMapCellsX(2);
  int checked = 0;
  for (int len = 0; len <= 5; ++len) {
    int combos = 1;
    for (int i = 0; i < len; ++i) combos *= 12;
    for (int k = 0; k < combos; ++k) {
      std::string field;
      for (int i = 0, x = k; i < len; ++i, x /= 12) field += alphabet[x % 12];
      std::string line = "@0:X," + field + ",7";
      doc.planeX[cellIndex(0, 0)] = doc.planeX[cellIndex(1, 0)] = -1;
      parse(line);
      ASSERT_EQ(doc.planeX[cellIndex(0, 0)], readMapNumber(field.data(), field.data() + field.size())) << line;
      ASSERT_EQ(doc.planeX[cellIndex(1, 0)], 7) << line;
      ++checked;
    }
  }
  EXPECT_EQ(checked, 1 + 12 + 144 + 1728 + 20736 + 248832);
  // The rule itself, on its own examples.
  const std::string ex[] = {"40abc", "abc", " \t-12x", "+", "-0", "2147483648", "-2147483648"};
  const int32_t want[] = {40, 0, -12, 0, 0, INT32_MAX, INT32_MIN};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(readMapNumber(ex[i].data(), ex[i].data() + ex[i].size()), want[i]) << ex[i];
}

TEST_F(MapFile, SplitsLinesAtCrLfLfAndEndOfDataAndStopsTextAtNul) {
  setMapCellsX(2);
  parse(std::string("@1:X,1,2\n@2:X,3,4\r\n@3:X,5,6"));
  EXPECT_EQ(doc.planeX[cellIndex(1, 1)], 2);
  EXPECT_EQ(doc.planeX[cellIndex(1, 2)], 4);
  EXPECT_EQ(doc.planeX[cellIndex(1, 3)], 6);  // last line without CR LF
  parse(std::string("@4:X,8\0,9\r\n@5:X,1,1\r\n", 22));
  EXPECT_EQ(doc.planeX[cellIndex(0, 4)], 8);
  EXPECT_EQ(doc.planeX[cellIndex(1, 4)], 0);  // the NUL ended the text
  EXPECT_EQ(doc.planeX[cellIndex(1, 5)], 1);  // and the next line is still read
  // A bare CR also ends a line; blank lines and other text are skipped.
  parse("junk\r\r\n\n@6:X,3,3\r@7:X,2,2\r\n");
  EXPECT_EQ(doc.planeX[cellIndex(1, 6)], 3);
  EXPECT_EQ(doc.planeX[cellIndex(1, 7)], 2);
}

TEST_F(MapFile, CutsALongSheetNameAtACharacterBoundary) {
  std::string name(257, 'a');
  name += SJIS("ご");  // bytes 257 and 258: the cut at 259 would split nothing
  name += SJIS("め");  // bytes 259 and 260: must go as a whole
  parse("@BMP " + name + "\r\n", "a.bct");
  // The line's 259 bytes are read, then held as UTF-8.
  EXPECT_EQ(std::string(doc.chipSheetName), std::string(257, 'a') + "ご");
  // An escaped name comes back whole; one whose escape is broken names nothing.
  parse("@BMP utf8:ch%C3%A2teau.bmp\r\n", "a.bct");
  EXPECT_STREQ(doc.chipSheetName, "ch\xC3\xA2teau.bmp");
  parse("@BMP utf8:ch%C3teau.bmp\r\n", "a.bct");
  EXPECT_STREQ(doc.chipSheetName, "");
  // A long directory and the name together are cut to the store too.
  std::string longDir(PATH_STORE - 10, 'd');
  parse("@BMP abcdefghijklmnopqrstuvwxyz\r\n", (longDir + "/m.bct").c_str());
  EXPECT_EQ(std::strlen(doc.chipSheetPath), static_cast<size_t>(PATH_STORE - 1));
  EXPECT_EQ(std::string(doc.chipSheetPath), longDir + "/abcdefgh");
}

TEST_F(MapFile, LoadFailsWithoutChangesAndReadsAtMostOneMebibyte) {
  std::strcpy(doc.chipSheetPath, "keep");
  EXPECT_EQ(loadMapFile(at("missing.bct").c_str()), 0);
  EXPECT_EQ(loadMapFile(dir.string().c_str()), 0);
  EXPECT_STREQ(doc.chipSheetPath, "keep");
  spit(dir / "empty.bct", "");
  EXPECT_EQ(loadMapFile(at("empty.bct").c_str()), 1);
  EXPECT_EQ(doc.mapCellsX, 40);
  EXPECT_EQ(std::string(doc.chipSheetPath), dir.string() + "/");

  // Row lines of wide values push row 7 of plane Y across the limit; the line
  // cut at the limit ends there, and nothing after it is read.
  std::string bytes = "@KOMA_X 256\r\n";
  std::string wideRow;
  for (int c = 0; c < 256; ++c) wideRow += ",1000000";
  int r = 0;
  while (bytes.size() + 8 + wideRow.size() + 2 <= static_cast<size_t>(MAP_FILE_READ_LIMIT)) {
    bytes.append("@").append(std::to_string(r++ % 200)).append(":X").append(wideRow).append("\r\n");
  }
  size_t cutAt = MAP_FILE_READ_LIMIT - bytes.size();
  bytes.append("@7:Y").append(wideRow).append("\r\n@8:Y").append(wideRow).append("\r\n");
  ASSERT_GT(bytes.size(), static_cast<size_t>(MAP_FILE_READ_LIMIT));
  spit(dir / "big.bct", bytes);
  doc.planeY[cellIndex(255, 7)] = 5;
  ASSERT_EQ(loadMapFile(at("big.bct").c_str()), 1);
  EXPECT_EQ(doc.planeX[cellIndex(255, (r - 1) % 200)], 1000000);
  int fieldsRead = static_cast<int>((cutAt - 4) / 8);  // ",1000000" pieces wholly inside
  EXPECT_EQ(doc.planeY[cellIndex(fieldsRead - 1, 7)], 1000000);
  EXPECT_EQ(doc.planeY[cellIndex(255, 7)], 0);
  EXPECT_EQ(doc.planeY[cellIndex(0, 8)], 0);
}

TEST_F(MapFile, FailedSaveKeepsTheOldFileAndReportsFailure) {
  setMapCells(4, 4);
  ASSERT_EQ(saveMapFile(at("m.bct").c_str()), 1);
  std::string before = slurp(dir / "m.bct");
  setMapCells(256, 256);  // about 990 KB: many buffer flushes
  for (int n : {1, 3, 15}) {
    filesFailNthWrite(n);
    EXPECT_EQ(saveMapFile(at("m.bct").c_str()), 0) << n;
    EXPECT_EQ(slurp(dir / "m.bct"), before);
  }
  filesFailNthWrite(0);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  EXPECT_EQ(saveMapFile(at("no/such/dir/m.bct").c_str()), 0);
  EXPECT_EQ(saveMapFile(dir.string().c_str()), 0);
}

// The user hears of an escaped @BMP name when a file holding one was written,
// and only then: not for a plain name, not for a save that failed.
TEST_F(MapFile, TellsOfAnEscapedSheetNameOnlyWhenASaveWroteIt) {
  static int told;
  told = 0;
  onSheetNameEscaped = [] { ++told; };
  setMapCells(1, 1);
  setChipSheetPath("/sheets/plain.bmp");
  ASSERT_EQ(saveMapFile(at("a.bct").c_str()), 1);
  EXPECT_EQ(told, 0);
  setChipSheetPath("/sheets/ch\xC3\xA2teau.bmp");
  EXPECT_EQ(saveMapFile(at("no/such/dir/b.bct").c_str()), 0);
  EXPECT_EQ(told, 0);
  ASSERT_EQ(saveMapFile(at("b.bct").c_str()), 1);
  EXPECT_EQ(told, 1);
  EXPECT_NE(slurp(dir / "b.bct").find("\r\n@BMP utf8:ch%C3%A2teau.bmp\r\n"), std::string::npos);
  onSheetNameEscaped = nullptr;
}

TEST_F(MapFile, UndoSnapshotStepAndClear) {
  doc.planeX[5] = 1;
  doc.planeA[70000 % MAP_CELLS] = 2;
  snapshotUndo();
  doc.planeX[5] = 9;
  EXPECT_EQ(undoStep(), 1);
  EXPECT_EQ(doc.planeX[5], 1);
  EXPECT_EQ(redoStep(), 1);
  EXPECT_EQ(doc.planeX[5], 9);
  clearMap();
  EXPECT_EQ(doc.planeX[5], 0);
  EXPECT_EQ(doc.planeA[70000 % MAP_CELLS], 0);
  EXPECT_EQ(doc.undoX[5], 9);
  EXPECT_EQ(undoStep(), 1);
  EXPECT_EQ(doc.planeA[70000 % MAP_CELLS], 2);
  EXPECT_EQ(doc.planeX[5], 9);
}

// ---------------------------------------------------------------------------
// bctool, run as the built program.


TEST_F(MapFile, BctoolResavesAndConverts) {
  ASSERT_TRUE(fs::exists(bctoolPath())) << bctoolPath();
  fs::path err = dir / "err.txt";
  // A hand-written map in LF lines, read and written back in canonical form.
  spit(dir / "in.bct", "@bmp\n@BMP c.bmp\n@KOMA_X 2\n@KOMA_Y 1\n@TIP_X 16\n@TIP_Y 8\n@0:X,1,2\n@0:A,,5\n");
  EXPECT_EQ(runTool("resave '" + at("in.bct") + "' '" + at("out ファイル.bct") + "'", err), 0);
  EXPECT_EQ(slurp(dir / "out ファイル.bct"),
            "BrindlecotVer0.93b\r\n--------------------------------\r\n@BMP c.bmp\r\n@KOMA_X 2\r\n@KOMA_Y 1\r\n"
            "@TIP_X 16\r\n@TIP_Y 8\r\n--------------------------------\r\n"
            "@00000:X,   1,   2\r\n@00000:Y,   0,   0\r\n@00000:A,   0,   5\r\n");

  std::string old = "old\r\nsheets/c.bmp\r\n  0016 0008 0002 0001\r\n";
  old.resize(96, ' ');
  old += std::string("\x40\x00\x20\x00\x01\x00\xff\xff", 8);
  spit(dir / "old.map", old);
  EXPECT_EQ(runTool("convert '" + at("old.map") + "' '" + at("conv.bct") + "'", err), 0);
  std::string conv = slurp(dir / "conv.bct");
  EXPECT_NE(conv.find("@BMP c.bmp\r\n@KOMA_X 2\r\n@KOMA_Y 1\r\n@TIP_X 16\r\n@TIP_Y 8\r\n"), std::string::npos);
  EXPECT_NE(conv.find("@00000:X,  64,   1\r\n@00000:Y,  32,65535\r\n@00000:A,   0,   0\r\n"), std::string::npos);

  // Failures: exit 1 with one line on stderr.
  EXPECT_EQ(runTool("resave '" + at("none.bct") + "' '" + at("x.bct") + "'", err), 1);
  EXPECT_TRUE(oneLine(err));
  EXPECT_EQ(runTool("convert '" + at("in.bct") + "' '" + at("x.bct") + "'", err), 1);
  EXPECT_TRUE(oneLine(err));
  EXPECT_EQ(runTool("resave '" + at("in.bct") + "' '" + at("no/dir/x.bct") + "'", err), 1);
  EXPECT_TRUE(oneLine(err));
  EXPECT_EQ(runTool("resave '" + at("in.bct") + "' '" + at("caf\xE9.bct") + "'", err), 1);  // Latin-1
  EXPECT_TRUE(oneLine(err));
  // Every name the system's UTF-8 holds works, Hangul and accents included.
  EXPECT_EQ(runTool("resave '" + at("in.bct") + "' '" + at("\xED\x95\x9C caf\xC3\xA9.bct") + "'", err), 0) << err;
  EXPECT_EQ(runTool("bogus", err), 1);
  EXPECT_TRUE(oneLine(err));
  EXPECT_FALSE(fs::exists(dir / "x.bct"));
  EXPECT_EQ(runTool("--help", err), 0);
}

// The widest values the writer can produce, at full size and with the longest
// sheet name, read back whole: the read bound covers every file it writes.
TEST_F(MapFile, WidestValuesAtFullSizeRoundTrip) {
  setMapCells(256, 256);
  std::memset(doc.chipSheetName, 's', MAP_SHEET_NAME_MAX);
  doc.chipSheetName[MAP_SHEET_NAME_MAX] = 0;
  for (int i = 0; i < MAP_CELLS; ++i) {
    doc.planeX[i] = 10000 + i % 55536;           // the older format's 0..65535
    doc.planeY[i] = i % 3 ? INT32_MIN : -i;       // 11 characters
    doc.planeA[i] = i % 2 ? INT32_MAX : INT32_MIN + i;
  }
  std::vector<int32_t> x(doc.planeX, doc.planeX + MAP_CELLS), y(doc.planeY, doc.planeY + MAP_CELLS), a(doc.planeA, doc.planeA + MAP_CELLS);
  ASSERT_EQ(saveMapFile(at("wide.bct").c_str()), 1);
  const auto size = fs::file_size(dir / "wide.bct");
  EXPECT_GT(size, 1800000u);  // the old 1 MiB bound cut such a file
  EXPECT_LE(size, static_cast<uintmax_t>(MAP_FILE_READ_LIMIT));
  resetMapModel();
  ASSERT_EQ(loadMapFile(at("wide.bct").c_str()), 1);
  EXPECT_EQ(doc.mapCellsX, 256);
  EXPECT_EQ(doc.mapCellsY, 256);
  EXPECT_EQ(std::strlen(doc.chipSheetName), static_cast<size_t>(MAP_SHEET_NAME_MAX));
  EXPECT_TRUE(std::equal(x.begin(), x.end(), doc.planeX));
  EXPECT_TRUE(std::equal(y.begin(), y.end(), doc.planeY));
  EXPECT_TRUE(std::equal(a.begin(), a.end(), doc.planeA)) << "row 255 of plane A is the file's last line";
}
