// What a save keeps (links, modes, owners, permissions, long names), what a
// reader refuses (anything but a regular file), the temporary files a killed
// writer leaves, and the chip sheet the editor keeps across BmpLoad and LOAD.
#include <gtest/gtest.h>

#include "editor_test_support.h"
#include "file_test_support.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <utime.h>

#include <QImage>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "map/mapfile.h"
#include "map/oldmap.h"
#include "platform/filechooser.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/surface.h"
#include "platform/testing.h"
#include "settings/settings.h"

namespace fs = std::filesystem;

namespace {

void spitTo(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

std::vector<std::string> boxes;
int recordBox(const char* text, const char* caption, int flags) {
  boxes.push_back(std::string(caption) + "|" + text + ((flags & BOX_QUESTION) ? "|?" : ""));
  return ANSWERED_OK;
}
std::string chooserAnswer;
int answerChooser(const FileChooserSetup&, const char*, char* out, size_t size) {
  std::snprintf(out, size, "%s", chooserAnswer.c_str());
  return 1;
}

class FilesKept : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    dir = fs::temp_directory_path() / ("brindle-kept-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::permissions(dir, fs::perms::all);  // an unprivileged user may work here
    boxes.clear();
    platformSetMessageBoxHook(recordBox);
    platformSetFileChooserHook(answerChooser);
    filesFailNthWrite(0);
  }
  void TearDown() override {
    filesFailNthWrite(0);
    platformSetMessageBoxHook(nullptr);
    platformSetFileChooserHook(nullptr);
    releaseSurface(SLOT_CHIPSHEET);
    fs::remove_all(dir);
    EditorTest::TearDown();
  }
  std::vector<std::string> names() {
    std::vector<std::string> v;
    for (const auto& e : fs::directory_iterator(dir)) v.push_back(e.path().filename().string());
    return v;
  }
  bool noTemp() {
    for (const std::string& n : names())
      if (n.rfind(".Brindlecot-save-", 0) == 0) return false;
    return true;
  }
  std::string at(const std::string& name) const { return (dir / name).string(); }
  fs::path dir;
};

// A sheet of w x h pixels, every pixel `rgb`.
void writeSheet(const fs::path& p, int w, int h, QRgb rgb) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(rgb);
  ASSERT_TRUE(img.save(QString::fromStdString(p.string()), "BMP"));
}

}  // namespace

// ---------------------------------------------------------------------------
// Saving keeps what the file was

