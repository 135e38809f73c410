#include "input/input.h"

int32_t inputState.keyboardEnabled, inputState.mouseEnabled, inputState.inputSuspended;
uint8_t inputState.keyState[256];
int32_t inputState.buttonsHeld, inputState.buttonsPressed, inputState.mouseDX, inputState.mouseDY;
