// The pointer's owner: one walk a frame over the handlers' hit regions, in
// the order they take the pointer, decides which one the pointer hovers. The
// gesture record is the active handler: while it is held nothing hovers and
// the gesture's own handler follows the pointer wherever it goes.
#include "editor/editor.h"
#include "settings/settings.h"

// Strict on all four sides: a rectangle's own left column and top row (and the
// pixel just past its right and bottom edge) are outside.
int pointerInside(int32_t left, int32_t top, int32_t width, int32_t height) {
  return (left < frameState.mouseX && frameState.mouseX < left + width && top < frameState.mouseY && frameState.mouseY < top + height) ? 1 : 0;
}

namespace {

int32_t bandBit(const ViewWindow* window) { return window == &session.mapView ? 2 : 1; }

void decidePointerHover() {
  PointerHover& h = frameState.hover;
  h = PointerHover{};
  h.decided = true;
  h.underGesture = gesture.kind != GESTURE_NONE;
  if (h.underGesture) return;
  declareCommandButtonRegions();
  declareToolStripRegions();
  // The window in front answers first, as it is drawn over the other.
  const bool sheetFront = settings.chipSheetOnTop == 1 || session.frontWindow == FRONT_SHEET;
  declareWindowRegions(sheetFront ? session.sheetView : session.mapView);
  declareWindowRegions(sheetFront ? session.mapView : session.sheetView);
}

const PointerHover& decided() {
  const PointerHover& h = frameState.hover;
  if (!h.decided || h.underGesture) decidePointerHover();
  return h;
}

}  // namespace

void offerPointerRegion(PointerTarget target, const ViewWindow* window, int32_t index, int32_t left, int32_t top,
                        int32_t width, int32_t height) {
  PointerHover& h = frameState.hover;
  if (h.target != TARGET_NONE || pointerInside(left, top, width, height) == 0) return;
  h.target = target;
  h.window = window;
  h.index = index;
}

void offerAutoScrollBand(const ViewWindow* window) {
  PointerHover& h = frameState.hover;
  if (h.target == TARGET_NONE) h.freeBands |= bandBit(window);
}

bool pointerHovers(PointerTarget target, const ViewWindow* window, int32_t index) {
  if (gesture.kind != GESTURE_NONE) return false;
  const PointerHover& h = decided();
  return h.target == target && h.window == window && (index < 0 || h.index == index);
}

bool autoScrollBandFree(const ViewWindow* window) {
  if (gesture.kind != GESTURE_NONE) return false;
  return (decided().freeBands & bandBit(window)) != 0;
}

void newPointerFrame() { frameState.hover = PointerHover{}; }
