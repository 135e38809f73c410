// [SECTION] The window back end on Qt 6: the main window, its events, the
// cursor, frame pacing and the presentation of the picture.
//
// Qt events are turned into the program's own messages on the generic ring
// that the message loop drains; keys and mouse buttons go into the generic
// device table that the input subsystem reads once per frame.
#include <QApplication>
#include <QSocketNotifier>
#include <QtGlobal>
#include <QDialog>
#include <QCursor>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QPaintEvent>
#include <QResizeEvent>
#include <QPainter>
#include <QScreen>
#include <QSocketNotifier>
#include <QTranslator>
#include <QLibraryInfo>
#include <QLocale>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <cerrno>
#include <chrono>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <thread>

#if defined(__linux__)
#include <csignal>
#include <sys/syscall.h>
#include <fcntl.h>
#include <sys/timerfd.h>
#include <unistd.h>
#endif

#include "platform/core/backend.h"
#include "platform/core/devices.h"
#include "platform/core/messages.h"
#include "platform/core/modal.h"
#include "platform/core/picture.h"
#include "platform/keymap.h"
#include "platform/platform.h"
#include "platform/qt/qt_owner.h"
#include "platform/qt/qt_testing.h"

namespace {

// The picture's size for the window made next (platformSetPictureSize).
int pictureWanted[2] = {800, 600};
bool sharpWanted = false;

// ---------------------------------------------------------------------------
// The pointer.

// After a warp of the pointer or a change of focus, motion events still
// queued may tell of a position from before; for this many frames the
// pointer is asked of the server instead.
constexpr int POINTER_SETTLE_FRAMES = 8;
struct Pointer {
  QPoint lastPointer;                   // native position at the last read
  bool haveLast = false;
  bool relative = false;
  QPoint relativeHome;                  // where the pointer was when relative motion began
  bool warpPending = false;             // move the held pointer by warpBy (no X11)
  QPoint warpBy;
  bool keyboardFocus = false;           // the main window has the keyboard
  QPoint framePointer;                  // native position sampled for this frame
  bool haveFramePointer = false;        // ... and not yet taken by a mouse read
  QPoint eventPointer;                  // native position of the latest motion event
  int serverFrames = POINTER_SETTLE_FRAMES;  // frames that still ask the server
} dev;

QApplication* app = nullptr;

class MainWidget;
MainWidget* mainWidget = nullptr;

// ---------------------------------------------------------------------------
// X11. The server knows which keys are down whatever window had them, and
// moves the pointer relative to where it is now; both only where Qt runs on
// xcb, other platforms do without.
xcb_connection_t* x11() {
  if (!app) return nullptr;
  auto* x = app->nativeInterface<QNativeInterface::QX11Application>();
  return x ? x->connection() : nullptr;
}

// The key table from the server's keymap: keys still down read as down, keys
// released while another window had the keyboard read as released.
void syncKeysFromServer() {
  platDeviceClearKeys();
  xcb_connection_t* c = x11();
  if (!c) return;
  xcb_query_keymap_reply_t* r = xcb_query_keymap_reply(c, xcb_query_keymap(c), nullptr);
  if (!r) return;
  // X key codes are the Linux input codes + 8 on every current X server.
  for (int code = 8; code < 256; ++code)
    if (r->keys[code / 8] & (1 << (code % 8))) platDeviceSetKey(scanCodeForLinuxKey(code - 8), true);
  platDeviceClearKeyLatches();
  std::free(r);
}

// The pointer in native pixels, read from the server now rather than from
// motion events, which may still be queued from before a warp. The unchecked
// request keeps libxcb from allocating a record for an error that a query of
// the root window cannot have.
QPoint pointerNow() {
  if (xcb_connection_t* c = x11()) {
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (screen) {
      xcb_query_pointer_reply_t* r =
          xcb_query_pointer_reply(c, xcb_query_pointer_unchecked(c, screen->root), nullptr);
      if (r) {
        QPoint p(r->root_x, r->root_y);
        std::free(r);
        return p;
      }
    }
  }
  // Elsewhere Qt's position is in device-independent pixels.
  QScreen* screen = QGuiApplication::primaryScreen();
  double dpr = screen ? screen->devicePixelRatio() : 1.0;
  QPoint p = QCursor::pos();
  return QPoint(int(std::lround(p.x() * dpr)), int(std::lround(p.y() * dpr)));
}

// The pointer for this frame, in native pixels. While it moves freely the
// motion events keep it, so a frame costs no round trip to the server; while
// motion is relative, and for a few frames after a warp or a change of focus,
// the server is asked.
QPoint samplePointer() {
  if (dev.relative || dev.serverFrames > 0) {
    if (dev.serverFrames > 0) --dev.serverFrames;
    dev.eventPointer = pointerNow();
  }
  return dev.eventPointer;
}

// Virtual keys the accelerator table knows; others are not posted.
int acceleratorKey(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Escape: return KEY_ESCAPE;
    case Qt::Key_F4: return KEY_F4;
    case Qt::Key_F8: return KEY_F8;
    case Qt::Key_F12: return KEY_F12;
    default: return 0;
  }
}

// RGB565 to 32-bit by table, each channel widened by repeating its top bits
// (so white stays white and black black), the way Qt widens 16-bit images.
uint32_t rgb565To32[65536];

void fillColourTable() {
  for (uint32_t v = 0; v < 65536; ++v) {
    uint32_t r = (v >> 11) & 0x1F, g = (v >> 5) & 0x3F, b = v & 0x1F;
    rgb565To32[v] = 0xFF000000u | (((r << 3) | (r >> 2)) << 16) | (((g << 2) | (g >> 4)) << 8) | ((b << 3) | (b >> 2));
  }
}