TEST_F(FilesKept, SaveThroughLinksKeepsLinksModeOwnerAndFitsLongNames) {
  doc.planeX[0] = 7;
  // A symbolic link stays a link; its target (relative, and dangling) is written.
  spitTo(dir / "real.bct", "old");
  fs::create_symlink("real.bct", dir / "link.bct");
  fs::create_symlink("later.bct", dir / "dangling.bct");
  ASSERT_EQ(saveMapFile(at("link.bct").c_str()), 1);
  ASSERT_EQ(saveMapFile(at("dangling.bct").c_str()), 1);
  EXPECT_TRUE(fs::is_symlink(dir / "link.bct"));
  EXPECT_TRUE(fs::is_symlink(dir / "dangling.bct"));
  const std::string saved = slurp(dir / "real.bct");
  EXPECT_NE(saved.find("@00000:X,   7"), std::string::npos);
  EXPECT_EQ(slurp(dir / "later.bct"), saved);

  // Both names of a hard-linked file see the new content; a failure at any
  // write (new content, the copy of the old, the write in place) keeps the old.
  spitTo(dir / "a.bct", "old bytes");
  fs::create_hard_link(dir / "a.bct", dir / "b.bct");
  for (int n : {1, 2, 3}) {
    filesFailNthWrite(n);
    EXPECT_EQ(saveMapFile(at("a.bct").c_str()), 0) << n;
    EXPECT_EQ(slurp(dir / "b.bct"), "old bytes") << n;
  }
  filesFailNthWrite(0);
  ASSERT_EQ(saveMapFile(at("a.bct").c_str()), 1);
  EXPECT_EQ(slurp(dir / "b.bct"), saved);
  EXPECT_EQ(fs::hard_link_count(dir / "a.bct"), 2u);

  // Mode and (where the process may set it) owner survive the replacement.
  ::chmod(at("real.bct").c_str(), 0640);
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(at("real.bct").c_str(), 65534, 65534), 0);
  }
  ASSERT_EQ(saveMapFile(at("real.bct").c_str()), 1);
  struct stat st;
  ASSERT_EQ(::stat(at("real.bct").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  if (root) {
    EXPECT_EQ(st.st_uid, 65534u);
  }

  // A 250-byte name (given relative to the working folder, so that it fits the
  // 260-byte path store) saves: the temporary name does not grow with it.
  const std::string longName = std::string(246, 'n') + ".bct";
  const fs::path here = fs::current_path();
  fs::current_path(dir);
  EXPECT_EQ(saveMapFile(longName.c_str()), 1);
  fs::current_path(here);
  EXPECT_TRUE(fs::exists(dir / longName));
  EXPECT_TRUE(noTemp());
}

// Permissions as a plain write has them: checked as an unprivileged user, since
// root passes every permission check.
TEST_F(FilesKept, AnUnprivilegedUserGetsWhatAPlainWriteGives) {
  std::string prefix;
  const bool root = ::geteuid() == 0;
  if (root) {
    if (::system("command -v setpriv >/dev/null 2>&1") != 0) GTEST_SKIP() << "no setpriv to drop root";
    prefix = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
  }
  const uid_t user = root ? 65534 : ::geteuid();
  fs::path err = dir / "err.txt";
  spitTo(dir / "in.bct", "@KOMA_X 3\r\n@KOMA_Y 1\r\n@0:X,5,6,7\r\n");
  spitTo(err, "");
  ::chmod(at("in.bct").c_str(), 0644);
  ::chmod(err.c_str(), 0666);
  // A file this user may not write is refused even in a folder they may write.
  spitTo(dir / "ro.bct", "keep");
  ::chmod(at("ro.bct").c_str(), 0444);
  if (root) {
    ASSERT_EQ(::chown(at("ro.bct").c_str(), user, user), 0);
  }
  EXPECT_EQ(runTool("resave '" + at("in.bct") + "' '" + at("ro.bct") + "'", err, prefix), 1);
  EXPECT_EQ(slurp(dir / "ro.bct"), "keep");
  EXPECT_TRUE(oneLine(err));
  // A writable file in a folder where no new file can be made is still saved;
  // a new file there is refused.
  fs::create_directories(dir / "locked");
  spitTo(dir / "locked" / "w.bct", "old old old old old old old old old old");
  if (root) {
    ASSERT_EQ(::chown(at("locked/w.bct").c_str(), user, user), 0);
  }
  ::chmod(at("locked").c_str(), 0555);
  EXPECT_EQ(runTool("resave '" + at("in.bct") + "' '" + at("locked/w.bct") + "'", err, prefix), 0);
  EXPECT_NE(slurp(dir / "locked" / "w.bct").find("@00000:X,   5,   6,   7\r\n@00000:Y"), std::string::npos);
  EXPECT_EQ(slurp(dir / "locked" / "w.bct").find("old"), std::string::npos) << "the tail of the old file is cut";
  EXPECT_EQ(runTool("resave '" + at("in.bct") + "' '" + at("locked/new.bct") + "'", err, prefix), 1);
  EXPECT_FALSE(fs::exists(dir / "locked" / "new.bct"));
  ::chmod(at("locked").c_str(), 0755);
}

// ---------------------------------------------------------------------------
// Only regular files are read

TEST_F(FilesKept, AnythingButARegularFileCannotBeOpenedAndNeverBlocks) {
  ASSERT_EQ(::mkfifo(at("fifo").c_str(), 0644), 0);
  int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", at("sock").c_str());
  ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  fs::create_directories(dir / "folder");
  std::strcpy(doc.chipSheetName, "keep.bmp");
  doc.planeX[0] = 9;
  fs::path err = dir / "err.txt";
  for (const std::string& p : {at("fifo"), at("sock"), std::string("/dev/zero"), std::string("/dev/urandom"),
                               at("folder")}) {
    EXPECT_EQ(pathExists(p.c_str()), 0) << p;
    EXPECT_EQ(loadMapFile(p.c_str()), 0) << p;
    EXPECT_EQ(convertOldMapFile(p.c_str()), 0) << p;
    EXPECT_EQ(platLoadBitmap(p.c_str()), nullptr) << p;
    EXPECT_STREQ(doc.chipSheetName, "keep.bmp");
    std::snprintf(iniPath, sizeof iniPath, "%s", p.c_str());  // the settings file itself
    settings.scrollSpeed = 77;
    loadSettings();
    EXPECT_EQ(settings.scrollSpeed, 400) << p << ": read as a missing settings file";
    std::strcpy(doc.chipSheetName, "keep.bmp");  // a missing settings file names no sheet
    EXPECT_EQ(saveMapFile(p.c_str()), 0) << p << ": nothing but a regular file is replaced";
    EXPECT_EQ(runTool("resave '" + p + "' '" + at("out.bct") + "'", err), 1) << p;
    EXPECT_TRUE(oneLine(err));
    EXPECT_EQ(runTool("convert '" + p + "' '" + at("out.bct") + "'", err), 1) << p;
    EXPECT_EQ(runTool("resave '" + at("none.bct") + "' '" + p + "'", err), 1) << p;
  }
  ::close(sock);
  EXPECT_EQ(doc.planeX[0], 9);
  EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
  EXPECT_FALSE(fs::exists(dir / "out.bct"));
  spitTo(dir / "plain.bct", "");
  EXPECT_EQ(pathExists(at("plain.bct").c_str()), 1);
}

TEST_F(FilesKept, OnlyStaleTempFilesOfThisProgramAreRemoved) {
  auto make = [&](const std::string& name, bool old) {
    spitTo(dir / name, "partial");
    if (old) {
      struct utimbuf t{1000000000, 1000000000};  // 2001: long abandoned
      ::utime(at(name).c_str(), &t);
    }
  };
  make(".Brindlecot-save-a1B2c3", true);   // a killed writer's: removed
  make(".Brindlecot-save-HeLd00", true);   // held by a running writer
  make(".Brindlecot-save-n3wn3w", false);  // just made: its writer may not have locked it yet
  make(".Brindlecot-save-ha1fm1", false);  // half a minute old, still within the grace
  struct utimbuf halfMinute{::time(nullptr) - 30, ::time(nullptr) - 30};
  ::utime(at(".Brindlecot-save-ha1fm1").c_str(), &halfMinute);
  make(".Brindlecot-save-abc12", true);    // not a name this program makes
  make(".Brindlecot-save-ab-123", true);
  make("town.bct.tmp-abc123", true);
  make(".Brindlecot-save-0ther0", true);
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(at(".Brindlecot-save-0ther0").c_str(), 65534, 65534), 0);
  }
  fs::create_symlink(dir / "town.bct.tmp-abc123", dir / ".Brindlecot-save-L1nk00");
  ::lutimes(at(".Brindlecot-save-L1nk00").c_str(), nullptr);
  int held = ::open(at(".Brindlecot-save-HeLd00").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);

  const int expected = ::geteuid() == 0 ? 1 : 2;  // not root: the "other" file is ours
  EXPECT_EQ(removeStaleTempFiles(at("Brindlecot.ini").c_str()), expected);
  EXPECT_FALSE(fs::exists(dir / ".Brindlecot-save-a1B2c3"));
  for (const char* kept : {".Brindlecot-save-HeLd00", ".Brindlecot-save-n3wn3w", ".Brindlecot-save-ha1fm1",
                           ".Brindlecot-save-abc12", ".Brindlecot-save-ab-123", "town.bct.tmp-abc123"})
    EXPECT_TRUE(fs::exists(dir / kept)) << kept;
  EXPECT_TRUE(fs::is_symlink(dir / ".Brindlecot-save-L1nk00"));
  ::close(held);
  // A save cleans beside its target too, once the writer is gone.
  EXPECT_EQ(saveMapFile(at("town.bct").c_str()), 1);
  EXPECT_FALSE(fs::exists(dir / ".Brindlecot-save-HeLd00"));
}

