// The window's picture: only the bands of rows that changed are converted and
// handed to Qt, each cut to its changed columns, and the letterbox bars of a
// window of another shape stay black.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QWidget>

#include <algorithm>
#include <vector>

#include "platform/platform.h"
#include "platform/qt/qt_testing.h"
#include "platform/qt/qt_owner.h"

namespace {

constexpr int W = 800, H = 600, PITCH = 808;  // a pitch wider than the picture, as surfaces may have

struct Push {
  int l, t, r, b;
  bool operator==(const Push& o) const { return l == o.l && t == o.t && r == o.r && b == o.b; }
};
Push lastPush() {
  Push p{};
  platformTestLastPush(&p.l, &p.t, &p.r, &p.b);
  return p;
}

class PresentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static char arg0[] = "brindle_tests";
    char* argv[] = {arg0, nullptr};
    ASSERT_EQ(platformInit(1, argv), 1);
    ASSERT_EQ(platformCreateMainWindow("Brindlecot", [](const PlatMessage&) {}), 1);
    platformShowMainWindow();
    platformPeekMessage();
  }
  void TearDown() override {
    platformSetWindowProc(nullptr);
    platformDestroyMainWindow();
    platformResetMessages();
  }
  // Presents the frame and returns the bands it pushed.
  int present() {
    int before = platformTestPresentPushes();
    EXPECT_EQ(platformPresent(frame.data(), W, H, PITCH), PRESENT_OK);
    return platformTestPresentPushes() - before;
  }
  void set(int x, int y, uint16_t v) { frame[y * PITCH + x] = v; }
  std::vector<uint16_t> frame = std::vector<uint16_t>(size_t(PITCH) * H, 0x0841);
};

TEST_F(PresentTest, OnlyChangedBandsAndColumnsArePushed) {
  // Whatever the window showed before, this picture differs somewhere in
  // every band of 16 rows; the pitch's spare pixels are never looked at.
  for (int y = 0; y < H; ++y) set(W + 3, y, 0xFFFF);
  present();
  for (int y = 0; y < H; ++y) set(y % W, y, static_cast<uint16_t>(0x1234 + y));
  EXPECT_EQ(present(), (H + 15) / 16);
  EXPECT_EQ(present(), 0) << "an unchanged frame pushes nothing";
  EXPECT_EQ(platformTestShownPixel(5, 5), 0xFF1045CEu) << "0x1239, each channel widened by its top bits";

  // One pixel: its band, its column.
  set(123, 45, 0xF800);
  EXPECT_EQ(present(), 1);
  EXPECT_EQ(lastPush(), (Push{123, 32, 124, 48}));
  EXPECT_EQ(platformTestShownPixel(123, 45), 0xFFFF0000u);
  EXPECT_EQ(platformTestShownPixel(124, 45), 0xFF080808u) << "0x0841 widened channel by channel";

  // Two pixels of one band make one push spanning both; the last row and
  // column sit in the short last band.
  set(10, 200, 0xFFFF);
  set(700, 207, 0x001F);
  EXPECT_EQ(present(), 1);
  EXPECT_EQ(lastPush(), (Push{10, 192, 701, 208}));
  EXPECT_EQ(platformTestShownPixel(10, 200), 0xFFFFFFFFu);
  EXPECT_EQ(platformTestShownPixel(700, 207), 0xFF0000FFu);
  set(W - 1, H - 1, 0x07E0);
  EXPECT_EQ(present(), 1);
  EXPECT_EQ(lastPush(), (Push{W - 1, 592, W, H}));
  EXPECT_EQ(platformTestShownPixel(W - 1, H - 1), 0xFF00FF00u);
  EXPECT_EQ(present(), 0);
}

