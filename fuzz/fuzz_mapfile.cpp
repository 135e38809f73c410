// The map file reader on any bytes, from a random prior model; then a save and
// a reload must give back the same sizes, name and cells.
#include <cstdlib>
#include <cstring>

#include "fuzz_common.h"
#include "map/map.h"
#include "map/mapfile.h"

static int32_t savedX[MAP_CELLS], savedY[MAP_CELLS], savedA[MAP_CELLS];

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  resetMapModel();
  Lcg rng{size ? data[0] * 2654435761u : 1u};
  KOMA_X = static_cast<int32_t>(rng.next() % 257);
  KOMA_Y = static_cast<int32_t>(rng.next() % 257);
  TIP_X = 1 + static_cast<int32_t>(rng.next() % 64);
  TIP_Y = 1 + static_cast<int32_t>(rng.next() % 64);
  for (int i = 0; i < MAP_CELLS; i += 97) planeX[i] = static_cast<int32_t>(rng.next());

  static const std::string in = scratchPath("map-in");
  if (!writeScratch(in, data, size)) return 0;
  if (loadMapFile(in.c_str()) != 1) std::abort();
  if (KOMA_X < 0 || KOMA_X > 256 || KOMA_Y < 0 || KOMA_Y > 256 || TIP_X < 1 || TIP_Y < 1) std::abort();
  if (std::memchr(chipSheetName, 0, sizeof chipSheetName) == nullptr) std::abort();

  static const std::string out = scratchPath("map-out");
  if (saveMapFile(out.c_str()) != 1) return 0;
  FILE* f = std::fopen(out.c_str(), "rb");
  std::fseek(f, 0, SEEK_END);
  long written = std::ftell(f);
  std::fclose(f);
  if (written > MAP_FILE_READ_LIMIT) return 0;  // wide values past the read limit

  int32_t kx = KOMA_X, ky = KOMA_Y, tx = TIP_X, ty = TIP_Y;
  char name[PATH_STORE];
  std::memcpy(name, chipSheetName, sizeof name);
  std::memcpy(savedX, planeX, sizeof savedX);
  std::memcpy(savedY, planeY, sizeof savedY);
  std::memcpy(savedA, planeA, sizeof savedA);
  resetMapModel();
  if (loadMapFile(out.c_str()) != 1) std::abort();
  if (KOMA_X != kx || KOMA_Y != ky || TIP_X != tx || TIP_Y != ty) std::abort();
  if (std::strcmp(name, chipSheetName) != 0) std::abort();
  for (int c = 0; c < kx; ++c)
    for (int r = 0; r < ky; ++r) {
      int i = cellIndex(c, r);
      if (planeX[i] != savedX[i] || planeY[i] != savedY[i] || planeA[i] != savedA[i]) std::abort();
    }
  return 0;
}