// Rows are compared and handed to Qt in bands of this many rows; each band
// that changed becomes one rectangle of its changed columns, so a moving
// pointer and the clock do not make one rectangle of the whole screen.
constexpr int BAND_ROWS = 16;

int presentPushes = 0;  // bands handed to Qt since start (tests)
PlatPresentCounts presentCounts = {0, 0, 0};
QRect lastPush;  // picture pixels of the last band handed to Qt (tests)

// The largest side of the scaled picture kept in the window's own pixels;
// a larger picture rectangle is drawn at this size, centred in it.
constexpr int MAX_SCALED = 8192;

class MainWidget : public QWidget {
 public:
  MainWidget() : pictureW_(pictureWanted[0]), pictureH_(pictureWanted[1]) {
    static bool tableFilled = false;
    if (!tableFilled) fillColourTable();
    tableFilled = true;
    shown_.assign(static_cast<size_t>(pictureW_) * static_cast<size_t>(pictureH_), 0);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    fitScaledPicture();
  }

  // Asks Qt to repaint what the frames since the last call changed.
  void handOverRepaints() {
    for (int i = 0; i < repaintCount_; ++i) update(repaints_[i]);
    repaintCount_ = 0;
  }

  // Where the picture lies in the widget: scaled to fit, aspect kept.
  QRect pictureRect() const {
    int w = width(), h = height();
    if (w <= 0 || h <= 0) return QRect(0, 0, pictureW_, pictureH_);
    double s = std::min(double(w) / pictureW_, double(h) / pictureH_);
    int pw = int(pictureW_ * s), ph = int(pictureH_ * s);
    return QRect((w - pw) / 2, (h - ph) / 2, pw, ph);
  }

  double scale() const { return double(pictureRect().width()) / pictureW_; }

  // The shown picture's pixel at picture position (x, y), as 0xAARRGGBB.
  uint32_t shownPixel(int x, int y) const {
    int dx = std::min(firstCol_[x], scaledW_ - 1), dy = std::min(firstRow_[y], scaledH_ - 1);
    return reinterpret_cast<const uint32_t*>(scaled_.constScanLine(dy))[dx];
  }

  // Takes a finished back buffer. Only what differs from the picture on
  // screen is converted, scaled and handed to Qt; an unchanged frame costs
  // one comparison (of the parts the caller names, when it names them) and
  // pushes nothing to the window.
  void present(const uint16_t* pixels, int width, int height, int pitch, const PlatRect* parts, int partCount) {
    int rows = std::min(height, pictureH_), cols = std::min(width, pictureW_);
    if (rows <= 0 || cols <= 0) return;
    ++presentCounts.frames;
    int pushesBefore = presentPushes;
    // The first picture this window takes is compared whole: what the caller
    // vouches for is the picture it presented last, maybe before the window was.
    if (!presentedOnce_) parts = nullptr;
    presentedOnce_ = true;
    for (int y0 = 0; y0 < rows; y0 += BAND_ROWS) {
      int y1 = std::min(y0 + BAND_ROWS, rows);
      int spanL = 0, spanR = 0;
      if (!presentSpan(parts, partCount, y0, y1, cols, &spanL, &spanR)) continue;
      const size_t spanBytes = static_cast<size_t>(spanR - spanL) * 2;
      int left = cols, right = -1;
      for (int y = y0; y < y1; ++y) {
        const uint16_t* src = pixels + static_cast<ptrdiff_t>(y) * pitch;
        const uint16_t* old = shownRow(y);
        if (std::memcmp(src + spanL, old + spanL, spanBytes) == 0) continue;
        int l = spanL, r = spanR - 1;
        while (src[l] == old[l]) ++l;
        while (src[r] == old[r]) --r;
        left = std::min(left, l);
        right = std::max(right, r);
      }
      if (right < 0) continue;
      for (int y = y0; y < y1; ++y)
        std::memcpy(shownRow(y) + left, pixels + static_cast<ptrdiff_t>(y) * pitch + left,
                    static_cast<size_t>(right - left + 1) * 2);
      scalePicture(left, y0, right + 1, y1);
      ++presentPushes;
      lastPush = QRect(QPoint(left, y0), QPoint(right, y1 - 1));
      repaintLater(widgetRectOf(left, y0, right + 1, y1));
    }
    if (presentPushes != pushesBefore) ++presentCounts.changed;
  }

 protected:
  void paintEvent(QPaintEvent* e) override {
    ++presentCounts.paints;
    QPainter p(this);
    QRect r = scaledRect();
    // Only the letterbox bars are filled; the picture covers the rest. Each
    // exposed rectangle is a plain copy out of the scaled picture, so a
    // changed band costs its own rectangle only.
    const QRect bars[4] = {QRect(0, 0, width(), r.top()), QRect(0, r.bottom() + 1, width(), height() - r.bottom() - 1),
                           QRect(0, r.top(), r.left(), r.height()),
                           QRect(r.right() + 1, r.top(), width() - r.right() - 1, r.height())};
    for (const QRect& b : bars)
      if (!b.isEmpty() && b.intersects(e->rect())) p.fillRect(b, Qt::black);
    const double dpr = scaled_.devicePixelRatio();
    for (const QRect& part : e->region()) {
      QRect shown = part.intersected(r);
      if (shown.isEmpty()) continue;
      QRectF source(QPointF(shown.topLeft() - r.topLeft()) * dpr, QSizeF(shown.size()) * dpr);
      p.drawImage(QPointF(shown.topLeft()), scaled_, source);
    }
  }