// ---------------------------------------------------------------------------
// The chip sheet in use

TEST_F(FilesKept, ASheetIsNamedKeptAndToldAboutAcrossBmpLoadAndLoad) {
  fs::create_directories(dir / "sheets");
  fs::create_directories(dir / "maps");
  writeSheet(dir / "sheets" / "big.bmp", 512, 256, qRgb(0, 200, 0));
  writeSheet(dir / "sheets" / "small.bmp", 64, 64, qRgb(200, 0, 0));
  spitTo(dir / "sheets" / "empty.bmp", "");
  spitTo(dir / "sheets" / "junk.bmp", "BM not really a bitmap");

  // The settings' sheet names a new map's sheet.
  ASSERT_EQ(buildProgramPathsFrom(dir.c_str()), 1);
  spitTo(iniPath, "[\x82\xD3\x82\x9F\x82\xA2\x82\xE9]\r\nBMP=" + at("sheets/big.bmp") + "\r\n");  // [ふぁいる]
  loadSettings();
  EXPECT_STREQ(doc.chipSheetName, "big.bmp");
  ASSERT_EQ(saveMapFile(at("maps/town.bct").c_str()), 1);
  EXPECT_NE(slurp(dir / "maps" / "town.bct").find("@BMP big.bmp\r\n"), std::string::npos);
  // Read again, with no big.bmp beside the map: the sheet in force stays.
  std::strcpy(doc.chipSheetPath, at("sheets/big.bmp").c_str());
  ASSERT_EQ(loadMapFile(at("maps/town.bct").c_str()), 1);
  EXPECT_STREQ(doc.chipSheetPath, at("sheets/big.bmp").c_str());
  // ... but a sheet beside the map wins, and another name is never taken.
  writeSheet(dir / "maps" / "big.bmp", 32, 32, 0);
  ASSERT_EQ(loadMapFile(at("maps/town.bct").c_str()), 1);
  EXPECT_STREQ(doc.chipSheetPath, at("maps/big.bmp").c_str());
  fs::remove(dir / "maps" / "big.bmp");
  std::strcpy(doc.chipSheetPath, at("sheets/small.bmp").c_str());
  ASSERT_EQ(loadMapFile(at("maps/town.bct").c_str()), 1);
  EXPECT_STREQ(doc.chipSheetPath, at("maps/big.bmp").c_str());

  // BmpLoad of the big sheet; a brush picked at x = 448.
  chooserAnswer = at("sheets/big.bmp");
  runCommand(0);
  EXPECT_TRUE(boxes.empty());
  session.brushW = 2;
  session.brushH = 1;
  session.brushX[cellIndex(0, 0)] = 448;
  session.brushX[cellIndex(1, 0)] = 480;
  // Sheets that cannot be decoded: told, and the big sheet stays in use.
  for (const char* bad : {"sheets/empty.bmp", "sheets/junk.bmp"}) {
    boxes.clear();
    chooserAnswer = at(bad);
    runCommand(0);
    ASSERT_EQ(boxes.size(), 1u) << bad;
    EXPECT_EQ(boxes[0], "はて？|ＢＭＰファイルが読めないよー|?");
    EXPECT_STREQ(doc.chipSheetPath, at("sheets/big.bmp").c_str());
    EXPECT_STREQ(doc.chipSheetName, "big.bmp");
    EXPECT_STREQ(surfaceSlots[SLOT_CHIPSHEET].name, at("sheets/big.bmp").c_str());
    EXPECT_EQ(surfaceSlots[SLOT_CHIPSHEET].width, 512);
    EXPECT_EQ(session.brushW, 2) << "the brush still fits the sheet in use";
  }
  // A 64-wide sheet: the brush at 448 would stamp chips the sheet lacks.
  boxes.clear();
  chooserAnswer = at("sheets/small.bmp");
  runCommand(0);
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(surfaceSlots[SLOT_CHIPSHEET].width, 64);
  EXPECT_EQ(session.brushW, 1);
  EXPECT_EQ(session.brushH, 1);
  EXPECT_EQ(session.brushX[0], 0);
  EXPECT_EQ(session.brushY[0], 0);

  // LOAD of a map whose sheet is nowhere: told. (BmpLoad changed what SAVE
  // writes; that question is answered elsewhere.)
  documentSaved();
  spitTo(dir / "maps" / "lost.bct", "@BMP nowhere.bmp\r\n");
  chooserAnswer = at("maps/lost.bct");
  runCommand(1);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "はて？|ＢＭＰファイルがみつからないよー|?");
  // LOAD of a map whose sheet cannot be decoded: told as well.
  boxes.clear();
  spitTo(dir / "maps" / "junk.bmp", "junk");
  spitTo(dir / "maps" / "bad.bct", "@BMP junk.bmp\r\n");
  chooserAnswer = at("maps/bad.bct");
  runCommand(1);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "はて？|ＢＭＰファイルが読めないよー|?");
}