TEST_F(PresentTest, LetterboxBarsStayBlackAfterResize) {
  QWidget* w = platformDialogOwner();
  ASSERT_NE(w, nullptr);
  w->showNormal();
  w->resize(1000, 600);
  platformPeekMessage();
  for (uint16_t& p : frame) p = 0xFFFF;
  present();
  QImage shot = w->grab().toImage();
  ASSERT_EQ(shot.size(), QSize(1000, 600));
  // The 800 x 600 picture is centred at 1:1 with bars of 100 pixels beside it.
  EXPECT_EQ(shot.pixel(50, 300), 0xFF000000u);
  EXPECT_EQ(shot.pixel(950, 300), 0xFF000000u);
  EXPECT_EQ(shot.pixel(100, 0), 0xFFFFFFFFu);
  EXPECT_EQ(shot.pixel(899, 599), 0xFFFFFFFFu);
  // With the program's pointer on, the system's shows over the bars only.
  platformSetCursorVisible(0);
  auto shapeAt = [&](int x, int y) {
    QMouseEvent move(QEvent::MouseMove, QPointF(x, y), w->mapToGlobal(QPointF(x, y)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(w, &move);
    return w->cursor().shape();
  };
  EXPECT_EQ(shapeAt(500, 300), Qt::BlankCursor);
  EXPECT_EQ(shapeAt(50, 300), Qt::ArrowCursor);
  EXPECT_EQ(shapeAt(950, 300), Qt::ArrowCursor);
  EXPECT_EQ(shapeAt(101, 300), Qt::BlankCursor);
  platformSetCursorVisible(1);
  EXPECT_EQ(shapeAt(500, 300), Qt::ArrowCursor);

  // At 1.25 x every window pixel shows the picture pixel nearest its centre,
  // widened channel by channel, with no bars left.
  w->resize(1000, 750);
  platformPeekMessage();
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) set(x, y, static_cast<uint16_t>(x * 7 + y * 1031));
  present();
  auto widen = [](uint16_t v) {
    uint32_t r = v >> 11, g = (v >> 5) & 0x3F, b = v & 0x1F;
    return 0xFF000000u | ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
  };
  auto nearest = [](int d, int scaled, int size) { return (2 * d + 1) * size / (2 * scaled); };
  shot = w->grab().toImage();
  ASSERT_EQ(shot.size(), QSize(1000, 750));
  int wrong = 0;
  for (int y = 0; y < 750; ++y)
    for (int x = 0; x < 1000; ++x)
      wrong += shot.pixel(x, y) != widen(frame[nearest(y, 750, H) * PITCH + nearest(x, 1000, W)]) ? 1 : 0;
  EXPECT_EQ(wrong, 0);
  // One changed pixel: its band's push, and on screen its one window pixel.
  set(123, 45, 0xF800);
  EXPECT_EQ(present(), 1);
  shot = w->grab().toImage();
  EXPECT_EQ(shot.pixel(154, 56), 0xFFFF0000u);
  EXPECT_EQ(shot.pixel(153, 56), widen(frame[45 * PITCH + 122]));
  EXPECT_EQ(shot.pixel(155, 56), widen(frame[45 * PITCH + 124]));
}

TEST_F(PresentTest, SharpFitGivesEveryOnePixelLineTheSameInk) {
  QWidget* w = platformDialogOwner();
  ASSERT_NE(w, nullptr);
  w->showNormal();
  w->resize(1440, 1080);  // 1.8 x: the 800 x 600 picture on a 1920 x 1080 display
  platformSetSharpFit(1);
  platformPeekMessage();
  // Vertical and horizontal white lines one pixel wide, 11 pixels apart, so
  // that their positions meet every phase of the scale, on black.
  for (uint16_t& p : frame) p = 0;
  for (int x = 3; x < W; x += 11)
    for (int y = 0; y < H; ++y) set(x, y, 0xFFFF);
  for (int y = 5; y < 300; y += 11)
    for (int x = 0; x < W; ++x)
      if (x % 11 != 3) set(x, y, 0xFFFF);
  present();
  QImage shot = w->grab().toImage();
  ASSERT_EQ(shot.size(), QSize(1440, 1080));
  // Each line's summed red across it, along a row (column) clear of the others.
  auto inkAcross = [&](int from, int to, auto at) {
    int sum = 0;
    for (int i = from; i < to; ++i) sum += qRed(at(i));
    return sum;
  };
  int least = 1 << 30, most = 0, lines = 0;
  for (int x = 3; x + 11 < W; x += 11) {
    const int d = x * 1440 / 800;
    const int ink = inkAcross(d - 3, d + 4, [&](int i) { return shot.pixel(i, 1000); });
    least = std::min(least, ink);
    most = std::max(most, ink);
    ++lines;
  }
  for (int y = 5; y + 11 < 300; y += 11) {
    const int d = y * 1080 / 600;
    const int ink = inkAcross(d - 3, d + 4, [&](int i) { return shot.pixel(13, i); });
    least = std::min(least, ink);
    most = std::max(most, ink);
    ++lines;
  }
  EXPECT_GT(lines, 90);
  EXPECT_LE(most - least, 1) << "summed ink of a line varies from " << least << " to " << most;
  EXPECT_NEAR(least, 255 * 9 / 5, 1);
  // Inside a wide area the colour is the picture's, untouched.
  EXPECT_EQ(shot.pixel(1400, 1050), 0xFF000000u);
  for (int y = 0; y < H; ++y) set(W - 1, y, 0xFFFF);
  present();
  shot = w->grab().toImage();
  EXPECT_EQ(shot.pixel(1439, 700), 0xFFFFFFFFu) << "the last column reaches the edge";
  platformSetSharpFit(0);
}

}  // namespace

// With parts named, only they are compared: a change outside them is not
// pushed (the caller vouched it was not there) until a present names it or
// names none. A new window's first picture is taken whole, whatever is named.
TEST_F(PresentTest, NamedPartsAreAllThatIsCompared) {
  const PlatRect part{100, 40, 164, 72};
  set(5, 5, 0xF800);  // changed, but a new window compares its first picture whole
  EXPECT_EQ(platformPresent(frame.data(), W, H, PITCH, &part, 1), PRESENT_OK);
  EXPECT_EQ(platformTestShownPixel(5, 5), 0xFFFF0000u);
  set(6, 6, 0xF800);
  set(120, 50, 0x001F);
  int before = platformTestPresentPushes();
  EXPECT_EQ(platformPresent(frame.data(), W, H, PITCH, &part, 1), PRESENT_OK);
  EXPECT_EQ(platformTestPresentPushes() - before, 1);
  EXPECT_EQ(lastPush(), (Push{120, 48, 121, 64}));
  EXPECT_EQ(platformTestShownPixel(6, 6), 0xFF080808u) << "outside the part: not looked at";
  const PlatRect nothing{0, 0, 0, 0};
  before = platformTestPresentPushes();
  EXPECT_EQ(platformPresent(frame.data(), W, H, PITCH, &nothing, 1), PRESENT_OK);
  EXPECT_EQ(platformTestPresentPushes() - before, 0);
  EXPECT_EQ(present(), 1) << "no parts: the whole picture";
  EXPECT_EQ(platformTestShownPixel(6, 6), 0xFFFF0000u);
}