  void resizeEvent(QResizeEvent*) override {
    fitScaledPicture();
    platNoteInput();  // the pointer now lies elsewhere on the picture
    showPointerFor(mapFromGlobal(QCursor::pos()));
  }

  void keyPressEvent(QKeyEvent* e) override { key(e, true); }
  void keyReleaseEvent(QKeyEvent* e) override { key(e, false); }

  void mousePressEvent(QMouseEvent* e) override { button(e->button(), true); }
  void mouseReleaseEvent(QMouseEvent* e) override { button(e->button(), false); }
  void mouseDoubleClickEvent(QMouseEvent* e) override { button(e->button(), true); }
  // The wheel turns vertically; a sideways turn (a tilt wheel) is not read.
  void wheelEvent(QWheelEvent* e) override { platDeviceAddWheel(e->angleDelta().y()); }
  void mouseMoveEvent(QMouseEvent* e) override { pointerAt(e->globalPosition()); }
  void enterEvent(QEnterEvent* e) override { pointerAt(e->globalPosition()); }

  void closeEvent(QCloseEvent* e) override {
    // The window procedure decides: a close message reaches it, and its
    // default handling destroys the window.
    e->ignore();
    platMessagePush(PlatMessage{MESSAGE_CLOSE, 0, 0});
  }

 private:
  void key(QKeyEvent* e, bool down) {
    if (e->isAutoRepeat()) return;
    platDeviceSetKey(scanCodeForKey(e->nativeScanCode(), e->key(), e->nativeVirtualKey()), down);
    if (down) {
      int vk = acceleratorKey(e->key());
      if (vk) platMessagePush(PlatMessage{MESSAGE_KEY, vk, keyModifiers(e->modifiers())});
    }
  }

  // The program draws its own pointer over the picture and hides the
  // system's there; over the bars nothing is drawn, so the system pointer
  // shows, or the pointer would vanish at the picture's edge.
 public:
  void setProgramPointer(bool own) {
    ownPointer_ = own;
    showPointerFor(mapFromGlobal(QCursor::pos()));
  }

 private:
  bool ownPointer_ = false;
  int cursorShown_ = -1;  // the shape last set: 1 the system's arrow, 0 none
  void showPointerFor(QPoint local) {
    const int want = (ownPointer_ && pictureRect().contains(local)) ? 0 : 1;
    if (want == cursorShown_) return;
    cursorShown_ = want;
    setCursor(want ? Qt::ArrowCursor : Qt::BlankCursor);
  }

  void pointerAt(QPointF global) {
    showPointerFor(mapFromGlobal(global).toPoint());
    QPoint p = native(global);
    if (p == dev.eventPointer) return;
    dev.eventPointer = p;
    platNoteInput();
  }

  QPoint native(QPointF global) const {
    double dpr = devicePixelRatioF();
    return QPoint(int(std::lround(global.x() * dpr)), int(std::lround(global.y() * dpr)));
  }

  static intptr_t keyModifiers(Qt::KeyboardModifiers m) {
    intptr_t r = 0;
    if (m & Qt::ShiftModifier) r |= KEYMOD_SHIFT;
    if (m & Qt::ControlModifier) r |= KEYMOD_CTRL;
    if (m & Qt::AltModifier) r |= KEYMOD_ALT;
    return r;
  }

  void button(Qt::MouseButton b, bool down) {
    int i = -1;
    switch (b) {
      case Qt::LeftButton: i = 0; break;
      case Qt::RightButton: i = 1; break;
      case Qt::MiddleButton: i = 2; break;
      case Qt::BackButton: i = 3; break;
      default: break;
    }
    platDeviceSetButton(i, down);
  }

  // The 16-bit picture on screen, for the comparison with the next frame,
  // and the same picture widened to 32 bits and scaled to the window's own
  // pixels, so that painting it is a plain copy.
  const int pictureW_, pictureH_;
  bool presentedOnce_ = false;
  std::vector<uint16_t> shown_;  // pictureW_ x pictureH_, rows one after the other
  uint16_t* shownRow(int y) { return shown_.data() + static_cast<ptrdiff_t>(y) * pictureW_; }
  QImage scaled_;
  int scaledW_ = pictureW_, scaledH_ = pictureH_;
  // For each column and row of the scaled picture the picture's column and
  // row it shows, and in the sharp fit the weight (of 256) its next column or
  // row adds; for each picture column and row the first scaled one that shows
  // it or anything right of or below it (the last entry is the scaled size),
  // and the first whose blend reaches it. Picture pixels [x0, x1) are shown
  // by scaled columns [touchCol_[x0], firstCol_[x1]), at any scale.
  int32_t srcCol_[MAX_SCALED];
  int32_t srcRow_[MAX_SCALED];
  uint16_t nextCol_[MAX_SCALED];
  uint16_t nextRow_[MAX_SCALED];
  int32_t firstCol_[PICTURE_MAX_W + 1];
  int32_t firstRow_[PICTURE_MAX_H + 1];
  int32_t touchCol_[PICTURE_MAX_W + 1];
  int32_t touchRow_[PICTURE_MAX_H + 1];
  uint32_t widened_[PICTURE_MAX_W];  // one picture row at 32 bits, while it is spread
  uint32_t spreadA_[MAX_SCALED], spreadB_[MAX_SCALED];  // two picture rows spread across, sharp fit
  bool sharp_ = false;

