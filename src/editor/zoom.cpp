// [SECTION] Zoom, wheel and pan: the map window's zoom and its keys, the
// wheel over either window (scroll, Shift sideways, Ctrl zoom over the map),
// the middle button's drag of a view, and the preview's fit.
#include "editor/editor.h"
#include "editor/view_internal.h"
#include "input/input.h"
#include "map/map.h"

using editor_detail::toImage;
using editor_detail::toScreen;

namespace {

constexpr int32_t WHEEL_CELLS = 3;  // cells a notch scrolls

bool overContent(const ViewWindow& v) { return pointerInside(v.x, v.y, v.w, v.h) != 0; }

// The window whose content is under the pointer, the front one first; null
// over neither.
ViewWindow* windowUnderPointer() {
  ViewWindow* front = session.frontWindow == FRONT_MAP ? &session.mapView : &session.sheetView;
  ViewWindow* back = front == &session.mapView ? &session.sheetView : &session.mapView;
  if (overContent(*front)) return front;
  if (overContent(*back)) return back;
  return nullptr;
}

void turnWheel(int32_t notches) {
  ViewWindow* v = windowUnderPointer();
  if (v == nullptr) return;
  const bool isMap = v == &session.mapView;
  if (inputState.ctrlDown != 0) {
    if (isMap) setMapZoom(session.mapZoom + (notches > 0 ? 1 : -1), frameState.mouseX, frameState.mouseY);
    return;
  }
  const int32_t zoom = isMap ? session.mapZoom : 0;
  // Turning away from the user moves the view up (or left).
  if (inputState.shiftDown != 0)
    v->scrollX -= notches * WHEEL_CELLS * toScreen(doc.chipWidth, zoom);
  else
    v->scrollY -= notches * WHEEL_CELLS * toScreen(doc.chipHeight, zoom);
}

}  // namespace

void setMapZoom(int32_t z, int32_t ax, int32_t ay) {
  if (z < MAP_ZOOM_MIN) z = MAP_ZOOM_MIN;
  if (z > MAP_ZOOM_MAX) z = MAP_ZOOM_MAX;
  ViewWindow& v = session.mapView;
  // The map pixel under the anchor stays under it.
  const int32_t mx = editor_detail::mapPixelX(ax), my = editor_detail::mapPixelY(ay);
  session.mapZoom = z;
  v.scrollX = toScreen(mx, z) - (ax - v.x);
  v.scrollY = toScreen(my, z) - (ay - v.y);
  int32_t imageW = 0, imageH = 0;
  editor_detail::mapImageSize(&imageW, &imageH);
  editor_detail::clampScroll(v, imageW, imageH);
}

void applyZoomAndWheel() {
  if (session.editorMode != EDITOR_EDITING) {
    if (inputState.zoomKey == ZOOM_KEY_RESET) preview.fitted = !preview.fitted;
    return;
  }
  const ViewWindow& v = session.mapView;
  const int32_t cx = v.x + v.w / 2, cy = v.y + v.h / 2;
  switch (inputState.zoomKey) {
    case ZOOM_KEY_IN: setMapZoom(session.mapZoom + 1, cx, cy); break;
    case ZOOM_KEY_OUT: setMapZoom(session.mapZoom - 1, cx, cy); break;
    case ZOOM_KEY_RESET: setMapZoom(0, cx, cy); break;
    default: break;
  }
  if (inputState.wheel != 0) turnWheel(inputState.wheel);
}

void updatePan(ViewWindow& v, FrontWindow front) {
  if (gesture.kind == GESTURE_PAN && gesture.window == &v) {
    if ((inputState.buttonsHeld & BTN_MOUSE3) != 0) {
      v.scrollX -= inputState.mouseDX;
      v.scrollY -= inputState.mouseDY;
      frameState.pointerShape = POINTER_GRAB;
    } else {
      gesture.kind = GESTURE_NONE;
      gesture.window = nullptr;
    }
    return;
  }
  if (!pointerHovers(TARGET_PAN, &v)) return;
  gesture.kind = GESTURE_PAN;
  gesture.window = &v;
  session.frontWindow = front;
  frameState.pointerShape = POINTER_GRAB;
}
