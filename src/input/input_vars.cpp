#include "input/input.h"

InputState inputState;
