#include "app/app.h"

int32_t appState.appActive;
int32_t appState.cursorShown = 1;
