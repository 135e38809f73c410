#include "editor/editor.h"

// Strict on all four sides: a rectangle's own left column and top row (and the
// pixel just past its right and bottom edge) are outside.
int pointerInside(int32_t left, int32_t top, int32_t width, int32_t height) {
  return (left < frameState.mouseX && frameState.mouseX < left + width && top < frameState.mouseY && frameState.mouseY < top + height) ? 1 : 0;
}
