// The settings file and the profile reader and writer under it.
#include <gtest/gtest.h>

#include "file_test_support.h"

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "map/map.h"
#include "platform/files.h"
#include "platform/sjis.h"
#include "platform/testing.h"
#include "settings/ini.h"
#include "settings/settings.h"

namespace fs = std::filesystem;

namespace {

std::string sj(const char* utf8) {
  char out[1024];
  EXPECT_GE(utf8ToSjis(utf8, out, sizeof out), 0) << utf8;
  return out;
}

std::string golden(const std::string& bmp, const std::string& bct, const std::string& bg) {
  return sj("[ういんどう]\r\n"
            "Ｘ座標    = 0\r\nＹ座標    = 0\r\n"
            "BMPＸ座標 = 24\r\nBMPＹ座標 = 112\r\nBMPSizeＸ = 256\r\nBMPSizeＹ = 256\r\n"
            "MAPＸ座標 = 300\r\nMAPＹ座標 = 112\r\nMAPSizeＸ = 480\r\nMAPSizeＹ = 470\r\n"
            "[せってい]\r\n"
            "でばっぐもーど   = 0\r\nＢＧ             = 1\r\nぐりっど         = 1\r\n"
            "上ＢＭＰ         = 0\r\nオートＳＣＲ     = 0\r\nＳＣＲすぴーど   = 400\r\n"
            "TIP_X            = 32\r\nTIP_Y            = 32\r\n"
            "[ふぁいる]\r\n") +
         "BMP=" + bmp + "\r\nBCT=" + bct + "\r\nBG=" + bg + "\r\n" +
         sj("[そのた]\r\nがめん    = 0\r\nくっきり  = 1\r\nことば    = \r\n");
}

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    resetMapModel();
    resetSettings();
    filesFailNthWrite(0);
    char tmpl[] = "/tmp/bctiniXXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    ASSERT_EQ(buildProgramPathsFrom(dir.string().c_str()), 1);
    ini = dir / "Brindlecot.ini";
  }
  void TearDown() override {
    filesFailNthWrite(0);
    fs::remove_all(dir);
  }
  void write(const std::string& bytes) { std::ofstream(ini, std::ios::binary) << bytes; }
  fs::path dir, ini;
};

}  // namespace

TEST_F(SettingsFile, BuildsProgramPathsWithinTheirStores) {
  EXPECT_EQ(std::string(programDir), dir.string() + "/");
  EXPECT_EQ(std::string(iniPath), dir.string() + "/Brindlecot.ini");
  ASSERT_EQ(buildProgramPathsFrom("/x/"), 1);
  EXPECT_STREQ(programDir, "/x/");
  EXPECT_STREQ(iniPath, "/x/Brindlecot.ini");
  // A directory + "/" + NUL that fill the store fit; one byte more does not,
  // and nothing changes.
  std::string full = "/" + std::string(PROGRAM_DIR_STORE - 3, 'd');
  ASSERT_EQ(buildProgramPathsFrom(full.c_str()), 1);
  EXPECT_EQ(std::strlen(programDir), static_cast<size_t>(PROGRAM_DIR_STORE - 1));
  EXPECT_EQ(buildProgramPathsFrom((full + "e").c_str()), 0);
  EXPECT_EQ(std::strlen(programDir), static_cast<size_t>(PROGRAM_DIR_STORE - 1));
  ASSERT_EQ(buildProgramPaths(), 1);
  EXPECT_EQ(std::string(programDir), fs::current_path().string() + "/");
}

TEST_F(SettingsFile, DefaultsWithoutAFileAndTheirExactBytesWhenSaved) {
  settings.showWallpaper = 0;
  settings.scrollSpeed = 1;
  doc.chipWidth = 5;
  std::strcpy(doc.mapPath, "stale");
  loadSettings();
  EXPECT_EQ(settings.showWallpaper, 1);
  EXPECT_EQ(settings.showGuideLines, 1);
  EXPECT_EQ(settings.showDebugInfo, 0);
  EXPECT_EQ(settings.scrollSpeed, 400);
  EXPECT_EQ(doc.chipWidth, 32);
  EXPECT_EQ(settings.sheetViewX, 24);
  EXPECT_EQ(settings.mapViewHeight, 470);
  EXPECT_STREQ(doc.mapPath, "");
  ASSERT_EQ(saveSettings(), 1);
  EXPECT_EQ(slurp(ini), golden("", "", ""));
  // Every key of the two number sections lines up its "=" at byte 10 and 17.
  std::string s = slurp(ini);
  size_t i = s.find(']') + 3;
  for (int k = 0; k < 10; ++k, i = s.find('\n', i) + 1) EXPECT_EQ(s[i + 10], '=');
  i = s.find('[', i) ;
  i = s.find('\n', i) + 1;
  for (int k = 0; k < 8; ++k, i = s.find('\n', i) + 1) EXPECT_EQ(s[i + 17], '=');
}

