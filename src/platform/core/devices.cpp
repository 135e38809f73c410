// The keyboard and mouse devices: a key-down table by scan code and four
// buttons, filled by the window back end (or a test), read once per frame.
//
// A key or button pressed since the last read is latched and read as down
// once, even when it is up again by then: a quick click or tap that falls
// between two frames still reaches the editor, and its release in the next.
#include "platform/core/devices.h"

#include <cmath>
#include <cstring>

#include "platform/core/backend.h"
#include "platform/core/messages.h"
#include "platform/platform.h"
#include "platform/testing.h"

namespace {

struct Devices {
  bool created[2] = {false, false};
  bool acquired[2] = {false, false};
  bool lost[2] = {false, false};
  uint8_t keys[256] = {};
  uint8_t keyLatch[256] = {};
  uint8_t buttons[4] = {};
  uint8_t buttonLatch[4] = {};
  double pendingDX = 0, pendingDY = 0;  // motion in picture pixels, not yet read
  int32_t pendingWheel = 0;              // eighths of a degree, not yet read
} dev;

bool knownDevice(int device) { return device == DEVICE_KEYBOARD || device == DEVICE_MOUSE; }

}  // namespace

void platDeviceSetKey(int scan, bool down) {
  if (scan <= 0 || scan >= 256) return;
  dev.keys[scan] = down ? 0x80 : 0;
  if (down) dev.keyLatch[scan] = 0x80;
  platNoteInput();
}

void platDeviceSetButton(int i, bool down) {
  if (i < 0 || i >= 4) return;
  dev.buttons[i] = down ? 0x80 : 0;
  if (down) dev.buttonLatch[i] = 0x80;
  platNoteInput();
}

void platDeviceAddWheel(int delta) {
  // Held far inside the int32 range whatever a device reports.
  int64_t w = int64_t(dev.pendingWheel) + delta;
  dev.pendingWheel = static_cast<int32_t>(w > (1 << 24) ? (1 << 24) : (w < -(1 << 24) ? -(1 << 24) : w));
}

void platDeviceClearKeys() {
  std::memset(dev.keys, 0, sizeof dev.keys);
  std::memset(dev.keyLatch, 0, sizeof dev.keyLatch);
  platNoteInput();
}

void platDeviceClearKeyLatches() { std::memset(dev.keyLatch, 0, sizeof dev.keyLatch); }

void platDeviceLoseInput() {
  for (int d = 0; d < 2; ++d) {
    if (dev.acquired[d]) dev.lost[d] = true;
    dev.acquired[d] = false;
  }
  platDeviceClearKeys();
  std::memset(dev.buttons, 0, sizeof dev.buttons);
  std::memset(dev.buttonLatch, 0, sizeof dev.buttonLatch);
  dev.pendingDX = dev.pendingDY = 0;
  dev.pendingWheel = 0;
  backendPointerRestart();
}

int platformDeviceCreate(int device) {
  if (!knownDevice(device)) return 0;
  dev.created[device] = true;
  return 1;
}

int platformDeviceAcquire(int device) {
  if (!knownDevice(device) || !dev.created[device]) return DEV_FAILED;
  if (!backendMayAcquireDevices()) return DEV_FAILED;  // foreground cooperation: only the active program reads
  dev.lost[device] = false;
  if (dev.acquired[device]) return DEV_ALREADY;
  dev.acquired[device] = true;
  return DEV_OK;
}

void platformDeviceUnacquire(int device) {
  if (knownDevice(device)) dev.acquired[device] = false;
}

int platformKeyboardRead(uint8_t keys[256]) {
  if (!dev.acquired[DEVICE_KEYBOARD]) return DEV_INPUTLOST;
  for (int i = 0; i < 256; ++i) keys[i] = dev.keys[i] | dev.keyLatch[i];
  std::memset(dev.keyLatch, 0, sizeof dev.keyLatch);
  return DEV_OK;
}

int platformMouseRead(PlatMouseState* state) {
  if (!dev.acquired[DEVICE_MOUSE]) return DEV_INPUTLOST;
  backendTakePointerMotion(&dev.pendingDX, &dev.pendingDY);
  // Whole units are handed out; the fraction waits for the next read, so slow
  // motion on a scaled screen is not lost.
  double ix = std::trunc(dev.pendingDX), iy = std::trunc(dev.pendingDY);
  dev.pendingDX -= ix;
  dev.pendingDY -= iy;
  state->x = static_cast<int32_t>(ix);
  state->y = static_cast<int32_t>(iy);
  // Whole notches; a fine-grained wheel's part of a notch waits for the rest.
  state->wheel = dev.pendingWheel / 120;
  dev.pendingWheel -= state->wheel * 120;
  for (int i = 0; i < 4; ++i) state->buttons[i] = dev.buttons[i] | dev.buttonLatch[i];
  std::memset(dev.buttonLatch, 0, sizeof dev.buttonLatch);
  return DEV_OK;
}

// ---------------------------------------------------------------------------
// Tests play the user on the same table, whichever back end is linked.
void platformTestSetKey(int scanCode, int down) { platDeviceSetKey(scanCode, down != 0); }

void platformTestMouse(int dx, int dy, int buttonMask) {
  dev.pendingDX += dx;
  dev.pendingDY += dy;
  for (int i = 0; i < 4; ++i) platDeviceSetButton(i, (buttonMask & (1 << i)) != 0);
}

void platformTestWheel(int notches) { platDeviceAddWheel(notches * 120); }

void platformTestLoseInput() { platDeviceLoseInput(); }

void platformTestResetDevices() {
  dev = Devices{};
  backendPointerReset();
}
