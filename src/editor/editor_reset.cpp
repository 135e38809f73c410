// Start values of the editor's state and the view placements' round trip
// through the Settings.
#include <new>

#include "editor/editor.h"
#include "gfx/gfx.h"
#include "editor/view_internal.h"
#include "settings/settings.h"

using editor_detail::maxI;
using editor_detail::minI;

namespace {

// A placement read from the settings file may be anything. It is brought
// where the title-bar move would have left it, and the size within the
// canvas (one written on a larger canvas comes back into reach), so that the window can always be grabbed and x + w cannot overflow.
void place(ViewWindow& v, int32_t x, int32_t y, int32_t w, int32_t h) {
  const ScreenMetrics& m = screenMetrics;
  v.x = minI(maxI(x, m.windowMinX), m.windowMaxX);
  v.y = minI(maxI(y, m.windowMinY), m.windowMaxY);
  v.w = minI(maxI(w, m.windowMinW), m.windowMaxRight - v.x);
  v.h = minI(maxI(h, m.windowMinH), maxI(m.windowMaxBottom - v.y, m.windowMinH));
}

}  // namespace

void loadViewsFromSettings() {
  place(session.sheetView, settings.sheetViewX, settings.sheetViewY, settings.sheetViewWidth, settings.sheetViewHeight);
  place(session.mapView, settings.mapViewX, settings.mapViewY, settings.mapViewWidth, settings.mapViewHeight);
}

void storeViewsToSettings() {
  settings.sheetViewX = session.sheetView.x;
  settings.sheetViewY = session.sheetView.y;
  settings.sheetViewWidth = session.sheetView.w;
  settings.sheetViewHeight = session.sheetView.h;
  settings.mapViewX = session.mapView.x;
  settings.mapViewY = session.mapView.y;
  settings.mapViewWidth = session.mapView.w;
  settings.mapViewHeight = session.mapView.h;
}

void resetEditorState() {
  frameState = FrameState{};
  gesture = Gesture{};
  // Built in place: the brush makes a temporary of half a megabyte.
  session.~EditorSession();
  ::new (&session) EditorSession();
  preview = PreviewState{};
  resetPaintTools();
  resetScrollStep();
  resetShortcuts();
  resetUnsavedTitle();
  resetMapPictures();
  loadViewsFromSettings();

  editorSetSheetSizeForTests(-1, -1);
  attributeDialogHook = nullptr;
}
