#include "input/input.h"

int32_t keyboardEnabled, mouseEnabled, inputSuspended;
uint8_t keyState[256];
int32_t buttonsHeld, buttonsPressed, mouseDX, mouseDY;
int32_t keyboardReadOk, mouseReadOk;
uint8_t mouseButtonsRead[4];
