// [SECTION] Keyboard and mouse, read once per frame into the editor's buttons.
#include "input/input.h"

#include <cstring>

#include "platform/platform.h"

namespace {

// What input remembers between frames: the devices it opened, the frame
// before's held buttons and keys, the modifiers a chord took.
struct Devices {
  bool keyboardOpen = false;
  bool mouseOpen = false;
  int32_t lastHeld = 0;
  uint8_t lastKeys[256] = {};
  // Left Ctrl / Left Shift taken as a chord's modifier, until released.
  bool ctrlSwallowed = false, shiftSwallowed = false;
  // Where the keys' and the mouse's bits of this frame stand before the
  // swallowed modifiers are taken out.
  int32_t keyBits = 0, mouseBits = 0;
};
Devices devices;

// Scan codes of the editor's buttons.
constexpr int DIK_LCONTROL = 0x1D, DIK_LSHIFT = 0x2A, DIK_SPACE = 0x39;
constexpr int DIK_UP = 0xC8, DIK_NUMPAD8 = 0x48, DIK_DOWN = 0xD0, DIK_NUMPAD2 = 0x50;
constexpr int DIK_LEFT = 0xCB, DIK_NUMPAD4 = 0x4B, DIK_RIGHT = 0xCD, DIK_NUMPAD6 = 0x4D;
constexpr int DIK_RCONTROL = 0x9D, DIK_RSHIFT = 0x36, DIK_Z = 0x2C, DIK_Y = 0x15, DIK_S = 0x1F;
constexpr int DIK_0 = 0x0B, DIK_MINUS = 0x0C, DIK_EQUALS = 0x0D, DIK_SUBTRACT = 0x4A, DIK_ADD = 0x4E,
              DIK_NUMPAD0 = 0x52;

inline bool down(int code) { return (inputState.keyState[code] & 0x80) != 0; }
inline bool pressedNow(int code) { return down(code) && (devices.lastKeys[code] & 0x80) == 0; }

// The direction and button bits of the keyboard, the swallowed modifiers left out.
int32_t keyboardBits() {
  int32_t bits = 0;
  if (down(DIK_UP) || down(DIK_NUMPAD8)) bits |= BTN_UP;
  if (down(DIK_DOWN) || down(DIK_NUMPAD2)) bits |= BTN_DOWN;
  if (down(DIK_LEFT) || down(DIK_NUMPAD4)) bits |= BTN_LEFT;
  if (down(DIK_RIGHT) || down(DIK_NUMPAD6)) bits |= BTN_RIGHT;
  if ((down(DIK_LCONTROL) && !devices.ctrlSwallowed) || down(DIK_SPACE)) bits |= BTN_PRIMARY;
  if (down(DIK_LSHIFT) && !devices.shiftSwallowed) bits |= BTN_SECONDARY;
  return bits;
}

// A modifier counts while down or down at the last read: a quick chord whose
// Ctrl comes up before the next read (Ctrl down, Z down, Z up, Ctrl up) is
// still a chord.
inline bool heldOrJust(int code) { return down(code) || (devices.lastKeys[code] & 0x80) != 0; }
bool ctrlHeld() { return heldOrJust(DIK_LCONTROL) || heldOrJust(DIK_RCONTROL); }

Shortcut readShortcut() {
  const bool ctrl = ctrlHeld();
  const bool shift = heldOrJust(DIK_LSHIFT) || heldOrJust(DIK_RSHIFT);
  if (pressedNow(DIK_Z)) return shift && ctrl ? SHORTCUT_REDO : SHORTCUT_UNDO;
  if (pressedNow(DIK_Y)) return SHORTCUT_REDO;
  if (pressedNow(DIK_S) && ctrl) return SHORTCUT_SAVE;
  return SHORTCUT_NONE;
}

ZoomKey readZoomKey() {
  if (pressedNow(DIK_EQUALS) || pressedNow(DIK_ADD)) return ZOOM_KEY_IN;
  if (pressedNow(DIK_MINUS) || pressedNow(DIK_SUBTRACT)) return ZOOM_KEY_OUT;
  if (pressedNow(DIK_0) || pressedNow(DIK_NUMPAD0)) return ZOOM_KEY_RESET;
  return ZOOM_KEY_NONE;
}

void setButtons() {
  inputState.buttonsHeld = devices.keyBits | devices.mouseBits;
  inputState.buttonsPressed = inputState.buttonsHeld & ~devices.lastHeld;
}

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
  devices.keyboardOpen = devices.mouseOpen = false;
  if (inputState.keyboardEnabled == 1) {
    if (!platformDeviceCreate(DEVICE_KEYBOARD)) return 0;
    devices.keyboardOpen = true;
  }
  if (inputState.mouseEnabled == 1) {
    // A mouse that cannot be set up does not stop the program; input stays
    // suspended until the next acquire.
    if (!platformDeviceCreate(DEVICE_MOUSE)) return 1;
    devices.mouseOpen = true;
  }
  inputState.inputSuspended = 0;
  return 1;
}

