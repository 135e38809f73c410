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

// The editing screen's clock lies under the windows, at the right end of the
// tool strip's row, where no window stands at the default layout (at the
// bottom right the map window's frame covered it); the preview's is above
// its cells at the bottom right.
constexpr int EDITING_CLOCK_LAYER = 0;
constexpr int PREVIEW_CLOCK_LAYER = 4;
constexpr int32_t EDITING_CLOCK_Y = 67;

void drawBackground() {
  if (!drawWallpaper()) clearBackBuffer(0);
}

constexpr int32_t CLOCK_X = screenW - 208;  // the clock's text reaches the right edge

void drawClock(int32_t y, int layer) {
  char text[TEXT_STORE];
  formatClock(text, sizeof text);
  queueText(CLOCK_X, y, COLOR_WHITE, text, layer);
}

void drawPointer() {
  switch (frameState.pointerShape) {
    case POINTER_ARROW:
      cursorSprite.x = static_cast<float>(frameState.mouseX - 4);
      cursorSprite.y = static_cast<float>(frameState.mouseY - 4);
      cursorSprite.srcX = (inputState.buttonsHeld & BTN_PRIMARY) ? 32 : 0;
      drawSprite(cursorSprite);
      break;
    case POINTER_RESIZE:
    case POINTER_GRAB:
      cursorSprite.x = static_cast<float>(frameState.mouseX - 16);
      cursorSprite.y = static_cast<float>(frameState.mouseY - 16);
      cursorSprite.srcX = frameState.pointerShape == POINTER_RESIZE ? 64 : 96;
      drawSprite(cursorSprite);
      break;
    default:
      break;
  }
  frameState.pointerShape = POINTER_ARROW;
}

}  // namespace

int drawWallpaper() {
  // A wallpaper that could not be loaded leaves its slot empty; the copy of
  // an empty slot would draw nothing and leave the last frame behind.
  int32_t w = 0, h = 0;
  if (settings.showWallpaper != 1) return 0;
  surfaceSize(SLOT_WALLPAPER, &w, &h);
  if (w <= 0 || h <= 0) return 0;
  blitStretched(0, 0, screenW, screenH, 0, 0, w, h, 1, 0, SLOT_WALLPAPER);
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
  // The window in front runs first, so it can claim the pointer, and is drawn
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
  setClipRect(0, 0, screenW, screenH);
  drawBackground();
  // The mode is read once: a frame that enters or leaves the preview is
  // finished as the screen it began as.
  applyZoomAndWheel();
  if (session.editorMode == 0) {
    updateCommandButtons();
    updateViewWindows();
    drawClock(EDITING_CLOCK_Y, EDITING_CLOCK_LAYER);
    drawPointer();
    frameState.pointerClaimed = 0;
  } else {
    updatePreview();
    drawClock(screenH - 16, PREVIEW_CLOCK_LAYER);
    // The preview hides the map window's title: its mark stands by the clock.
    drawUnsavedMark(CLOCK_X - 18, screenH - 16, PREVIEW_CLOCK_LAYER);
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

int editorPictureSteady() { return frameState.pictureSteady; }

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
  platformSetRelativeMouse(session.editorMode == 1 ? 1 : 0);
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
  frameState.pictureSteady = pictureSteady(before, after, inputRead) ? 1 : 0;
  frameState.lastButtonsHeld = inputState.buttonsHeld;
  showUnsavedInWindowTitle();
  // Queued after the present, so the rate line shows in the next frame.
  queueDebugRateLine();
}
