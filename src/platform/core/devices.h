// The key-down table and the mouse buttons the window back end fills from
// its events, with the latches that keep a press between two reads.
#pragma once

#include <cstdint>

void platDeviceSetKey(int scanCode, bool down);
void platDeviceSetButton(int button, bool down);
// Clears every key and button; acquired devices report DEV_INPUTLOST next.
void platDeviceLoseInput();
// Keys only (the keyboard comes back): every key and latch up.
void platDeviceClearKeys();
// Keys set from what the window system says is down are down, not pressed.
void platDeviceClearKeyLatches();