  // Nearest neighbour: each scaled pixel shows the picture pixel under its
  // centre. Sharp fit, when the picture is enlarged: each scaled pixel is the
  // picture as it covers the scaled pixel's area, so a picture pixel becomes
  // whole scaled pixels with at most a blended one at each side, and a line
  // one pixel wide carries the same ink wherever it lies.
  static void mapAxis(int scaledSize, int pictureSize, bool sharp, int32_t* src, uint16_t* next, int32_t* first,
                      int32_t* touch) {
    const int64_t S = scaledSize, P = pictureSize;
    const bool area = sharp && S > P;
    for (int d = 0; d < scaledSize; ++d) {
      if (!area) {
        src[d] = static_cast<int32_t>((static_cast<int64_t>(2 * d + 1) * P) / (2 * S));
        next[d] = 0;
        continue;
      }
      // The scaled pixel covers picture [d P / S, (d + 1) P / S), at most
      // two picture pixels; the second's share of it, in 256ths.
      const int64_t a = d * P / S, over = (d + 1) * P - (a + 1) * S;
      src[d] = static_cast<int32_t>(a);
      next[d] = over > 0 && a + 1 < P ? static_cast<uint16_t>((over * 256 + P / 2) / P) : 0;
    }
    int d = 0, t = 0;
    for (int s = 0; s <= pictureSize; ++s) {
      while (d < scaledSize && src[d] < s) ++d;
      while (t < scaledSize && src[t] + (next[t] ? 1 : 0) < s) ++t;
      first[s] = d;
      touch[s] = t;
    }
  }

  static uint32_t blend(uint32_t a, uint32_t b, uint32_t w) {
    if (w == 0) return a;
    const uint32_t v = 256 - w;
    const uint32_t rb = (((a & 0xFF00FFu) * v + (b & 0xFF00FFu) * w + 0x800080u) >> 8) & 0xFF00FFu;
    const uint32_t g = (((a & 0xFF00u) * v + (b & 0xFF00u) * w + 0x8000u) >> 8) & 0xFF00u;
    return 0xFF000000u | rb | g;
  }

  // The scaled picture's rectangle in widget coordinates: the picture
  // rectangle, or its centre part when the scaled size had to be capped.
  QRect scaledRect() const {
    QRect r = pictureRect();
    double dpr = scaled_.devicePixelRatio();
    int w = static_cast<int>(std::lround(scaledW_ / dpr)), h = static_cast<int>(std::lround(scaledH_ / dpr));
    return QRect(r.left() + (r.width() - w) / 2, r.top() + (r.height() - h) / 2, w, h);
  }

 public:
  void setSharp(bool sharp) {
    if (sharp == sharp_) return;
    sharp_ = sharp;
    scaledW_ = -1;  // the tables are made again
    fitScaledPicture();
  }

 private:
  // After a change of size: the scaled picture made anew at the picture
  // rectangle's size in device pixels, from the picture on screen.
  void fitScaledPicture() {
    QRect r = pictureRect();
    double dpr = devicePixelRatioF() > 0 ? devicePixelRatioF() : 1.0;
    int w = std::clamp(static_cast<int>(std::lround(r.width() * dpr)), 1, MAX_SCALED);
    int h = std::clamp(static_cast<int>(std::lround(r.height() * dpr)), 1, MAX_SCALED);
    if (scaled_.isNull() || w != scaledW_ || h != scaledH_) {
      if (scaled_.isNull() || w != scaled_.width() || h != scaled_.height())
        scaled_ = QImage(w, h, QImage::Format_RGB32);
      scaledW_ = w;
      scaledH_ = h;
      mapAxis(w, pictureW_, sharp_, srcCol_, nextCol_, firstCol_, touchCol_);
      mapAxis(h, pictureH_, sharp_, srcRow_, nextRow_, firstRow_, touchRow_);
    }
    scaled_.setDevicePixelRatio(dpr);
    scalePicture(0, 0, pictureW_, pictureH_);
    update();
  }

  // Widens picture pixels [x0, x1) x [y0, y1) to 32 bits and scales them into
  // the scaled picture: each picture row is widened once into a row buffer
  // (one table lookup per picture pixel, not per scaled one), spread from
  // there to its scaled columns, and a scaled row showing the same picture
  // row as the one above is copied. The sharp fit blends a scaled pixel from
  // up to two picture columns and two picture rows.
  void scalePicture(int x0, int y0, int x1, int y1) {
    const int dx0 = touchCol_[x0], dx1 = firstCol_[x1], dy0 = touchRow_[y0], dy1 = firstRow_[y1];
    if (dx1 <= dx0 || dy1 <= dy0) return;
    // The picture columns the scaled ones read: one more at each side where
    // a blend reaches it.
    const int cx0 = srcCol_[dx0], cx1 = std::min(srcCol_[dx1 - 1] + 2, pictureW_);
    uchar* bits = scaled_.bits();
    const qsizetype stride = scaled_.bytesPerLine();
    const uint32_t* above = nullptr;
    int aboveRow = -1, aboveNext = -1;
    int spreadRowA = -1, spreadRowB = -1;
    for (int dy = dy0; dy < dy1; ++dy) {
      uint32_t* out = reinterpret_cast<uint32_t*>(bits + dy * stride);
      const int row = srcRow_[dy], rowNext = nextRow_[dy];
      if (row == aboveRow && rowNext == aboveNext) {
        std::memcpy(out + dx0, above + dx0, static_cast<size_t>(dx1 - dx0) * 4);
      } else if (!sharp_) {
        const uint16_t* src = shownRow(row);
        for (int x = cx0; x < cx1; ++x) widened_[x] = rgb565To32[src[x]];
        for (int dx = dx0; dx < dx1; ++dx) out[dx] = widened_[srcCol_[dx]];
      } else {
        // The two picture rows spread across once each; a row already
        // spread for the scaled row above is kept.
        if (spreadRowA != row) {
          if (spreadRowB == row) {
            std::memcpy(spreadA_ + dx0, spreadB_ + dx0, static_cast<size_t>(dx1 - dx0) * 4);
          } else {
            spreadAcross(row, cx0, cx1, dx0, dx1, spreadA_);
          }
          spreadRowA = row;
        }
        if (rowNext == 0) {
          std::memcpy(out + dx0, spreadA_ + dx0, static_cast<size_t>(dx1 - dx0) * 4);
        } else {
          if (spreadRowB != row + 1) {
            spreadAcross(row + 1, cx0, cx1, dx0, dx1, spreadB_);
            spreadRowB = row + 1;
          }
          for (int dx = dx0; dx < dx1; ++dx)
            out[dx] = blend(spreadA_[dx], spreadB_[dx], static_cast<uint32_t>(rowNext));
        }
      }
      aboveRow = row;
      aboveNext = rowNext;
      above = out;
    }
  }

