// [SECTION] Display: start-up, back buffer, clear, present with lost-surface
// recovery, shutdown.
#include "gfx/compose.h"
#include "gfx/gfx.h"
#include "platform/platform.h"
#include "platform/surface.h"

namespace {

struct DisplayState {
  int started;  // a display was created; stopGraphics has something to give back
  int width, height, bitsPerPixel;
  PlatSurface* back;
};
DisplayState display;

const char* const CAPTION_FATAL = "ごめんね";
// The start-up failure texts, one per step that can fail. On this platform
// the display object, its interface and the cooperative level cannot fail;
// the mode (only the canvas measured at start, at 16 bits, exists) and the back buffer's memory can.
const char* const TEXT_CREATE_FAILED = "DirectDraw生成に失敗";
const char* const TEXT_INTERFACE_FAILED = "DirectDrawコピーに失敗";
const char* const TEXT_LEVEL_FAILED = "モード設定に失敗";
const char* const TEXT_MODE_FAILED = "ディスプレイモード設定に失敗";
const char* const TEXT_PRIMARY_FAILED = "プライマリサーフェース初期化に失敗";
const char* const TEXT_BACK_FAILED = "バックバッファ作成に失敗";

int failStart(const char* text) {
  platformMessageBox(text, CAPTION_FATAL, BOX_OK | BOX_INFORMATION);
  return 0;
}

}  // namespace

ScreenMetrics screenMetrics = measureScreen(CLASSIC_CANVAS_W, CLASSIC_CANVAS_H, 0);

PlatSurface* backBuffer() { return display.back; }

int startDisplay(int width, int height, int bitsPerPixel) {
  (void)TEXT_CREATE_FAILED;
  (void)TEXT_INTERFACE_FAILED;
  (void)TEXT_LEVEL_FAILED;
  (void)TEXT_PRIMARY_FAILED;
  display.width = width;
  display.height = height;
  display.bitsPerPixel = bitsPerPixel;
  display.started = 1;
  if (width != screenMetrics.canvasW || height != screenMetrics.canvasH || bitsPerPixel != 16)
    return failStart(TEXT_MODE_FAILED);
  if (display.back && (display.back->width != width || display.back->height != height)) {
    platSurfaceDestroy(display.back);
    display.back = nullptr;
  }
  if (!display.back) {
    display.back = platSurfaceCreate(width, height);
    if (!display.back) return failStart(TEXT_BACK_FAILED);
  }
  setClipRect(0, 0, screenMetrics.canvasW, screenMetrics.canvasH);
  presentMissed();  // a new back buffer: nothing of it is on screen yet
  return 1;
}

void clearBackBuffer(uint32_t rawPixel) {
  platSurfaceFill(display.back, static_cast<uint16_t>(rawPixel & 0xFFFFu));
  presentMissed();
}

int presentBackBuffer(const PlatRect* parts, int partCount) {
  PlatSurface* b = display.back;
  if (!b) return 0;
  for (int attempt = 0; attempt < PRESENT_ATTEMPTS; ++attempt) {
    int r = platformPresent(b->pixels, b->width, b->height, b->pitch, parts, partCount);
    if (r == PRESENT_OK) return 1;
    if (r == PRESENT_LOST) {
      restoreSurfaces();
      resetFrameClock();
    }
  }
  return 0;
}

void restoreSurfaces() {
  // The back buffer is plain memory and survives; what the display lost is
  // rebuilt from the slots' stored names and keys.
  releaseAllSurfaces();
  reloadSurfaces();
}

void stopGraphics() {
  if (!display.started) return;
  platSurfaceDestroy(display.back);
  display.back = nullptr;
  releaseAllSurfaces();
  display.started = 0;
}
