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

extern int32_t inputState.keyboardEnabled;
extern int32_t inputState.mouseEnabled;
extern int32_t inputState.inputSuspended;
extern uint8_t inputState.keyState[256];
extern int32_t inputState.buttonsHeld;
extern int32_t inputState.buttonsPressed;
extern int32_t inputState.mouseDX;
extern int32_t inputState.mouseDY;

int startInput();
int acquireInput(int mode);
int pollInput(int active);
void stopInput();
// Every input flag and bit back to its start value (test fixtures).
void resetInputState();
