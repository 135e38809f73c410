// The window back end without a window system: a main window that exists as
// a record, frames due on the steady clock at 60 Hz, presentation into a
// picture of its own, and boxes, choosers and forms that nobody answers
// (a box says No or OK, a chooser is cancelled, a form cannot be shown).
// Tests play the user through platform/testing.h; nothing waits for events,
// because none can arrive but those the program posts.
#include <chrono>
#include <cstddef>
#include <cstring>
#include <thread>

#include "platform/core/backend.h"
#include "platform/core/messages.h"
#include "platform/core/picture.h"
#include "platform/dialog.h"
#include "platform/platform.h"
#include "platform/testing.h"

namespace {

int pictureW = 800, pictureH = 600;
int32_t displayW = 800, displayH = 600;

bool windowExists = false;
bool presentedOnce = false;  // the window has taken a picture since it was made
int presentLostLeft = 0, presentFailLeft = 0;
PlatPresentCounts presentCounts = {0, 0, 0};
// The picture last presented, to tell a changed frame from an unchanged one.
uint16_t shown[PICTURE_MAX_H][PICTURE_MAX_W];

std::chrono::steady_clock::time_point nextFrameAt{};
constexpr std::chrono::nanoseconds FRAME_PERIOD{1000000000 / 60};

}  // namespace

int platformInit(int argc, char** argv) { return pictureStart(argc, argv); }
void platformSetNoDisplayText(const char*) {}
void backendLanguageChanged() {}
void platformSetEmergencyHandler(void (*)()) {}

int platformCreateMainWindow(const char*, WindowProc proc) {
  if (windowExists) return 0;
  windowExists = true;
  presentedOnce = false;
  platformSetWindowProc(proc);
  return 1;
}

void platformShowMainWindow() {}

void platformDestroyMainWindow() {
  if (!windowExists) return;
  windowExists = false;
  platformDispatchMessage(PlatMessage{MESSAGE_DESTROY, 0, 0});
}

void platformMinimiseMainWindow() {}
void platformSetMainWindowTitle(const char*) {}

int platformMainWindowExists() { return windowExists ? 1 : 0; }

int platformWaitFrame() {
  using namespace std::chrono;
  steady_clock::time_point now = steady_clock::now();
  // More than a frame behind: start afresh instead of catching up in a burst.
  if (nextFrameAt == steady_clock::time_point{} || now - nextFrameAt > FRAME_PERIOD) nextFrameAt = now;
  if (platMessagesWaiting() > 0) return 0;
  if (now < nextFrameAt) std::this_thread::sleep_until(nextFrameAt);
  nextFrameAt += FRAME_PERIOD;
  platInputTaken();
  return 1;
}

void platformSetPictureSize(int width, int height) {
  pictureW = width < 1 ? 1 : (width > PICTURE_MAX_W ? PICTURE_MAX_W : width);
  pictureH = height < 1 ? 1 : (height > PICTURE_MAX_H ? PICTURE_MAX_H : height);
}

void platformSetSharpFit(int) {}

void platformDisplaySize(int32_t* width, int32_t* height) {
  *width = displayW;
  *height = displayH;
}

void platformTestSetDisplaySize(int32_t width, int32_t height) {
  displayW = width;
  displayH = height;
}

void platformSetCursorVisible(int) {}
void platformSetRelativeMouse(int) {}

// No window system, no watcher: tests post MESSAGE_FILE_CHANGED themselves.
void platformWatchFile(const char*) {}

int platformPresent(const uint16_t* pixels, int width, int height, int pitch, const PlatRect* parts, int partCount) {
  if (presentLostLeft > 0) {
    --presentLostLeft;
    return PRESENT_LOST;
  }
  if (presentFailLeft > 0) {
    --presentFailLeft;
    return PRESENT_FAILED;
  }
  int rows = height < pictureH ? height : pictureH, cols = width < pictureW ? width : pictureW;
  if (!windowExists || !pixels || rows <= 0 || cols <= 0) return PRESENT_OK;
  ++presentCounts.frames;
  bool changed = false;
  // The first picture a new window takes is compared whole: the caller
  // vouches only for the picture it presented last.
  if (!presentedOnce) parts = nullptr;
  presentedOnce = true;
  for (int y = 0; y < rows; ++y) {
    int left = 0, right = 0;
    if (!presentSpan(parts, partCount, y, y + 1, cols, &left, &right)) continue;
    const uint16_t* src = pixels + static_cast<ptrdiff_t>(y) * pitch + left;
    const size_t bytes = static_cast<size_t>(right - left) * 2;
    if (std::memcmp(shown[y] + left, src, bytes) == 0) continue;
    std::memcpy(shown[y] + left, src, bytes);
    changed = true;
  }
  if (changed) {
    ++presentCounts.changed;
    ++presentCounts.paints;
  }
  return PRESENT_OK;
}

void platformPresentCounts(PlatPresentCounts* counts) { *counts = presentCounts; }

void platformSimulatePresentFailures(int lostCount, int failCount) {
  presentLostLeft = lostCount;
  presentFailLeft = failCount;
}

// No form is drawn: the scale changes nothing.
void dlgSetScale(int) {}

// Dialog units of a 9-point face at 96 dots per inch.
int dlgUnitsToPixelsX(int dlu) { return (dlu * 6 + 2) / 4; }
int dlgUnitsToPixelsY(int dlu) { return (dlu * 12 + 4) / 8; }

// ---------------------------------------------------------------------------
void backendPumpEvents() {}
int backendWaitEvents() { return 0; }
// No event can arrive while this thread sleeps; only the time ends the wait.
int backendWaitEventsFor(uint32_t timeoutMs) {
  if (timeoutMs == WAIT_FOREVER) return 0;
  std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
  return 1;
}
void backendWakeWaiter() {}
int backendMayAcquireDevices() { return 1; }
void backendTakePointerMotion(double*, double*) {}
void backendPointerRestart() {}
void backendPointerReset() {}
int backendCursorPos(int32_t*, int32_t*) { return 0; }

int backendMessageBox(const char*, const char*, int flags, const MessageBoxAnswers&) {
  if ((flags & BOX_BUTTONS) == BOX_YES_NO) return ANSWERED_NO;
  return (flags & BOX_BUTTONS) == BOX_YES_NO_CANCEL ? ANSWERED_CANCEL : ANSWERED_OK;
}

int backendChooseFile(const FileChooserSetup&, const char*, char*, size_t) { return 0; }

int backendRunDialog(const DlgTemplate&, DlgProc, void*) { return -1; }