  // One picture row widened and spread to scaled columns [dx0, dx1), each
  // blended from its two picture columns (sharp fit).
  void spreadAcross(int row, int cx0, int cx1, int dx0, int dx1, uint32_t* out) {
    const uint16_t* src = shownRow(row);
    for (int x = cx0; x < cx1; ++x) widened_[x] = rgb565To32[src[x]];
    for (int dx = dx0; dx < dx1; ++dx) {
      const int c = srcCol_[dx];
      out[dx] = nextCol_[dx] ? blend(widened_[c], widened_[c + 1], nextCol_[dx]) : widened_[c];
    }
  }

  // Changed rectangles waiting for handOverRepaints: a repaint request
  // allocates inside Qt (a region and a posted event), so a frame only notes
  // it. Should frames present more bands than this without the event loop
  // running in between, the last rectangle grows to hold the rest.
  static constexpr int REPAINT_SLOTS = 2 * (PICTURE_MAX_H / BAND_ROWS + 1);
  QRect repaints_[REPAINT_SLOTS];
  int repaintCount_ = 0;

  void repaintLater(const QRect& r) {
    if (repaintCount_ < REPAINT_SLOTS)
      repaints_[repaintCount_++] = r;
    else
      repaints_[REPAINT_SLOTS - 1] |= r;
  }

  // The widget rectangle that shows picture pixels [x0, x1) x [y0, y1),
  // rounded outwards to whole widget pixels.
  QRect widgetRectOf(int x0, int y0, int x1, int y1) const {
    QRect r = scaledRect();
    double dpr = scaled_.devicePixelRatio();
    int l = r.left() + static_cast<int>(std::floor(touchCol_[x0] / dpr));
    int t = r.top() + static_cast<int>(std::floor(touchRow_[y0] / dpr));
    int rr = r.left() + static_cast<int>(std::ceil(firstCol_[x1] / dpr));
    int b = r.top() + static_cast<int>(std::ceil(firstRow_[y1] / dpr));
    return QRect(l, t, rr - l, b - t).intersected(r);
  }
};

// A dialog, a message box or a chooser that takes the keyboard takes the
// devices with it, as switching away does; when the keyboard comes back, the
// keys still down are down again.
void onFocusWindow(QWindow* focus) {
  bool mine = mainWidget && focus && focus == mainWidget->windowHandle();
  if (mine == dev.keyboardFocus) return;
  dev.keyboardFocus = mine;
  dev.serverFrames = POINTER_SETTLE_FRAMES;
  if (mine)
    syncKeysFromServer();
  else
    platDeviceLoseInput();
}

QTranslator* qtTexts = nullptr;

void loadTranslations() {
  // Qt's own texts (choosers, Yes and No) in the program's language: its
  // Japanese translations, or none at all for English, which Qt is written in.
  if (platformLanguage() == PLATFORM_ENGLISH) {
    if (qtTexts) QCoreApplication::removeTranslator(qtTexts);
    return;
  }
  if (!qtTexts) {
    auto* loaded = new QTranslator(app);
    if (!loaded->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
      delete loaded;
      return;
    }
    qtTexts = loaded;
  }
  QCoreApplication::installTranslator(qtTexts);
}

void onApplicationState(Qt::ApplicationState state) {
  bool active = state == Qt::ApplicationActive;
  if (!active) platDeviceLoseInput();
  platMessagePush(PlatMessage{MESSAGE_ACTIVE, active ? 1 : 0, 0});
}

void movePointerTo(QPoint nativePos);

// What frames left for Qt, done before Qt handles events again: the repaint
// of the changed parts of the window and, without X11, putting the held
// pointer back. Both allocate inside Qt, so no frame does them itself. Neither
// comes any later for it: Qt paints only while it handles events, and the next
// frame reads the pointer after that.
void handOverToQt() {
  if (mainWidget) mainWidget->handOverRepaints();
  if (dev.warpPending) {
    // By the distance read, from wherever the pointer is now, so that motion
    // since the read stays for the next one, as with the X11 warp.
    dev.warpPending = false;
    movePointerTo(pointerNow() + dev.warpBy);
  }
}

void processQtEvents(QEventLoop::ProcessEventsFlags flags) {
  handOverToQt();
  QCoreApplication::processEvents(flags);
}

void pumpEvents() {
  if (app) processQtEvents(QEventLoop::AllEvents);
}

}  // namespace

// ---------------------------------------------------------------------------
namespace {
// Once per application, whoever made it (the program or a test).
void wireApplication() {
  static bool wired = false;
  if (wired || !app) return;
  wired = true;
  QObject::connect(app, &QGuiApplication::applicationStateChanged, app, &onApplicationState);
  QObject::connect(app, &QGuiApplication::focusWindowChanged, app, &onFocusWindow);
  loadTranslations();
}
}  // namespace

