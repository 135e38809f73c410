// Map file load and save of a full 256 x 256 map, and the undo history.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "map/history.h"
#include "map/map.h"
#include "map/mapfile.h"
#include "map/recovery.h"

namespace {

const char* const PATH = "/dev/shm/bench_mapfile.bct";

void fillFullMap() {
  resetMapModel();
  setMapCells(256, 256);
  std::strcpy(doc.chipSheetName, "chips.bmp");
  std::mt19937 rng(7);
  std::uniform_int_distribution<int32_t> v(0, 9999);
  for (int i = 0; i < MAP_CELLS; ++i) {
    doc.planeX[i] = v(rng);
    doc.planeY[i] = v(rng);
    doc.planeA[i] = v(rng);
  }
}

void BM_SaveMapFile(benchmark::State& state) {
  fillFullMap();
  for (auto _ : state) {
    if (!saveMapFile(PATH)) state.SkipWithError("save failed");
  }
}
BENCHMARK(BM_SaveMapFile)->Unit(benchmark::kMillisecond);

void BM_LoadMapFile(benchmark::State& state) {
  fillFullMap();
  if (!saveMapFile(PATH)) state.SkipWithError("save failed");
  for (auto _ : state) {
    if (!loadMapFile(PATH)) state.SkipWithError("load failed");
  }
  std::FILE* f = std::fopen(PATH, "rb");
  std::fseek(f, 0, SEEK_END);
  state.counters["bytes"] = static_cast<double>(std::ftell(f));
  std::fclose(f);
}
BENCHMARK(BM_LoadMapFile)->Unit(benchmark::kMillisecond);

// The reader alone, on bytes already in memory.
void BM_ParseMapBytes(benchmark::State& state) {
  fillFullMap();
  if (!saveMapFile(PATH)) state.SkipWithError("save failed");
  std::vector<char> bytes(MAP_FILE_READ_LIMIT);
  std::FILE* f = std::fopen(PATH, "rb");
  size_t n = std::fread(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  for (auto _ : state) {
    parseMapBytes(PATH, bytes.data(), static_cast<int>(n));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ParseMapBytes)->Unit(benchmark::kMillisecond);

// The floor under the load: copying the same number of bytes once.
void BM_MemcpyBaseline(benchmark::State& state) {
  const size_t n = 990720 + 256;
  std::vector<char> a(n, 'x'), b(n);
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), n);
    benchmark::DoNotOptimize(b.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MemcpyBaseline)->Unit(benchmark::kMillisecond);

void BM_SnapshotUndo(benchmark::State& state) {
  fillFullMap();
  for (auto _ : state) {
    snapshotUndo();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_SnapshotUndo)->Unit(benchmark::kMillisecond);

// One step back or forth through a CLEAR of a full 256 x 256 map (every cell
// changed): each iteration is one step, undo and redo in turn.
void BM_StepWholeMapChange(benchmark::State& state) {
  fillFullMap();
  resetHistory();
  clearMap();
  closeHistoryStep();
  bool back = true;
  for (auto _ : state) {
    if (back ? !undoStep() : !redoStep()) state.SkipWithError("no step");
    back = !back;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_StepWholeMapChange)->Unit(benchmark::kMillisecond);

// The floor under a step: copying one plane (256 KiB) once.
void BM_PlaneMemcpyBaseline(benchmark::State& state) {
  fillFullMap();
  for (auto _ : state) {
    std::memcpy(doc.undoX, doc.planeX, sizeof doc.planeX);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PlaneMemcpyBaseline)->Unit(benchmark::kMillisecond);

// Ending a whole-map step: finding and storing the 65,536 changed cells.
void BM_CloseWholeMapStep(benchmark::State& state) {
  fillFullMap();
  resetHistory();
  for (auto _ : state) {
    snapshotUndo();
    for (int i = 0; i < MAP_CELLS; ++i) doc.planeX[i] ^= 1;
    closeHistoryStep();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CloseWholeMapStep)->Unit(benchmark::kMillisecond);

void BM_ClearMap(benchmark::State& state) {
  fillFullMap();
  for (auto _ : state) {
    clearMap();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ClearMap)->Unit(benchmark::kMillisecond);

// The frame's whole part of a recovery copy: the planes and sizes into the
// writer's private copy (the budget is 1 ms; snapshotUndo copies as much).
void BM_RecoverySnapshot(benchmark::State& state) {
  fillFullMap();
  for (auto _ : state) {
    recoveryTakeSnapshot();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RecoverySnapshot)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
