// The gesture record read as the one-flag-per-drag checks of the tests want
// it: 1 while the gesture runs, else 0.
#pragma once

#include "editor/editor.h"

// `kind` is running (in window `w`, for the window drags).
inline int32_t gestureIs(GestureKind kind, const ViewWindow* w = nullptr) {
  return gesture.kind == kind && (w == nullptr || gesture.window == w) ? 1 : 0;
}
// Some gesture is running, which keeps every other from starting.
inline int32_t gestureHeld() { return gesture.kind != GESTURE_NONE ? 1 : 0; }
