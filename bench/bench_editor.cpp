// The logic of one editing frame's view windows and tools: both windows at
// their largest on the 800 x 600 screen, a 256 x 256 map, guide lines on and
// a 4 x 4 brush ghost under the pointer. The queues are emptied between
// iterations as presenting a frame does. editingFrameComposed adds the
// composition of those queues onto the back buffer (presentFrame without a
// window), from the sample chip sheet; its second argument 2 runs it in
// attribute mode, where every cell adds three digit copies; its third is the
// map window's zoom (-2 for 1/4x, where the map is one copy of its picture
// and the picture is compared with all 65,536 cells each frame; 1 for 2x). presentedFrame is
// one whole frame as the user gets it, on the offscreen platform: the logic,
// the composition, the comparison with the picture on screen, the conversion
// of what changed and Qt's paint of it, in a window 800 or 1280 pixels wide
// (the picture at 1:1 or scaled 1.6x); presentedFrameDisplayCanvas the same
// on a 1920 x 1080 canvas at 1:1, presentedFrameSharp at 1920 with the
// sharp fit. Its first argument says what changes
// from frame to frame: 0 nothing, 1 the pointer (the brush ghost follows it a
// cell further), 2 the whole map window (scrolled by a pixel). The back-buffer memcpy (of the classic
// canvas, argument 0, or of the 1920 x 1080 one, 1) is the baseline of the same run.
#include <benchmark/benchmark.h>

#include <QWidget>

#include <cstring>
#include <string>
#include <vector>

#include "editor/editor.h"
#include "gfx/gfx.h"
#include "input/input.h"
#include "map/map.h"
#include "platform/platform.h"
#include "platform/qt/qt_owner.h"
#include "settings/settings.h"

namespace {

void setUpFrame(int32_t chip) {
  resetMapModel();
  initSprites();
  resetGraphicsQueues();
  resetEditorState();
  setMapCells(256, 256);
  setChipWidth(chip);
  setChipHeight(chip);
  for (int c = 0; c < 256; ++c)
    for (int r = 0; r < 256; ++r) {
      doc.planeX[cellIndex(c, r)] = (c % (256 / chip)) * chip;
      doc.planeY[cellIndex(c, r)] = (r % (256 / chip)) * chip;
    }
  settings.showGuideLines = 1;
  settings.autoScroll = 0;
  editorSetSheetSizeForTests(1024, 1024);
  for (ViewWindow* v : {&session.sheetView, &session.mapView}) {
    v->x = 6;
    v->y = 27;
    v->w = 788;
    v->h = 567;
  }
  session.brushW = session.brushH = 4;
  session.frontWindow = FRONT_MAP;  // the map in front, so the ghost is drawn
  session.toolMode = TOOL_POINT;
  frameState.mouseX = 400;
  frameState.mouseY = 300;
  inputState.buttonsHeld = inputState.buttonsPressed = inputState.mouseDX = inputState.mouseDY = 0;
  frameTiming.seconds = 0.016f;
}

void editingFrame(benchmark::State& state) {
  setUpFrame(static_cast<int32_t>(state.range(0)));
  for (auto _ : state) {
    resetGraphicsQueues();
    updateViewWindows();
    newPointerFrame();
    frameState.pointerShape = POINTER_ARROW;
    benchmark::DoNotOptimize(frameQueues.blitCount[2]);
    benchmark::ClobberMemory();
  }
  state.counters["sprites"] = frameQueues.blitCount[1] + frameQueues.blitCount[2];
  state.counters["shapes"] = frameQueues.shapeCount[1] + frameQueues.shapeCount[2] + frameQueues.shapeCount[3];
}

void editingFrameComposed(benchmark::State& state) {
  setUpFrame(static_cast<int32_t>(state.range(0)));
  session.toolMode = static_cast<ToolMode>(state.range(1));
  session.mapZoom = static_cast<int32_t>(state.range(2));
  if (!startDisplay(screenMetrics.canvasW, screenMetrics.canvasH, 16) ||
      !loadSurface((std::string(BRINDLE_SOURCE_DIR) + "/samples/chips.bmp").c_str(), SLOT_CHIPSHEET, KEY_BLACK) ||
      !loadSurface((std::string(BRINDLE_SOURCE_DIR) + "/resources/DATA.bmp").c_str(), SLOT_DATA, KEY_BLACK)) {
    state.SkipWithError("no back buffer, chip sheet or frame pieces");
    return;
  }
  editorSetSheetSizeForTests(-1, -1);  // the real sheet's size from here on
  for (auto _ : state) {
    updateViewWindows();
    presentFrame();
    newPointerFrame();
    frameState.pointerShape = POINTER_ARROW;
    benchmark::ClobberMemory();
  }
  state.counters["drawn"] = frameTiming.drawCount;  // the items of the last frame
  releaseAllSurfaces();
}

// One presented frame per iteration into a window `width` pixels wide (4:5
// high) or, with width 0, one the canvas's size at 1:1.
void runPresentedFrames(benchmark::State& state, int64_t changes, int width) {
  static char arg0[] = "bench_editor";
  static char* argv[] = {arg0, nullptr};
  platformInit(1, argv);
  platformSetPictureSize(screenMetrics.canvasW, screenMetrics.canvasH);
  setUpFrame(32);
  if (!startDisplay(screenMetrics.canvasW, screenMetrics.canvasH, 16) ||
      !loadSurface((std::string(BRINDLE_SOURCE_DIR) + "/samples/chips.bmp").c_str(), SLOT_CHIPSHEET, KEY_BLACK) ||
      !loadSurface((std::string(BRINDLE_SOURCE_DIR) + "/resources/DATA.bmp").c_str(), SLOT_DATA, KEY_BLACK) ||
      !platformCreateMainWindow("Brindlecot", [](const PlatMessage&) {})) {
    state.SkipWithError("no back buffer, chip sheet, frame pieces or window");
    return;
  }
  editorSetSheetSizeForTests(-1, -1);
  platformShowMainWindow();
  QWidget* window = platformDialogOwner();
  window->showNormal();
  if (width > 0)
    window->resize(width, width * 4 / 5);
  else
    window->resize(screenMetrics.canvasW, screenMetrics.canvasH);
  int step = 0;
  platformPeekMessage();
  PlatPresentCounts before, after;
  platformPresentCounts(&before);
  for (auto _ : state) {
    ++step;
    if (changes == 1) frameState.mouseX = 200 + (step % 8) * 32;  // a cell further each frame
    if (changes == 2) session.mapView.scrollX = step % 64;
    updateViewWindows();
    presentFrame();
    platformPeekMessage();  // Qt's paint of what changed
    newPointerFrame();
    frameState.pointerShape = POINTER_ARROW;
  }
  platformPresentCounts(&after);
  // The share of frames that changed the window.
  state.counters["changed"] = benchmark::Counter(after.changed - before.changed, benchmark::Counter::kAvgIterations);
  platformSetWindowProc(nullptr);
  platformDestroyMainWindow();
  releaseAllSurfaces();
}

void presentedFrame(benchmark::State& state) {
  runPresentedFrames(state, state.range(0), static_cast<int>(state.range(1)));
}

// The classic picture in a window 1920 pixels wide (2.4x) with the sharp fit.
void presentedFrameSharp(benchmark::State& state) {
  platformSetSharpFit(1);
  runPresentedFrames(state, state.range(0), 1920);
  platformSetSharpFit(0);
}

// The same on the canvas the size of a 1920 x 1080 display, shown at 1:1;
// the windows stand where they stand on the classic canvas.
void presentedFrameDisplayCanvas(benchmark::State& state) {
  screenMetrics = measureScreen(1920, 1080, 1);
  runPresentedFrames(state, state.range(0), 0);
  stopGraphics();
  screenMetrics = measureScreen(CLASSIC_CANVAS_W, CLASSIC_CANVAS_H, 0);
  platformSetPictureSize(CLASSIC_CANVAS_W, CLASSIC_CANVAS_H);
}

// Argument 0: the classic back buffer; 1: the 1920 x 1080 canvas's.
void backBufferMemcpy(benchmark::State& state) {
  const ScreenMetrics m = measureScreen(1920, 1080, static_cast<int32_t>(state.range(0)));
  std::vector<uint16_t> a(size_t(m.canvasW) * m.canvasH, 0x1234), b(a.size());
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), a.size() * sizeof(uint16_t));
    benchmark::DoNotOptimize(b.data());
    benchmark::ClobberMemory();
  }
}