// Chip sizes from a file are held where no screen arithmetic can overflow: the
// sanitized build (./test.sh --sanitize) stops this test on any overflow.
TEST_F(FilesKept, HugeChipSizesFromFilesPickAndBandWithoutOverflow) {
  const std::string huge = "@TIP_X 2147483647\r\n@TIP_Y 2147483647\r\n";
  parseMapBytes("m.bct", huge.data(), static_cast<int>(huge.size()));
  EXPECT_EQ(doc.chipWidth, CHIP_MAX);
  EXPECT_EQ(doc.chipHeight, CHIP_MAX);
  ASSERT_EQ(buildProgramPathsFrom(dir.c_str()), 1);
  spitTo(iniPath, "[\x82\xB9\x82\xC1\x82\xC4\x82\xA2]\r\nTIP_X=2147483647\r\nTIP_Y=99999999999\r\n");  // [せってい]
  loadSettings();
  EXPECT_EQ(doc.chipWidth, CHIP_MAX);
  EXPECT_EQ(doc.chipHeight, CHIP_MAX);
  std::string old = "old\r\ns.bmp\r\n  9999 9999 0000 0000\r\n";
  old.resize(96, ' ');
  spitTo(dir / "old.map", old);
  ASSERT_EQ(convertOldMapFile(at("old.map").c_str()), 1);
  EXPECT_EQ(doc.chipWidth, CHIP_MAX);

  // A pick dragged across a sheet of the largest side, scrolled to its end,
  // and a map copy band over a 256 x 256 map: every band and highlight queued.
  setMapCells(256, 256);
  editorSetSheetSizeForTests(PLAT_SURFACE_MAX_SIDE, PLAT_SURFACE_MAX_SIDE);
  session.sheetView.scrollX = session.sheetView.scrollY = PLAT_SURFACE_MAX_SIDE;
  session.frontWindow = FRONT_SHEET;
  for (int i = 0; i < 4; ++i) step(30 + i * 200, 120 + i * 150, BTN_PRIMARY);
  step(790, 590, 0);
  EXPECT_GE(session.brushW, 1);
  session.frontWindow = FRONT_MAP;
  session.mapView.scrollX = session.mapView.scrollY = 256 * CHIP_MAX;
  for (int i = 0; i < 4; ++i) step(305 + i * 150, 115 + i * 150, BTN_SECONDARY);
  step(790, 590, 0);
  for (int i = 0; i < 4; ++i) step(320 + i * 30, 130 + i * 30, 0);  // the ghost
  EXPECT_GE(session.brushW, 1);
}
