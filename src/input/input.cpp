// [SECTION] Keyboard and mouse, read once per frame into the editor's buttons.
#include "input/input.h"

#include <cstring>

#include "platform/platform.h"

namespace {

bool keyboardOpen = false;
bool mouseOpen = false;
int32_t lastHeld = 0;

// Scan codes of the editor's buttons.
constexpr int DIK_LCONTROL = 0x1D, DIK_LSHIFT = 0x2A, DIK_SPACE = 0x39;
constexpr int DIK_UP = 0xC8, DIK_NUMPAD8 = 0x48, DIK_DOWN = 0xD0, DIK_NUMPAD2 = 0x50;
constexpr int DIK_LEFT = 0xCB, DIK_NUMPAD4 = 0x4B, DIK_RIGHT = 0xCD, DIK_NUMPAD6 = 0x4D;

inline bool down(int code) { return (inputState.keyState[code] & 0x80) != 0; }

// A read that reports lost input is answered by acquiring the device again;
// the frame then has no data from it, only the acquire's status.
int readStatus(int device, int status) {
  if (status == DEV_INPUTLOST) {
    // Keys released while input was lost were never reported; forget them so
    // that nothing reads as held from before the loss.
    if (device == DEVICE_KEYBOARD) std::memset(inputState.keyState, 0, sizeof inputState.keyState);
    status = platformDeviceAcquire(device);
  }
  return status;
}

}  // namespace

void enableInputDevices(int32_t keyboard, int32_t mouse) {
  inputState.keyboardEnabled = keyboard;
  inputState.mouseEnabled = mouse;
}

int startInput() {
  inputState.inputSuspended = 1;
  keyboardOpen = mouseOpen = false;
  if (inputState.keyboardEnabled == 1) {
    if (!platformDeviceCreate(DEVICE_KEYBOARD)) return 0;
    keyboardOpen = true;
  }
  if (inputState.mouseEnabled == 1) {
    // A mouse that cannot be set up does not stop the program; input stays
    // suspended until the next acquire.
    if (!platformDeviceCreate(DEVICE_MOUSE)) return 1;
    mouseOpen = true;
  }
  inputState.inputSuspended = 0;
  return 1;
}

int acquireInput(int mode) {
  inputState.inputSuspended = 1;
  if (keyboardOpen) {
    if (mode == 1) platformDeviceAcquire(DEVICE_KEYBOARD);
    else platformDeviceUnacquire(DEVICE_KEYBOARD);
  }
  if (mouseOpen) {
    if (mode == 1) platformDeviceAcquire(DEVICE_MOUSE);
    else platformDeviceUnacquire(DEVICE_MOUSE);
  }
  // Released devices read as all up: a button still held when they are
  // acquired again is a fresh press, as after any lost input.
  if (mode != 1) inputState.buttonsHeld = inputState.buttonsPressed = 0;
  inputState.inputSuspended = 0;
  return 1;
}

int pollInput(int active) {
  int result = 1;
  int32_t bits = 0;
  inputState.keyboardReadOk = inputState.mouseReadOk = 0;
  if (keyboardOpen && inputState.inputSuspended == 0 && active == 1) {
    int status = readStatus(DEVICE_KEYBOARD, platformKeyboardRead(inputState.keyState));
    if (status != DEV_OK) {
      result = 0;
    } else {
      inputState.keyboardReadOk = 1;
      if (down(DIK_UP) || down(DIK_NUMPAD8)) bits |= BTN_UP;
      if (down(DIK_DOWN) || down(DIK_NUMPAD2)) bits |= BTN_DOWN;
      if (down(DIK_LEFT) || down(DIK_NUMPAD4)) bits |= BTN_LEFT;
      if (down(DIK_RIGHT) || down(DIK_NUMPAD6)) bits |= BTN_RIGHT;
      if (down(DIK_LCONTROL) || down(DIK_SPACE)) bits |= BTN_PRIMARY;
      if (down(DIK_LSHIFT)) bits |= BTN_SECONDARY;
    }
  }
  if (mouseOpen && inputState.inputSuspended == 0 && active == 1) {
    PlatMouseState m{};
    int status = readStatus(DEVICE_MOUSE, platformMouseRead(&m));
    if (status != DEV_OK) {
      result = 0;
    } else {
      if (m.buttons[0] & 0x80) bits |= BTN_PRIMARY;
      if (m.buttons[1] & 0x80) bits |= BTN_SECONDARY;
      if (m.buttons[2] & 0x80) bits |= BTN_MOUSE3;
      if (m.buttons[3] & 0x80) bits |= BTN_MOUSE4;
      inputState.mouseDX = m.x;
      inputState.mouseDY = m.y;
      std::memcpy(inputState.mouseButtonsRead, m.buttons, sizeof inputState.mouseButtonsRead);
      inputState.mouseReadOk = 1;
    }
  }
  lastHeld = inputState.buttonsHeld;
  inputState.buttonsHeld = bits;
  inputState.buttonsPressed = bits & ~lastHeld;
  return result;
}

void stopInput() {
  if (keyboardOpen) platformDeviceUnacquire(DEVICE_KEYBOARD);
  if (mouseOpen) platformDeviceUnacquire(DEVICE_MOUSE);
}

void resetInputState() {
  inputState = InputState{};
  lastHeld = 0;
  keyboardOpen = mouseOpen = false;
}