// One whole-map action of the painting tools on a 256 x 256 map of one chip,
// with a 3 x 3 brush: 0 bucket fill, 1 rectangle fill, 2 9-slice, 3 replace,
// 4 bucket fill in random mode. planeMemcpy, one plane copied, is its baseline.
void wholeMapTool(benchmark::State& state) {
  resetMapModel();
  resetEditorState();
  setMapCells(256, 256);
  session.brushW = session.brushH = 3;
  for (int i = 0; i < 9; ++i) session.brushX[cellIndex(i / 3, i % 3)] = 32 * (i + 1);
  session.randomMode = state.range(0) == 4;
  for (auto _ : state) {
    state.PauseTiming();
    clearChipPlanes();
    state.ResumeTiming();
    switch (state.range(0)) {
      case 1: fillRectangle(0, 0, 256, 256); break;
      case 2: fillNineSlice(0, 0, 256, 256); break;
      case 3: replaceChip(0, 0, 0, 0, 256, 256); break;
      default: bucketFill(128, 128); break;
    }
    benchmark::ClobberMemory();
  }
}

void planeMemcpy(benchmark::State& state) {
  for (auto _ : state) {
    std::memcpy(doc.undoX, doc.planeX, sizeof doc.planeX);
    benchmark::ClobberMemory();
  }
}

}  // namespace

BENCHMARK(planeMemcpy)->Unit(benchmark::kMicrosecond);
BENCHMARK(wholeMapTool)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);
BENCHMARK(backBufferMemcpy)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(editingFrameComposed)
    ->Args({16, 0, 0})
    ->Args({32, 0, 0})
    ->Args({16, 2, 0})
    ->Args({32, 0, 1})
    ->Args({32, 0, -2})
    ->Args({32, 2, -2})
    ->Args({8, 0, -2})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(editingFrame)->Arg(16)->Arg(32)->Unit(benchmark::kMicrosecond);
BENCHMARK(presentedFrame)->ArgsProduct({{0, 1, 2}, {800, 1280, 1920}})->Unit(benchmark::kMicrosecond);
BENCHMARK(presentedFrameSharp)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(presentedFrameDisplayCanvas)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
