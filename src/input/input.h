// Keyboard and mouse, read once per frame into button bits and mouse motion.
#pragma once

#include <cstdint>

constexpr int32_t BTN_UP = 0x01;
constexpr int32_t BTN_DOWN = 0x02;
constexpr int32_t BTN_LEFT = 0x04;
constexpr int32_t BTN_RIGHT = 0x08;
constexpr int32_t BTN_PRIMARY = 0x10;
constexpr int32_t BTN_SECONDARY = 0x20;
constexpr int32_t BTN_MOUSE3 = 0x40;
constexpr int32_t BTN_MOUSE4 = 0x80;

// The keys that stand for editor commands: plain, or with Ctrl (and Shift)
// held as a chord.
enum Shortcut : int32_t { SHORTCUT_NONE = 0, SHORTCUT_UNDO, SHORTCUT_REDO, SHORTCUT_SAVE };
// The zoom keys: + (also = and keypad +), - (also keypad -), 0 (also keypad 0).
enum ZoomKey : int32_t { ZOOM_KEY_NONE = 0, ZOOM_KEY_IN, ZOOM_KEY_OUT, ZOOM_KEY_RESET };

// Written by the input layer alone: which devices it may use, and what it
// read for the current frame.
struct InputState {
  int32_t keyboardEnabled = 0;
  int32_t mouseEnabled = 0;
  int32_t inputSuspended = 0;
  uint8_t keyState[256]{};
  int32_t buttonsHeld = 0;
  int32_t buttonsPressed = 0;
  int32_t mouseDX = 0;
  int32_t mouseDY = 0;
  // What the last pollInput read, for the editor's debug overlay: whether each
  // device gave data this frame (keyState, and mouseDX / mouseDY with the four
  // button bytes, 0x80 when down, are then this frame's).
  int32_t keyboardReadOk = 0;
  int32_t mouseReadOk = 0;
  uint8_t mouseButtonsRead[4]{};
  // The command key pressed this frame: Z undo, Y redo, and with Ctrl held
  // Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z and Ctrl+S.
  Shortcut shortcut = SHORTCUT_NONE;
  // The zoom key pressed this frame; + is Shift and =, so Shift (or Ctrl)
  // held with a zoom key makes a chord.
  ZoomKey zoomKey = ZOOM_KEY_NONE;
  // Whole wheel notches turned since the last frame, away from the user
  // positive; Ctrl or Shift held with a turn makes a chord.
  int32_t wheel = 0;
  // Ctrl (left or right) and Shift (left or right) are down: what the
  // wheel and the zoom keys do depends on them.
  int32_t ctrlDown = 0, shiftDown = 0;
  // Set in the frame a chord is recognised: Left Ctrl and Left Shift held in
  // it were modifiers, not buttons. From this frame until each is released
  // they no longer count as BTN_PRIMARY / BTN_SECONDARY; what their press
  // began is for the editor to take back.
  int32_t chordBegan = 0;
  // Left Ctrl or Left Shift went down this frame: its button press may yet
  // turn out to be the start of a chord.
  int32_t modifierPressed = 0;
  // Left Ctrl or Left Shift is held (swallowed or not).
  int32_t modifierHeld = 0;
};
extern InputState inputState;

// Which devices startInput may open (the program enables both once its
// start-up dialog is done).
void enableInputDevices(int32_t keyboard, int32_t mouse);
int startInput();
int acquireInput(int mode);
int pollInput(int active);
void stopInput();
// A chord is recognised (a key, or the wheel, with Ctrl held): Left Ctrl and
// Left Shift held now leave this frame's buttons and count as buttons again
// only after their release; sets inputState.chordBegan. Called from pollInput
// for the command keys; whoever reads another chord calls it too.
void beginChord();
// Every input flag and bit back to its start value (test fixtures).
void resetInputState();
