// [SECTION] The window back end on Qt 6: the main window, its events, the
// cursor, frame pacing and the presentation of the picture.
//
// Qt events are turned into the program's own messages on the generic ring
// that the message loop drains; keys and mouse buttons go into the generic
// device table that the input subsystem reads once per frame.
#include <QApplication>
#include <QDialog>
#include <QCursor>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTranslator>
#include <QLibraryInfo>
#include <QLocale>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

#if defined(__linux__)
#include <sys/syscall.h>
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

constexpr int PICTURE_W = 800;
constexpr int PICTURE_H = 600;

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
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_F4: return VK_F4;
    case Qt::Key_F8: return VK_F8;
    case Qt::Key_F12: return VK_F12;
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

class MainWidget : public QWidget {
 public:
  MainWidget() : image_(PICTURE_W, PICTURE_H, QImage::Format_RGB32) {
    static bool tableFilled = false;
    if (!tableFilled) fillColourTable();
    tableFilled = true;
    image_.fill(Qt::black);
    std::memset(shown_, 0, sizeof shown_);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
  }

  const QImage& image() const { return image_; }

  // Asks Qt to repaint what the frames since the last call changed.
  void handOverRepaints() {
    for (int i = 0; i < repaintCount_; ++i) update(repaints_[i]);
    repaintCount_ = 0;
  }

  // Where the 800 x 600 picture lies in the widget: scaled to fit, aspect kept.
  QRect pictureRect() const {
    int w = width(), h = height();
    if (w <= 0 || h <= 0) return QRect(0, 0, PICTURE_W, PICTURE_H);
    double s = std::min(double(w) / PICTURE_W, double(h) / PICTURE_H);
    int pw = int(PICTURE_W * s), ph = int(PICTURE_H * s);
    return QRect((w - pw) / 2, (h - ph) / 2, pw, ph);
  }

  double scale() const { return double(pictureRect().width()) / PICTURE_W; }

