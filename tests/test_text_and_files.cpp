// Shift_JIS conversion and the safe file writer.
#include <gtest/gtest.h>

#include "file_test_support.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/files.h"
#include "platform/sjis.h"
#include "platform/testing.h"

namespace fs = std::filesystem;

TEST(Sjis, ConvertsBothWaysAndRefusesWhatItCannotHold) {
  char s[64];
  ASSERT_EQ(utf8ToSjis("ごめんね", s, sizeof s), 8);
  EXPECT_EQ(std::string(s), std::string("\x82\xb2\x82\xdf\x82\xf1\x82\xcb"));
  char u[64];
  ASSERT_GT(sjisToUtf8(s, u, sizeof u), 0);
  EXPECT_STREQ(u, "ごめんね");
  // Emoji and Hangul have no Shift_JIS code: refused, not substituted.
  EXPECT_EQ(utf8ToSjis("map\xF0\x9F\x98\x80.bct", s, sizeof s), -1);
  EXPECT_STREQ(s, "");
  EXPECT_EQ(utf8ToSjis("한", s, sizeof s), -1);
  // A lone lead byte is not a character.
  EXPECT_EQ(sjisToUtf8("\x82", u, sizeof u), -1);
  // Too small a store fails instead of cutting.
  EXPECT_EQ(utf8ToSjis("ごめんね", s, 8), -1);
}

TEST(Sjis, CutsNeverInsideADoubleByteCharacter) {
  const char* t = SJIS("aごめ");  // 'a' + two 2-byte characters
  ASSERT_EQ(std::strlen(t), 5u);
  EXPECT_EQ(sjisCutLength(t, 5, 5), 5u);
  EXPECT_EQ(sjisCutLength(t, 5, 4), 3u);
  EXPECT_EQ(sjisCutLength(t, 5, 2), 1u);
  char store[4];
  sjisCopy(store, sizeof store, t);
  EXPECT_EQ(std::strlen(store), 3u);
  // A half-width katakana byte (0xB1) is a single-byte character.
  EXPECT_EQ(sjisCutLength("\xb1\xb2\xb3", 3, 2), 2u);
}

// The upper lead bytes, 0xE0 to 0xFC (level-2 kanji from 0xE0, the
// extensions up to 0xFC), start a double-byte character as 0x81 to 0x9F do;
// 0xDF (a half-width katakana) and 0xFD are single bytes. A trail byte in the
// same range (0x89 0xE0) is never read as the next character's lead.
TEST(Sjis, UpperLeadBytesStartADoubleByteCharacter) {
  EXPECT_FALSE(sjisIsLeadByte(0xDF));
  EXPECT_TRUE(sjisIsLeadByte(0xE0));
  EXPECT_TRUE(sjisIsLeadByte(0xFC));
  EXPECT_FALSE(sjisIsLeadByte(0xFD));
  const char t[] = "\xE0\x40\x89\xE0\xEA\xA4\xFC\x4B";  // 漾 霞 熙 and an extension kanji
  EXPECT_EQ(sjisCutLength(t, 8, 3), 2u);
  EXPECT_EQ(sjisCutLength(t, 8, 5), 4u);
  EXPECT_EQ(sjisCutLength(t, 8, 7), 6u);
  EXPECT_EQ(sjisCutLength(t, 7, 8), 7u) << "a lead byte cut off at the end stands alone";
  char u[32];
  ASSERT_GT(sjisToUtf8N(t, 6, u, sizeof u), 0);
  EXPECT_STREQ(u, "漾霞熙");
  ASSERT_GT(sjisToUtf8N(t + 6, 2, u, sizeof u), 0);
  EXPECT_EQ(std::strlen(u), 3u) << "one character from 0xFC";
  char s[16];
  EXPECT_EQ(utf8ToSjis("漾熙", s, sizeof s), 4);
  EXPECT_EQ(std::string(s), std::string("\xE0\x40\xEA\xA4"));
}

class SafeWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("brindle-files-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    filesFailNthWrite(0);
  }
  void TearDown() override {
    filesFailNthWrite(0);
    fs::remove_all(dir);
  }
  size_t entries() { return std::distance(fs::directory_iterator(dir), fs::directory_iterator()); }
  fs::path dir;
};

TEST_F(SafeWriterTest, ReplacesWholeOrLeavesTheOldFileUntouched) {
  fs::path target = dir / "a.txt";
  std::ofstream(target) << "old contents";
  {
    SafeFileWriter w;
    ASSERT_EQ(w.open(target.c_str()), 1);
    std::string big(200000, 'x');  // several buffer flushes
    w.write(big.data(), big.size());
    ASSERT_EQ(w.commit(), 1);
  }
  EXPECT_EQ(slurp(target).size(), 200000u);
  EXPECT_EQ(entries(), 1u);

  // A full disk on the second low-level write: failure reported, old file whole.
  filesFailNthWrite(2);
  {
    SafeFileWriter w;
    ASSERT_EQ(w.open(target.c_str()), 1);
    std::string big(300000, 'y');
    w.write(big.data(), big.size());
    EXPECT_EQ(w.commit(), 0);
  }
  EXPECT_EQ(slurp(target), std::string(200000, 'x'));
  EXPECT_EQ(entries(), 1u) << "no temporary file may be left behind";

  // A writer dropped without commit leaves nothing either.
  {
    SafeFileWriter w;
    ASSERT_EQ(w.open((dir / "b.txt").c_str()), 1);
    w.writeText("half");
  }
  EXPECT_FALSE(fs::exists(dir / "b.txt"));
  EXPECT_EQ(entries(), 1u);

  // A target that is a directory, or in a directory that does not exist.
  fs::create_directories(dir / "sub");
  SafeFileWriter w;
  EXPECT_EQ(w.open((dir / "sub").c_str()), 0);
  EXPECT_EQ(w.open((dir / "gone" / "x.bct").c_str()), 0);
  EXPECT_EQ(w.commit(), 0);
}

TEST_F(SafeWriterTest, ReadsAtMostTheCapacityAndReportsMissingFiles) {
  fs::path p = dir / "r.bin";
  std::ofstream(p, std::ios::binary) << "0123456789";
  uint8_t buf[4];
  size_t got = 0;
  ASSERT_EQ(readFileBytes(p.c_str(), buf, sizeof buf, &got), 1);
  EXPECT_EQ(got, 4u);
  EXPECT_EQ(std::memcmp(buf, "0123", 4), 0);
  EXPECT_EQ(readFileBytes((dir / "none").c_str(), buf, sizeof buf, &got), 0);
  EXPECT_EQ(readFileBytes(dir.c_str(), buf, sizeof buf, &got), 0);
  EXPECT_EQ(pathExists(p.c_str()), 1);
  EXPECT_EQ(pathExists((dir / "none").c_str()), 0);
  EXPECT_EQ(pathExists(""), 0);
}
