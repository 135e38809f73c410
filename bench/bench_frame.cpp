// Frame composition cost: a heavy frame (stretched wallpaper, 2 x 3000 chip
// copies, 2 x 200 lines, 2 x 50 texts) and a typical one, timed from the
// first flush to the end of the last, without the present. A memcpy of the
// whole back buffer is the yardstick.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "gfx/gfx.h"
#include "platform/platform.h"
#include "platform/sjis.h"
#include "platform/surface.h"

namespace {

constexpr int SLOT_PAPER = SLOT_WALLPAPER, SLOT_CHIPS = SLOT_CHIPSHEET;

void putSlot(int slot, int w, int h) {
  PlatSurface* s = platSurfaceCreate(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s->pixels[y * s->pitch + x] = ((x / 4 + y / 4) % 5 == 0) ? 0 : uint16_t(x * 31 + y * 7);
  surfaceSlots[slot].surface = s;
  surfaceSlots[slot].loaded = 1;
  surfaceSlots[slot].width = w;
  surfaceSlots[slot].height = h;
  surfaceSlots[slot].rawKey = matchSurfaceColor(s, KEY_BLACK);
}

void setUp() {
  static bool done = false;
  if (done) return;
  done = true;
  static char arg0[] = "bench_frame";
  static char* argv[] = {arg0, nullptr};
  platformInit(1, argv);
  startDisplay(screenMetrics.canvasW, screenMetrics.canvasH, 16);
  putSlot(SLOT_PAPER, 640, 480);
  putSlot(SLOT_CHIPS, 512, 512);
}

enum Parts { COPIES = 1, TEXTS = 2, SHAPES = 4, ALL = 7 };

void queueCopies(int layer, int count, int size) {
  for (int i = 0; i < count; ++i) {
    Sprite s{float((i * 37) % (screenMetrics.canvasW - size)), float((i * 53) % (screenMetrics.canvasH - size)), (i % 16) * 32, (i / 16 % 16) * 32,
             size, size, SLOT_CHIPS, i & 1, layer};
    drawSprite(s);
  }
}

void queueLines(int layer, int count) {
  for (int i = 0; i < count; ++i) {
    if (i & 1) queueShape(0, (i * 3) % screenMetrics.canvasH, screenMetrics.canvasW, (i * 3) % screenMetrics.canvasH, 1, 0x808080, SHAPE_LINE, layer);
    else queueShape((i * 4) % screenMetrics.canvasW, 0, (i * 4) % screenMetrics.canvasW, screenMetrics.canvasH, 1, 0x808080, SHAPE_LINE, layer);
  }
}

void queueTexts(int layer, int count) {
  static char lines[TEXT_QUEUE_SIZE][TEXT_STORE + 256];
  for (int i = 0; i < count; ++i) {
    std::snprintf(lines[i], sizeof lines[i], "%s X:%4d Y:%4d", SJIS("ちっぷ"), i * 16, i * 12);
    queueText((i * 97) % 700, (i * 12) % 580, 0xFFFFFF, lines[i], layer);
  }
}

template <class Fill>
void timeFrames(benchmark::State& state, Fill fill) {
  setUp();
  for (auto _ : state) {
    resetGraphicsQueues();
    fill();
    auto t0 = std::chrono::steady_clock::now();
    flushAllLayers();
    auto t1 = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(backBuffer()->pixels[0]);
    state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
  }
}

constexpr int HEAVY_COPIES_PER_LAYER = 3000;
static_assert(HEAVY_COPIES_PER_LAYER <= BLIT_QUEUE_SIZE, "the heavy frame fits the queues");

void heavy(int parts) {
  if (parts & COPIES) blitStretched(0, 0, screenMetrics.canvasW, screenMetrics.canvasH, 0, 0, 640, 480, 1, 0, SLOT_PAPER);
  for (int layer = 1; layer <= 2; ++layer) {
    // A fixed count: the queues are sized for the fullest attribute-mode
    // frame (over 40,000 copies), and filling them would measure a far
    // heavier frame than the 3000 chips a layer this one stands for.
    if (parts & COPIES) queueCopies(layer, HEAVY_COPIES_PER_LAYER, 16);
    if (parts & SHAPES) queueLines(layer, SHAPE_QUEUE_SIZE);
    if (parts & TEXTS) queueTexts(layer, TEXT_QUEUE_SIZE);
  }
}

void BM_HeavyFrame(benchmark::State& state) { timeFrames(state, [] { heavy(ALL); }); }
void BM_HeavyFrameCopies(benchmark::State& state) { timeFrames(state, [] { heavy(COPIES); }); }
void BM_HeavyFrameWallpaper(benchmark::State& state) {
  timeFrames(state, [] { blitStretched(0, 0, screenMetrics.canvasW, screenMetrics.canvasH, 0, 0, 640, 480, 1, 0, SLOT_PAPER); });
}
void BM_HeavyFrameTexts(benchmark::State& state) { timeFrames(state, [] { heavy(TEXTS); }); }
void BM_HeavyFrameShapes(benchmark::State& state) { timeFrames(state, [] { heavy(SHAPES); }); }

void BM_TypicalFrame(benchmark::State& state) {
  timeFrames(state, [] {
    queueCopies(2, 400, 32);
    queueLines(2, 60);
    queueTexts(3, 6);
  });
}

void BM_BackBufferMemcpy(benchmark::State& state) {
  static std::vector<uint16_t> a(size_t(screenMetrics.canvasW) * screenMetrics.canvasH, 1), b(size_t(screenMetrics.canvasW) * screenMetrics.canvasH);
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    std::memcpy(b.data(), a.data(), a.size() * sizeof(uint16_t));
    benchmark::ClobberMemory();
    auto t1 = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
  }
}

}  // namespace

BENCHMARK(BM_BackBufferMemcpy)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HeavyFrame)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HeavyFrameCopies)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HeavyFrameWallpaper)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HeavyFrameTexts)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HeavyFrameShapes)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TypicalFrame)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
