// [SECTION] The frame driver: the pointer and input of a frame, then the editing
// screen or the preview composed into the queues, then the present. The
// background, the clock and the pointer image are drawn here for both.
#include <cstdio>

#include "dialogs/texts.h"
#include "editor/editor.h"
#include "gfx/gfx.h"
#include "input/input.h"
#include "platform/platform.h"
#include "platform/sjis.h"
#include "settings/settings.h"

namespace {

// The editing screen's clock lies under the windows, where no window stands
// at the default layout (screenMetrics says where); the preview's is above its
// cells at the bottom right.
constexpr int EDITING_CLOCK_LAYER = 0;
constexpr int PREVIEW_CLOCK_LAYER = 4;

void drawBackground() {
  if (!drawWallpaper()) queueClear(0);
}

void drawClock(int32_t x, int32_t y, int layer) {
  char text[TEXT_STORE];
  formatClock(text, sizeof text);
  queueText(x, y, COLOR_WHITE, text, layer);
}

void drawPointer() {
  switch (frameState.pointerShape) {
    case POINTER_ARROW:
      sprites.cursor.x = static_cast<float>(frameState.mouseX - 4);
      sprites.cursor.y = static_cast<float>(frameState.mouseY - 4);
      sprites.cursor.srcX = (inputState.buttonsHeld & BTN_PRIMARY) ? 32 : 0;
      drawSprite(sprites.cursor);
      break;
    case POINTER_RESIZE:
    case POINTER_GRAB:
      sprites.cursor.x = static_cast<float>(frameState.mouseX - 16);
      sprites.cursor.y = static_cast<float>(frameState.mouseY - 16);
      sprites.cursor.srcX = frameState.pointerShape == POINTER_RESIZE ? 64 : 96;
      drawSprite(sprites.cursor);
      break;
    default:
      break;
  }
  frameState.pointerShape = POINTER_ARROW;
}

}  // namespace

namespace {
// The wallpaper stretched to the canvas once and kept in a slot of its own:
// a frame copies it plainly instead of stretching the picture again, which
// on a large canvas was most of a resting frame's work. It is stretched
// again when the wallpaper's slot or its own changes.
struct StretchedWallpaper {
  uint32_t wallpaperGeneration = 0, canvasGeneration = 0;
  bool drawn = false;
} stretched;

bool stretchWallpaperToCanvas(int32_t w, int32_t h) {
  const int32_t cw = screenMetrics.canvasW, ch = screenMetrics.canvasH;
  const SurfaceSlot& canvas = surfaceSlots[SLOT_WALLPAPER_CANVAS];
  if (!canvas.surface || canvas.width != cw || canvas.height != ch) {
    if (!createBlankSurface(SLOT_WALLPAPER_CANVAS, cw, ch)) return false;
    stretched.drawn = false;
  }
  const uint32_t wallpaperGeneration = surfaceSlots[SLOT_WALLPAPER].generation;
  if (!stretched.drawn || stretched.wallpaperGeneration != wallpaperGeneration ||
      stretched.canvasGeneration != canvas.generation) {
    paintSurface(SLOT_WALLPAPER_CANVAS, 0, 0, cw, ch, SLOT_WALLPAPER, 0, 0, w, h);
    stretched = StretchedWallpaper{wallpaperGeneration, canvas.generation, true};
  }
  return true;
}
}  // namespace

int drawWallpaper() {
  // A wallpaper that could not be loaded leaves its slot empty; the copy of
  // an empty slot would draw nothing and leave the last frame behind.
  int32_t w = 0, h = 0;
  if (settings.showWallpaper != 1) return 0;
  surfaceSize(SLOT_WALLPAPER, &w, &h);
  if (w <= 0 || h <= 0) return 0;
  if (!stretchWallpaperToCanvas(w, h)) {
    blitStretched(0, 0, screenMetrics.canvasW, screenMetrics.canvasH, 0, 0, w, h, 1, 0, SLOT_WALLPAPER);
    return 1;
  }
  drawSprite(Sprite{0, 0, 0, 0, screenMetrics.canvasW, screenMetrics.canvasH, SLOT_WALLPAPER_CANVAS, 1, 0});
  return 1;
}

void formatClock(char* out, int outSize) {
  PlatLocalTime t{};
  platformLocalTime(&t);
  std::snprintf(out, static_cast<size_t>(outSize), uiTextSjis(texts::CLOCK), t.year, t.month,
                t.day, t.hour, t.minute, t.second);
}

