// The key-down table and the mouse buttons the window back end fills from
// its events, with the latches that keep a press between two reads.
#pragma once

#include <cstdint>

void platDeviceSetKey(int scanCode, bool down);
void platDeviceSetButton(int button, bool down);
// Wheel turns in eighths of a degree (a notch is 120), away from the user
// positive; handed out as whole notches.
void platDeviceAddWheel(int delta);
// Clears every key and button; acquired devices report DEV_INPUTLOST next.
void platDeviceLoseInput();
// Keys only (the keyboard comes back): every key and latch up.
void platDeviceClearKeys();
// Keys set from what the window system says is down are down, not pressed.
void platDeviceClearKeyLatches();
