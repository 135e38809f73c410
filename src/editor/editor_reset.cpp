// Start values of the editor's state and the view placements' round trip
// through the Settings.
#include <cstring>

#include "app/settings.h"
#include "editor/editor.h"
#include "editor/view_internal.h"

using editor_detail::maxI;
using editor_detail::minI;

namespace {

// A placement read from the settings file may be anything. It is brought
// where the title-bar move would have left it, and the size within the
// screen, so that the window can always be grabbed and x + w cannot overflow.
void place(ViewWindow& v, int32_t x, int32_t y, int32_t w, int32_t h) {
  v.x = minI(maxI(x, 6), 726);
  v.y = minI(maxI(y, 27), 606);
  v.w = minI(maxI(w, 80), 794 - v.x);
  v.h = minI(maxI(h, 32), maxI(594 - v.y, 32));
}

}  // namespace

void loadViewsFromSettings() {
  place(sheetView, sheetViewX, sheetViewY, sheetViewWidth, sheetViewHeight);
  place(mapView, mapViewX, mapViewY, mapViewWidth, mapViewHeight);
}

void storeViewsToSettings() {
  sheetViewX = sheetView.x;
  sheetViewY = sheetView.y;
  sheetViewWidth = sheetView.w;
  sheetViewHeight = sheetView.h;
  mapViewX = mapView.x;
  mapViewY = mapView.y;
  mapViewWidth = mapView.w;
  mapViewHeight = mapView.h;
}

void resetEditorState() {
  editorMode = toolbarPressed = pressedButton = 0;
  mouseX = mouseY = 0;
  pointerClaimed = dragLock = frontWindow = toolMode = 0;
  pointerShape = 1;
  resetScrollStep();

  mapView = ViewWindow{};
  sheetView = ViewWindow{};
  mapClipRect = ClipRect{};
  loadViewsFromSettings();

  brushW = brushH = 1;
  std::memset(brushX, 0, sizeof brushX);
  std::memset(brushY, 0, sizeof brushY);
  brushFromMap = 0;
  hoverCellX = hoverCellY = 0;

  pickDrag = pickAnchorX = pickAnchorY = pickCornerX = pickCornerY = pickLeft = pickTop = 0;
  copyDrag = copyAnchorX = copyAnchorY = copyCornerX = copyCornerY = 0;
  attrDrag = attrCornerX = attrCornerY = currentAttribute = 0;
  previewScrollX = previewScrollY = previewOffsetX = previewOffsetY = 0;

  editorSetSheetSizeForTests(-1, -1);
  attributeDialogHook = nullptr;
}
