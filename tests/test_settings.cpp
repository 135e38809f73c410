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
  // 254 bytes + "/" + NUL fit 256; one byte more does not, and nothing changes.
  std::string d254 = "/" + std::string(253, 'd');
  ASSERT_EQ(buildProgramPathsFrom(d254.c_str()), 1);
  EXPECT_EQ(std::strlen(programDir), 255u);
  EXPECT_EQ(buildProgramPathsFrom((d254 + "e").c_str()), 0);
  EXPECT_EQ(std::strlen(programDir), 255u);
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
  std::string bmp = sj("/home/ユーザー/ちっぷ 1.bmp");
  std::string bct = sj("/マップ/town map.bct");
  std::strcpy(doc.chipSheetPath, bmp.c_str());
  std::strcpy(doc.mapPath, bct.c_str());
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
  EXPECT_EQ(std::string(doc.chipSheetPath), bmp);
  EXPECT_EQ(std::string(doc.mapPath), bct);
  EXPECT_STREQ(doc.wallpaperPath, "/bg/with  two blanks.bmp");
  ASSERT_EQ(saveSettings(), 1);
  EXPECT_EQ(slurp(ini), golden(bmp, bct, "/bg/with  two blanks.bmp"));

  // A line end inside a path cannot add a line of its own.
  std::strcpy(doc.wallpaperPath, "a.bmp\r\nBCT=evil");
  ASSERT_EQ(saveSettings(), 1);
  EXPECT_EQ(slurp(ini), golden(bmp, bct, "a.bmp"));
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