namespace {
const char* noDisplayText = "no display";

// While the application object is made, the toolkit's complaints about a
// display it cannot reach (and its abort after them) become the program's
// one line and exit status 1.
void startMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type != QtFatalMsg) return;
  // The program's line, with the toolkit's own reason after it.
  std::fprintf(stderr, "%s (%s)\n", noDisplayText, text.simplified().toLocal8Bit().constData());
  std::fflush(stderr);
  std::_Exit(1);
}
}  // namespace

void platformSetNoDisplayText(const char* utf8) { noDisplayText = utf8; }

void backendLanguageChanged() {
  if (app) loadTranslations();
}

// ---------------------------------------------------------------------------
// The last moment: SIGTERM, SIGHUP and a lost display. A signal only writes
// its number into a pipe; the event loop (the editor's or a modal window's)
// reads it on the main thread, where the document is whole, runs the handler
// and ends the program as the signal would have.
namespace {
void (*emergencyHandler)() = nullptr;
int signalPipe[2] = {-1, -1};
QtMessageHandler toolkitMessages = nullptr;

void onEndingSignal(int sig) {
  const unsigned char b = static_cast<unsigned char>(sig);
  const int saved = errno;
  const ssize_t n = ::write(signalPipe[1], &b, 1);  // a full pipe already holds a signal
  (void)n;
  errno = saved;
}

bool emergencyRun = false;

void runEmergencyHandler() {
  if (emergencyRun || !emergencyHandler) return;
  emergencyRun = true;
  emergencyHandler();
}

void endNow(int status) {
  runEmergencyHandler();
  std::_Exit(status);
}

void onSignalReadable() {
  unsigned char sig = 0;
  if (::read(signalPipe[0], &sig, 1) != 1) return;
  endNow(128 + sig);
}

// After start-up: the toolkit gives up on a display that went away with a
// fatal message; the work is kept before it ends the program.
void runningMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (toolkitMessages) toolkitMessages(type, context, text);
  if (type == QtFatalMsg) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    endNow(1);
  }
  // The X11 connection's loss is told as a warning before the toolkit exits.
  if (text.contains(QStringLiteral("connection broke"))) endNow(1);
}

void watchEndingSignals() {
  if (signalPipe[0] >= 0 || ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, app);
  QObject::connect(notifier, &QSocketNotifier::activated, app, [] { onSignalReadable(); });
  struct sigaction sa {};
  sa.sa_handler = onEndingSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGHUP, &sa, nullptr);
  toolkitMessages = qInstallMessageHandler(runningMessages);
  // Any other way out through exit() gets the same last moment; after a
  // normal quit the handler has nothing left to keep.
  std::atexit(runEmergencyHandler);
}
}  // namespace

void platformSetEmergencyHandler(void (*handler)()) {
  emergencyHandler = handler;
  if (app) watchEndingSignals();
}

int platformInit(int argc, char** argv) {
  if (QCoreApplication::instance()) {
    app = qobject_cast<QApplication*>(QCoreApplication::instance());
    wireApplication();
    return app ? 1 : 0;
  }
  QtMessageHandler before = qInstallMessageHandler(startMessages);
  app = new QApplication(platAppArgc(), platAppArgv(argc, argv));
  qInstallMessageHandler(before);
  if (emergencyHandler) watchEndingSignals();
  // The program icon, shown by the window and the dialogs' information boxes.
  app->setWindowIcon(QIcon(":/icon.png"));
  wireApplication();
  return 1;
}

namespace {
// The frame loop sleeps most of each frame and then has well under a
// millisecond of work. Beside busy processes (a compiler on every core) the
// scheduler's usual slice of a few milliseconds let a due frame wait that long
// for the processor; asking for a short slice (Linux 6.12 and later; earlier
// kernels ignore it) lets the woken loop run at once. Nothing else changes:
// the nice value stays, and a refusal is harmless.
void askForShortSlices() {
#if defined(__linux__) && defined(SYS_sched_setattr) && defined(SYS_sched_getattr)
  struct Attr {
    uint32_t size, policy;
    uint64_t flags;
    int32_t nice;
    uint32_t priority;
    uint64_t runtime, deadline, period;
    uint32_t utilMin, utilMax;
  } a{};
  if (syscall(SYS_sched_getattr, 0, &a, sizeof a, 0) != 0 || a.policy != 0 /* SCHED_OTHER */) return;
  a.size = sizeof a;
  a.flags = 0;
  a.runtime = 100000;  // ns: the shortest slice the scheduler grants
  (void)syscall(SYS_sched_setattr, 0, &a, 0);
#endif
}
}  // namespace

int platformCreateMainWindow(const char* titleUtf8, WindowProc proc) {
  if (!app || mainWidget) return 0;
  platformSetWindowProc(proc);
  askForShortSlices();
  mainWidget = new MainWidget();
  mainWidget->setSharp(sharpWanted);
  mainWidget->setWindowTitle(QString::fromUtf8(titleUtf8));
  mainWidget->setWindowIcon(QIcon(":/icon.png"));
  return 1;
}

void platformShowMainWindow() {
  if (!mainWidget) return;
  // Without a window manager a full-screen request alone keeps the default
  // size; the screen's geometry is set first so the window covers it anyway.
  if (QScreen* screen = QGuiApplication::primaryScreen()) mainWidget->setGeometry(screen->geometry());
  mainWidget->showFullScreen();
  mainWidget->raise();
  mainWidget->activateWindow();
  mainWidget->setFocus();
}

int platformMainWindowExists() { return mainWidget ? 1 : 0; }