  // Takes a finished back buffer. Only what differs from the picture on
  // screen is converted and handed to Qt; an unchanged frame costs one
  // comparison and pushes nothing to the window.
  void present(const uint16_t* pixels, int width, int height, int pitch) {
    int rows = std::min(height, PICTURE_H), cols = std::min(width, PICTURE_W);
    if (rows <= 0 || cols <= 0) return;
    ++presentCounts.frames;
    int pushesBefore = presentPushes;
    size_t rowBytes = static_cast<size_t>(cols) * 2;
    for (int y0 = 0; y0 < rows; y0 += BAND_ROWS) {
      int y1 = std::min(y0 + BAND_ROWS, rows);
      int left = cols, right = -1;
      for (int y = y0; y < y1; ++y) {
        const uint16_t* src = pixels + static_cast<ptrdiff_t>(y) * pitch;
        const uint16_t* old = shown_[y];
        if (std::memcmp(src, old, rowBytes) == 0) continue;
        int l = 0, r = cols - 1;
        while (src[l] == old[l]) ++l;
        while (src[r] == old[r]) --r;
        left = std::min(left, l);
        right = std::max(right, r);
      }
      if (right < 0) continue;
      for (int y = y0; y < y1; ++y) {
        const uint16_t* src = pixels + static_cast<ptrdiff_t>(y) * pitch;
        uint32_t* out = reinterpret_cast<uint32_t*>(image_.scanLine(y));
        for (int x = left; x <= right; ++x) out[x] = rgb565To32[src[x]];
        std::memcpy(shown_[y] + left, src + left, static_cast<size_t>(right - left + 1) * 2);
      }
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
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    QRect r = pictureRect();
    // Only the letterbox bars are filled; the picture covers the rest. The
    // painter is clipped to the exposed region, so a changed band costs its
    // own rectangle only.
    const QRect bars[4] = {QRect(0, 0, width(), r.top()), QRect(0, r.bottom() + 1, width(), height() - r.bottom() - 1),
                           QRect(0, r.top(), r.left(), r.height()),
                           QRect(r.right() + 1, r.top(), width() - r.right() - 1, r.height())};
    for (const QRect& b : bars)
      if (!b.isEmpty() && b.intersects(e->rect())) p.fillRect(b, Qt::black);
    p.drawImage(r, image_);
  }

  void keyPressEvent(QKeyEvent* e) override { key(e, true); }
  void keyReleaseEvent(QKeyEvent* e) override { key(e, false); }

  void mousePressEvent(QMouseEvent* e) override { button(e->button(), true); }
  void mouseReleaseEvent(QMouseEvent* e) override { button(e->button(), false); }
  void mouseDoubleClickEvent(QMouseEvent* e) override { button(e->button(), true); }
  // The wheel turns vertically; a sideways turn (a tilt wheel) is not read.
  void wheelEvent(QWheelEvent* e) override { platDeviceAddWheel(e->angleDelta().y()); }
  void mouseMoveEvent(QMouseEvent* e) override { dev.eventPointer = native(e->globalPosition()); }
  void enterEvent(QEnterEvent* e) override { dev.eventPointer = native(e->globalPosition()); }

  void closeEvent(QCloseEvent* e) override {
    // The window procedure decides: a close message reaches it, and its
    // default handling destroys the window.
    e->ignore();
    platMessagePush(PlatMessage{MSG_CLOSE, 0, 0});
  }

 private:
  void key(QKeyEvent* e, bool down) {
    if (e->isAutoRepeat()) return;
    platDeviceSetKey(scanCodeForKey(e->nativeScanCode(), e->key(), e->nativeVirtualKey()), down);
    if (down) {
      int vk = acceleratorKey(e->key());
      if (vk) platMessagePush(PlatMessage{MSG_KEYDOWN, vk, keyModifiers(e->modifiers())});
    }
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

  // The widened picture Qt draws, and the 16-bit picture it was made from,
  // for the comparison with the next frame.
  QImage image_;
  uint16_t shown_[PICTURE_H][PICTURE_W];

  // Changed rectangles waiting for handOverRepaints: a repaint request
  // allocates inside Qt (a region and a posted event), so a frame only notes
  // it. Should frames present more bands than this without the event loop
  // running in between, the last rectangle grows to hold the rest.
  static constexpr int REPAINT_SLOTS = 2 * (PICTURE_H / BAND_ROWS + 1);
  QRect repaints_[REPAINT_SLOTS];
  int repaintCount_ = 0;

  void repaintLater(const QRect& r) {
    if (repaintCount_ < REPAINT_SLOTS)
      repaints_[repaintCount_++] = r;
    else
      repaints_[REPAINT_SLOTS - 1] |= r;
  }

  // The widget rectangle that shows picture pixels [x0, x1) x [y0, y1), one
  // pixel wider on each side for the rounding of the scaled drawing.
  QRect widgetRectOf(int x0, int y0, int x1, int y1) const {
    QRect r = pictureRect();
    double s = scale();
    int l = r.left() + static_cast<int>(std::floor(x0 * s)) - 1;
    int t = r.top() + static_cast<int>(std::floor(y0 * s)) - 1;
    int rr = r.left() + static_cast<int>(std::ceil(x1 * s)) + 1;
    int b = r.top() + static_cast<int>(std::ceil(y1 * s)) + 1;
    return QRect(QPoint(l, t), QPoint(rr - 1, b - 1)).intersected(r);
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

void loadTranslations() {
  // Qt's own texts (choosers, Yes and No) in the program's language.
  static QTranslator qtTexts;
  if (qtTexts.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(&qtTexts);
}

void onApplicationState(Qt::ApplicationState state) {
  bool active = state == Qt::ApplicationActive;
  if (!active) platDeviceLoseInput();
  platMessagePush(PlatMessage{MSG_ACTIVATEAPP, active ? 1 : 0, 0});
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

int platformInit(int argc, char** argv) {
  if (QCoreApplication::instance()) {
    app = qobject_cast<QApplication*>(QCoreApplication::instance());
    wireApplication();
    return app ? 1 : 0;
  }
  app = new QApplication(platAppArgc(), platAppArgv(argc, argv));
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
  platformDispatchMessage(PlatMessage{MSG_DESTROY, 0, 0});
  w->hide();
  delete w;
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
  mainWidget->setCursor(visible ? Qt::ArrowCursor : Qt::BlankCursor);
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
int platformPresent(const uint16_t* pixels, int width, int height, int pitch) {
  if (!mainWidget) return PRESENT_OK;  // a program without its window presents into nothing
  mainWidget->present(pixels, width, height, pitch);
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
  if (!mainWidget || x < 0 || y < 0 || x >= PICTURE_W || y >= PICTURE_H) return 0;
  return reinterpret_cast<const uint32_t*>(mainWidget->image().constScanLine(y))[x];
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