void updateViewWindows() {
  if (settings.chipSheetOnTop == 1) session.frontWindow = FRONT_SHEET;
  // The window in front runs first, as the pointer walk takes its regions first,
  // on the higher layer.
  if (session.frontWindow == FRONT_SHEET) {
    updateSheetView(2);
    updateSheetTool(2);
    updateMapView(1);
    updateMapTool(1);
  } else {
    updateMapView(2);
    updateMapTool(2);
    updateSheetView(1);
    updateSheetTool(1);
  }
}

void composeEditorFrame() {
  setClipRect(0, 0, screenMetrics.canvasW, screenMetrics.canvasH);
  drawBackground();
  // The mode is read once: a frame that enters or leaves the preview is
  // finished as the screen it began as.
  applyZoomAndWheel();
  if (session.editorMode == EDITOR_EDITING) {
    updateCommandButtons();
    updateViewWindows();
    drawClock(screenMetrics.clockX, screenMetrics.clockY, EDITING_CLOCK_LAYER);
    drawPointer();
    newPointerFrame();
  } else {
    updatePreview();
    drawClock(screenMetrics.previewClockX, screenMetrics.previewClockY, PREVIEW_CLOCK_LAYER);
    // The preview hides the map window's title: its mark stands by the clock.
    drawUnsavedMark(screenMetrics.previewClockX - 18, screenMetrics.previewClockY, PREVIEW_CLOCK_LAYER);
  }
}

namespace {

// Nothing held now or in the frame before (a release may have started
// something the next frame shows), no gesture, no scroll by time, the
// pointer where it was, no overlay (its figures change every frame), and
// the picture just presented the same as the one before it.
// A primary button held since the frame before with no gesture is a stroke
// (or a press that met nothing): with the pointer still, the next frame
// stamps the same chips on the same cells, so it rests as well and wakes at
// the next motion or release. A painter's hand pauses often within a stroke.
bool pictureSteady(const PlatPresentCounts& before, const PlatPresentCounts& after, bool inputRead) {
  if (!inputRead || settings.showDebugInfo == 1) return false;
  const bool strokeHeldStill = inputState.buttonsHeld == BTN_PRIMARY && frameState.lastButtonsHeld == BTN_PRIMARY;
  const bool nothingHeld = inputState.buttonsHeld == 0 && frameState.lastButtonsHeld == 0;
  if (!(nothingHeld || strokeHeldStill) || gesture.kind != GESTURE_NONE) return false;
  if (scrollStepTaken() != 0) return false;
  if (inputState.mouseDX != 0 || inputState.mouseDY != 0 || frameState.mouseX != frameState.lastMouseX ||
      frameState.mouseY != frameState.lastMouseY)
    return false;
  return after.frames == before.frames + 1 && after.changed == before.changed;
}

}  // namespace

int editorPictureSteady() { return frameState.pictureSteady ? 1 : 0; }

uint32_t editorMillisToClockTick() {
  PlatLocalTime t{};
  platformLocalTime(&t);
  int ms = t.millisecond < 0 || t.millisecond > 999 ? 0 : t.millisecond;
  return static_cast<uint32_t>(1000 - ms) + 2;
}

void updateEditorFrame(int32_t active) {
  // The preview pans by relative motion only; holding the hidden pointer at the
  // window centre keeps that motion coming at the screen edges. Switched before
  // the pointer is read, so the first frame after the preview sees the pointer
  // back where it was when the preview began.
  platformSetRelativeMouse(session.editorMode == EDITOR_PREVIEW ? 1 : 0);
  frameState.lastMouseX = frameState.mouseX;
  frameState.lastMouseY = frameState.mouseY;
  platformCursorPos(&frameState.mouseX, &frameState.mouseY);
  const bool inputRead = pollInput(active) != 0;
  if (!inputRead) acquireInput(active);
  queueDebugInputLines();
  applyFrameShortcuts();
  if (active == 1 && session.editorMode == EDITOR_EDITING) tellDueNotices();
  advanceScrollStep();
  composeEditorFrame();
  endFrameHistoryStep();
  PlatPresentCounts before{}, after{};
  platformPresentCounts(&before);
  presentFrame();
  platformPresentCounts(&after);
  frameState.pictureSteady = pictureSteady(before, after, inputRead);
  frameState.lastButtonsHeld = inputState.buttonsHeld;
  showUnsavedInWindowTitle();
  // Queued after the present, so the rate line shows in the next frame.
  queueDebugRateLine();
}