void platformSetSharpFit(int on) {
  sharpWanted = on != 0;
  if (mainWidget) mainWidget->setSharp(sharpWanted);
}

void platformSetPictureSize(int width, int height) {
  pictureWanted[0] = std::clamp(width, 1, PICTURE_MAX_W);
  pictureWanted[1] = std::clamp(height, 1, PICTURE_MAX_H);
}

void platformDisplaySize(int32_t* width, int32_t* height) {
  *width = 800;
  *height = 600;
  QScreen* screen = app ? QGuiApplication::primaryScreen() : nullptr;
  if (!screen) return;
  const double dpr = screen->devicePixelRatio() > 0 ? screen->devicePixelRatio() : 1.0;
  *width = static_cast<int32_t>(std::lround(screen->geometry().width() * dpr));
  *height = static_cast<int32_t>(std::lround(screen->geometry().height() * dpr));
}

int platformRunModal(QDialog* dialog) {
  platModalBegin();
  const int result = dialog->exec();
  platModalEnd();
  return result;
}

QWidget* platformDialogOwner() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  if (mainWidget && mainWidget->isVisible()) return mainWidget;
  return QApplication::activeWindow();
}

void platformDestroyMainWindow() {
  if (!mainWidget) return;
  MainWidget* w = mainWidget;
  mainWidget = nullptr;
  platformDispatchMessage(PlatMessage{MESSAGE_DESTROY, 0, 0});
  w->hide();
  delete w;
}

void platformSetMainWindowTitle(const char* titleUtf8) {
  if (mainWidget) mainWidget->setWindowTitle(QString::fromUtf8(titleUtf8));
}

void platformMinimiseMainWindow() {
  if (mainWidget) mainWidget->showMinimized();
}

void backendPumpEvents() { pumpEvents(); }

int backendWaitEvents() {
  if (!app) return 0;  // nothing could ever arrive
  processQtEvents(QEventLoop::WaitForMoreEvents);
  return 1;
}

namespace {
// What ends a wait for input when nothing arrives: a timer file watched by
// Qt's event loop like any other descriptor. Made once; arming it for each
// wait allocates nothing (a Qt timer would, every time it is started).
struct RestTimer {
  int fd = -1;
  QSocketNotifier* notifier = nullptr;
};
RestTimer restTimer;

bool armRestTimer(uint32_t timeoutMs) {
#if defined(__linux__)
  if (restTimer.fd < 0) {
    restTimer.fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (restTimer.fd < 0) return false;
    restTimer.notifier = new QSocketNotifier(restTimer.fd, QSocketNotifier::Read, app);
    QObject::connect(restTimer.notifier, &QSocketNotifier::activated, app, [] {
      uint64_t expirations = 0;
      (void)!read(restTimer.fd, &expirations, sizeof expirations);
    });
  }
  itimerspec when{};
  when.it_value.tv_sec = static_cast<time_t>(timeoutMs / 1000);
  when.it_value.tv_nsec = static_cast<long>(timeoutMs % 1000) * 1000000L;
  if (when.it_value.tv_sec == 0 && when.it_value.tv_nsec == 0) when.it_value.tv_nsec = 1;  // 0 would disarm
  return timerfd_settime(restTimer.fd, 0, &when, nullptr) == 0;
#else
  (void)timeoutMs;
  return false;
#endif
}

void disarmRestTimer() {
#if defined(__linux__)
  if (restTimer.fd < 0) return;
  itimerspec off{};
  timerfd_settime(restTimer.fd, 0, &off, nullptr);
#endif
}
}  // namespace

int backendWaitEventsFor(uint32_t timeoutMs) {
  if (!app) {
    if (timeoutMs == WAIT_FOREVER) return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
    return 1;
  }
  if (timeoutMs == WAIT_FOREVER) {
    processQtEvents(QEventLoop::WaitForMoreEvents);
    return 1;
  }
  if (!armRestTimer(timeoutMs)) {
    // Without a timer file the wait is cut into frame periods.
    std::this_thread::sleep_for(std::chrono::milliseconds(std::min<uint32_t>(timeoutMs, 16)));
    processQtEvents(QEventLoop::AllEvents);
    return 1;
  }
  processQtEvents(QEventLoop::WaitForMoreEvents);
  disarmRestTimer();
  return 1;
}

void backendWakeWaiter() {
  // Wake a WaitForMoreEvents that may be sleeping.
  if (app) QCoreApplication::postEvent(app, new QEvent(QEvent::User));
}

namespace {

using FrameClockTime = std::chrono::steady_clock::time_point;
FrameClockTime nextFrameAt{};

std::chrono::nanoseconds framePeriod() {
  double hz = 60.0;  // where the platform tells no refresh rate
  if (mainWidget) {
    if (QScreen* screen = mainWidget->screen()) {
      double r = screen->refreshRate();
      if (r >= 24.0 && r <= 480.0) hz = r;
    }
  }
  return std::chrono::nanoseconds(static_cast<int64_t>(1e9 / hz));
}

}  // namespace

int platformWaitFrame() {
  using namespace std::chrono;
  const nanoseconds period = framePeriod();
  FrameClockTime now = steady_clock::now();
  // More than a frame behind (a long frame, a dialog, the first frame):
  // start afresh instead of running the missed frames in a burst.
  if (nextFrameAt == FrameClockTime{} || now - nextFrameAt > period) nextFrameAt = now;
  if (platMessagesWaiting() > 0) return 0;
  // The thread sleeps until the frame is due, as a flip blocks, and takes the
  // window system's events once when it wakes: input is read once per frame
  // anyway, and waking for every event (or for a millisecond timer first) cost
  // an idle editor more than its frames.
  if (now < nextFrameAt) std::this_thread::sleep_until(nextFrameAt);
  if (app) processQtEvents(QEventLoop::AllEvents);
  if (platMessagesWaiting() > 0) return 0;
  nextFrameAt += period;
  platInputTaken();
  return 1;
}