int acquireInput(int mode) {
  inputState.inputSuspended = 1;
  if (devices.keyboardOpen) {
    if (mode == 1) platformDeviceAcquire(DEVICE_KEYBOARD);
    else platformDeviceUnacquire(DEVICE_KEYBOARD);
  }
  if (devices.mouseOpen) {
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
  devices.keyBits = devices.mouseBits = 0;
  inputState.keyboardReadOk = inputState.mouseReadOk = 0;
  inputState.shortcut = SHORTCUT_NONE;
  inputState.zoomKey = ZOOM_KEY_NONE;
  inputState.wheel = 0;
  inputState.ctrlDown = inputState.shiftDown = 0;
  inputState.chordBegan = inputState.modifierPressed = inputState.modifierHeld = 0;
  bool keysRead = false;
  if (devices.keyboardOpen && inputState.inputSuspended == 0 && active == 1) {
    int status = readStatus(DEVICE_KEYBOARD, platformKeyboardRead(inputState.keyState));
    if (status != DEV_OK) {
      result = 0;
    } else {
      inputState.keyboardReadOk = 1;
      keysRead = true;
      if (!down(DIK_LCONTROL)) devices.ctrlSwallowed = false;
      if (!down(DIK_LSHIFT)) devices.shiftSwallowed = false;
      devices.keyBits = keyboardBits();
      inputState.modifierPressed = pressedNow(DIK_LCONTROL) || pressedNow(DIK_LSHIFT);
      inputState.modifierHeld = down(DIK_LCONTROL) || down(DIK_LSHIFT);
      inputState.shortcut = readShortcut();
      inputState.zoomKey = readZoomKey();
      inputState.ctrlDown = ctrlHeld() ? 1 : 0;
      inputState.shiftDown = heldOrJust(DIK_LSHIFT) || heldOrJust(DIK_RSHIFT) ? 1 : 0;
    }
  }
  if (devices.mouseOpen && inputState.inputSuspended == 0 && active == 1) {
    PlatMouseState m{};
    int status = readStatus(DEVICE_MOUSE, platformMouseRead(&m));
    if (status != DEV_OK) {
      result = 0;
    } else {
      if (m.buttons[0] & 0x80) devices.mouseBits |= BTN_PRIMARY;
      if (m.buttons[1] & 0x80) devices.mouseBits |= BTN_SECONDARY;
      if (m.buttons[2] & 0x80) devices.mouseBits |= BTN_MOUSE3;
      if (m.buttons[3] & 0x80) devices.mouseBits |= BTN_MOUSE4;
      inputState.mouseDX = m.x;
      inputState.mouseDY = m.y;
      inputState.wheel = m.wheel;
      std::memcpy(inputState.mouseButtonsRead, m.buttons, sizeof inputState.mouseButtonsRead);
      inputState.mouseReadOk = 1;
    }
  }
  devices.lastHeld = inputState.buttonsHeld;
  setButtons();
  if (keysRead) {
    // A command key pressed with Ctrl (or Shift with it) is a chord: its
    // modifiers were never buttons.
    if (inputState.shortcut != SHORTCUT_NONE && ctrlHeld()) beginChord();
    // The wheel and the zoom keys take Shift as well as Ctrl: + itself is
    // Shift and =, and Shift+wheel scrolls sideways.
    const bool modifier = inputState.ctrlDown != 0 || inputState.shiftDown != 0;
    if (modifier && (inputState.wheel != 0 || inputState.zoomKey != ZOOM_KEY_NONE)) beginChord();
    std::memcpy(devices.lastKeys, inputState.keyState, sizeof devices.lastKeys);
  } else {
    std::memset(devices.lastKeys, 0, sizeof devices.lastKeys);
  }
  return result;
}

void beginChord() {
  devices.ctrlSwallowed = down(DIK_LCONTROL);
  devices.shiftSwallowed = down(DIK_LSHIFT);
  devices.keyBits = keyboardBits();
  setButtons();
  inputState.chordBegan = 1;
}

void stopInput() {
  if (devices.keyboardOpen) platformDeviceUnacquire(DEVICE_KEYBOARD);
  if (devices.mouseOpen) platformDeviceUnacquire(DEVICE_MOUSE);
}

void resetInputState() {
  inputState = InputState{};
  devices.lastHeld = 0;
  std::memset(devices.lastKeys, 0, sizeof devices.lastKeys);
  devices.ctrlSwallowed = devices.shiftSwallowed = false;
  devices.keyBits = devices.mouseBits = 0;
  devices.keyboardOpen = devices.mouseOpen = false;
}