TEST_F(SettingsFile, RoundTripsJapaneseAndBlankPathsAndDropsUnknownKeys) {
  // The document holds UTF-8; a path Shift_JIS holds goes into the file as
  // Shift_JIS bytes, exactly as before.
  std::string bmp = sj("/home/ユーザー/ちっぷ 1.bmp");
  std::string bct = sj("/マップ/town map.bct");
  std::strcpy(doc.chipSheetPath, "/home/ユーザー/ちっぷ 1.bmp");
  std::strcpy(doc.mapPath, "/マップ/town map.bct");
  std::strcpy(doc.wallpaperPath, "/bg/with  two blanks.bmp");
  ASSERT_EQ(saveSettings(), 1);
  EXPECT_EQ(slurp(ini), golden(bmp, bct, "/bg/with  two blanks.bmp"));

  std::string hand = slurp(ini) + sj("[ふぁいる]\r\nEXTRA=1\r\n[よぶん]\r\nA=2\r\n");
  // A file from before the last section existed reads its keys' defaults.
  std::string older = hand.substr(0, hand.find(sj("[そのた]")));
  write(older + sj("[そのた]\r\nことば=fr\r\n"));
  loadSettings();
  EXPECT_STREQ(settings.language, "");  // only the languages the program speaks
  EXPECT_EQ(settings.sharpFit, 1);
  write(older + sj("[そのた]\r\nことば= en \r\nがめん=1\r\nくっきり=0\r\n"));
  loadSettings();
  EXPECT_STREQ(settings.language, "en");
  EXPECT_EQ(settings.displayCanvas, 1);
  EXPECT_EQ(settings.sharpFit, 0);
  ASSERT_EQ(saveSettings(), 1);
  EXPECT_NE(slurp(ini).find(sj("ことば    = en\r\n")), std::string::npos);
  std::string saved = slurp(ini);
  EXPECT_EQ(saved.substr(0, saved.find(sj("[そのた]"))), older);  // the older sections keep their bytes
  write(hand);
  resetSettings();
  loadSettings();
  EXPECT_STREQ(doc.chipSheetPath, "/home/ユーザー/ちっぷ 1.bmp");
  EXPECT_STREQ(doc.mapPath, "/マップ/town map.bct");
  EXPECT_STREQ(doc.wallpaperPath, "/bg/with  two blanks.bmp");
  ASSERT_EQ(saveSettings(), 1);
  EXPECT_EQ(slurp(ini), golden(bmp, bct, "/bg/with  two blanks.bmp"));

  // A line end inside a path cannot add a line of its own.
  std::strcpy(doc.wallpaperPath, "a.bmp\r\nBCT=evil");
  ASSERT_EQ(saveSettings(), 1);
  EXPECT_EQ(slurp(ini), golden(bmp, bct, "a.bmp"));
}

// Paths Shift_JIS cannot hold go in escaped and come back whole; a path read
// from the file keeps its very bytes, even ones whose conversion there and
// back would give other bytes (0xED 0x40 reads as U+7E8A, which converts
// back to 0xFA 0x5C); bytes that name nothing are dropped, not guessed at.
TEST_F(SettingsFile, EscapesWhatShiftJisCannotHoldAndKeepsTheBytesItRead) {
  const char* cafe = "/home/jos\xC3\xA9/caf\xC3\xA9/level1.bct";
  const char* mixed = "/\xE5\x9C\xB0\xE5\x9B\xB3/ch\xC3\xA2teau 100%.bmp";  // 地図, château
  const char* marked = "utf8:plain.bmp";  // Shift_JIS holds it, yet it reads as an escape
  std::strcpy(doc.mapPath, cafe);
  std::strcpy(doc.chipSheetPath, mixed);
  std::strcpy(doc.wallpaperPath, marked);
  ASSERT_EQ(saveSettings(), 1);
  EXPECT_EQ(slurp(ini), golden("utf8:/%E5%9C%B0%E5%9B%B3/ch%C3%A2teau 100%25.bmp",
                               "utf8:/home/jos%C3%A9/caf%C3%A9/level1.bct", "utf8:utf8:plain.bmp"));
  resetSettings();
  loadSettings();
  EXPECT_STREQ(doc.mapPath, cafe);
  EXPECT_STREQ(doc.chipSheetPath, mixed);
  EXPECT_STREQ(doc.wallpaperPath, marked);

  const std::string nec = "/m\xED\x40.bct";
  write(sj("[ふぁいる]\r\n") + "BMP=/a\x82\r\nBCT=" + nec + "\r\nBG=utf8:%E5%9C\r\n");
  resetSettings();
  loadSettings();
  EXPECT_STREQ(doc.mapPath, "/m\xE7\xBA\x8A.bct");
  EXPECT_STREQ(doc.chipSheetPath, "");   // a lead byte without its second byte
  EXPECT_STREQ(doc.wallpaperPath, "");  // an escape that cuts a character in two
  ASSERT_EQ(saveSettings(), 1);
  EXPECT_EQ(slurp(ini), golden("", nec, ""));
  // Once changed, the path is written from what the document holds.
  std::strcpy(doc.mapPath, "/m\xE7\xBA\x8A" "2.bct");
  ASSERT_EQ(saveSettings(), 1);
  EXPECT_EQ(slurp(ini), golden("", "/m\xFA\x5C" "2.bct", ""));
}