// ---------------------------------------------------------------------------
int backendCursorPos(int32_t* x, int32_t* y) {
  if (!mainWidget) return 0;
  // One sample per frame: the mouse read that follows takes its motion from
  // the same one.
  dev.framePointer = samplePointer();
  dev.haveFramePointer = true;
  double dpr = mainWidget->devicePixelRatioF();
  if (dpr <= 0) dpr = 1;
  QPoint p = mainWidget->mapFromGlobal(QPointF(dev.framePointer.x() / dpr, dev.framePointer.y() / dpr)).toPoint();
  QRect r = mainWidget->pictureRect();
  double s = mainWidget->scale();
  if (s <= 0) s = 1;
  *x = static_cast<int32_t>(std::floor((p.x() - r.x()) / s));
  *y = static_cast<int32_t>(std::floor((p.y() - r.y()) / s));
  return 1;
}

void platformSetCursorVisible(int visible) {
  if (!mainWidget) return;
  mainWidget->setProgramPointer(visible == 0);
}

namespace {
// The window centre in native pixels, where the hidden pointer is held while
// motion is relative.
QPoint relativeAnchor() {
  QPoint c = mainWidget->mapToGlobal(mainWidget->rect().center());
  double dpr = mainWidget->devicePixelRatioF();
  return QPoint(int(c.x() * dpr), int(c.y() * dpr));
}

void movePointerTo(QPoint nativePos) {
  if (!mainWidget) return;
  double dpr = mainWidget->devicePixelRatioF();
  QCursor::setPos(QPoint(int(nativePos.x() / dpr), int(nativePos.y() / dpr)));
}
}  // namespace

void platformSetRelativeMouse(int on) {
  bool want = on != 0;
  if (want == dev.relative) return;
  dev.relative = want;
  dev.warpPending = false;
  if (!mainWidget || !mainWidget->isVisible()) return;
  // The pointer goes back where the user left it when relative motion began.
  if (want) {
    dev.relativeHome = pointerNow();
    movePointerTo(relativeAnchor());
  } else {
    movePointerTo(dev.relativeHome);
  }
  // Motion starts afresh from wherever the pointer now is.
  dev.haveLast = false;
  dev.haveFramePointer = false;
  dev.serverFrames = POINTER_SETTLE_FRAMES;
}

// ---------------------------------------------------------------------------
int platformPresent(const uint16_t* pixels, int width, int height, int pitch, const PlatRect* parts, int partCount) {
  if (!mainWidget) return PRESENT_OK;  // a program without its window presents into nothing
  mainWidget->present(pixels, width, height, pitch, parts, partCount);
  return PRESENT_OK;
}

int platformTestPresentPushes() { return presentPushes; }

void platformPresentCounts(PlatPresentCounts* counts) { *counts = presentCounts; }

void platformTestLastPush(int* left, int* top, int* right, int* bottom) {
  *left = lastPush.isNull() ? 0 : lastPush.left();
  *top = lastPush.isNull() ? 0 : lastPush.top();
  *right = lastPush.isNull() ? 0 : lastPush.right() + 1;
  *bottom = lastPush.isNull() ? 0 : lastPush.bottom() + 1;
}

uint32_t platformTestShownPixel(int x, int y) {
  if (!mainWidget || x < 0 || y < 0 || x >= pictureWanted[0] || y >= pictureWanted[1]) return 0;
  return mainWidget->shownPixel(x, y);
}

// ---------------------------------------------------------------------------
int backendMayAcquireDevices() {
  return app && QGuiApplication::applicationState() != Qt::ApplicationActive && mainWidget &&
                 QGuiApplication::platformName() != "offscreen"
             ? 0
             : 1;
}

void backendPointerRestart() {
  dev.haveLast = false;
  dev.haveFramePointer = false;
  dev.serverFrames = POINTER_SETTLE_FRAMES;
}

void backendPointerReset() { dev = Pointer{}; }

namespace {
// Motion since the last read, from the pointer's position on the server. While
// motion is relative the pointer is then moved back to the window centre by
// exactly the distance read, so motion that arrives between the two requests
// is kept for the next read instead of being overwritten.
void takePointerMotion(double* pendingDX, double* pendingDY) {
  if (!mainWidget || !mainWidget->isVisible()) return;
  QPoint now = dev.haveFramePointer ? dev.framePointer : samplePointer();
  dev.haveFramePointer = false;
  QPoint base = dev.relative ? relativeAnchor() : dev.lastPointer;
  if (dev.haveLast || dev.relative) {
    double s = mainWidget->scale() * mainWidget->devicePixelRatioF();
    if (s <= 0) s = 1;
    *pendingDX += (now.x() - base.x()) / s;
    *pendingDY += (now.y() - base.y()) / s;
  }
  dev.lastPointer = now;
  dev.haveLast = true;
  if (!dev.relative || now == base) return;
  if (xcb_connection_t* c = x11()) {
    xcb_warp_pointer(c, XCB_NONE, XCB_NONE, 0, 0, 0, 0, static_cast<int16_t>(base.x() - now.x()),
                     static_cast<int16_t>(base.y() - now.y()));
    xcb_flush(c);
  } else {
    dev.warpBy = base - now;
    dev.warpPending = true;
  }
}
}  // namespace

void backendTakePointerMotion(double* dx, double* dy) { takePointerMotion(dx, dy); }
