#include "app/app.h"

int32_t appActive;
int32_t cursorShown = 1;