TEST_F(SettingsFile, ReadsHandWrittenFilesLeniently) {
  write(sj("; comment\n[ ういんどう ]\nＸ座標 = -20\n ｙ座標=abc\nBMPｘ座標=\nMAPSizeＸ =  +600 px \r\n"
           "[せってい]\r\nTIP_X = 0\r\nTIP_Y=-4\r\nＳＣＲすぴーど=650\r\nＳＣＲすぴーど=100\r\nbg = 0\r\n"
           "[ふぁいる]\rbmp =   /a b/c.bmp   \rBG\r[せってい]\rぐりっど=0\r"));
  loadSettings();
  EXPECT_EQ(settings.windowX, 0);      // clamped from -20
  EXPECT_EQ(settings.windowY, 0);      // a full-width key differs from a half-width one: default
  EXPECT_EQ(settings.sheetViewX, 24);  // an empty value gives the default
  EXPECT_EQ(settings.mapViewWidth, 600);
  EXPECT_EQ(doc.chipWidth, 32);       // the chip-size guard keeps the old size
  EXPECT_EQ(doc.chipHeight, 32);
  EXPECT_EQ(settings.scrollSpeed, 650);  // the first of two equal keys wins
  EXPECT_EQ(settings.showWallpaper, 1);  // "bg" is not "ＢＧ"
  EXPECT_EQ(settings.showGuideLines, 1);  // only the first section of a name counts
  EXPECT_STREQ(doc.chipSheetPath, "/a b/c.bmp");
  EXPECT_STREQ(doc.wallpaperPath, "");

  // ASCII case folding never touches the trail byte of a double-byte character:
  // 0x82 0x60 and 0x82 0x80 are different characters.
  const char text[] = "[S]\r\n\x82\x60=7\r\n";
  IniText t{text, sizeof text - 1};
  EXPECT_EQ(iniReadInt(t, "s", "\x82\x60", 1), 7);
  EXPECT_EQ(iniReadInt(t, "s", "\x82\x80", 1), 1);
  const char digits[] = "[S]\r\nA=x9\r\nB=99999999999\r\nC=-99999999999\r\n";
  IniText d{digits, sizeof digits - 1};
  EXPECT_EQ(iniReadInt(d, "S", "A", 5), 0);
  EXPECT_EQ(iniReadInt(d, "S", "B", 5), INT32_MAX);
  EXPECT_EQ(iniReadInt(d, "S", "C", 5), INT32_MIN);
  char small[4];
  EXPECT_EQ(iniReadString(d, "S", "B", small, sizeof small), 3u);
  EXPECT_STREQ(small, "999");
}

TEST_F(SettingsFile, WindowXAboveZeroAndAFailedSaveKeepsTheOldFile) {
  write(sj("[ういんどう]\r\nＸ座標=15\r\nＹ座標=-1\r\n"));
  loadSettings();
  EXPECT_EQ(settings.windowX, 15);
  EXPECT_EQ(settings.windowY, 0);
  std::string before = slurp(ini);
  filesFailNthWrite(1);
  EXPECT_EQ(saveSettings(), 0);
  filesFailNthWrite(0);
  EXPECT_EQ(slurp(ini), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  ASSERT_EQ(buildProgramPathsFrom((dir / "gone").string().c_str()), 1);
  EXPECT_EQ(saveSettings(), 0);
}
