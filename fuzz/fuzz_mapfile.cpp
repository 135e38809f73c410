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
  doc.mapCellsX = static_cast<int32_t>(rng.next() % 257);
  doc.mapCellsY = static_cast<int32_t>(rng.next() % 257);
  doc.chipWidth = 1 + static_cast<int32_t>(rng.next() % 64);
  doc.chipHeight = 1 + static_cast<int32_t>(rng.next() % 64);
  for (int i = 0; i < MAP_CELLS; i += 97) doc.planeX[i] = static_cast<int32_t>(rng.next());

  static const std::string in = scratchPath("map-in");
  if (!writeScratch(in, data, size)) return 0;
  if (loadMapFile(in.c_str()) != 1) std::abort();
  if (doc.mapCellsX < 0 || doc.mapCellsX > 256 || doc.mapCellsY < 0 || doc.mapCellsY > 256 || doc.chipWidth < 1 || doc.chipHeight < 1) std::abort();
  if (std::memchr(doc.chipSheetName, 0, sizeof doc.chipSheetName) == nullptr) std::abort();

  static const std::string out = scratchPath("map-out");
  if (saveMapFile(out.c_str()) != 1) return 0;
  FILE* f = std::fopen(out.c_str(), "rb");
  std::fseek(f, 0, SEEK_END);
  long written = std::ftell(f);
  std::fclose(f);
  if (written > MAP_FILE_READ_LIMIT) return 0;  // wide values past the read limit

  int32_t kx = doc.mapCellsX, ky = doc.mapCellsY, tx = doc.chipWidth, ty = doc.chipHeight;
  char name[PATH_STORE];
  std::memcpy(name, doc.chipSheetName, sizeof name);
  std::memcpy(savedX, doc.planeX, sizeof savedX);
  std::memcpy(savedY, doc.planeY, sizeof savedY);
  std::memcpy(savedA, doc.planeA, sizeof savedA);
  resetMapModel();
  if (loadMapFile(out.c_str()) != 1) std::abort();
  if (doc.mapCellsX != kx || doc.mapCellsY != ky || doc.chipWidth != tx || doc.chipHeight != ty) std::abort();
  if (std::strcmp(name, doc.chipSheetName) != 0) std::abort();
  for (int c = 0; c < kx; ++c)
    for (int r = 0; r < ky; ++r) {
      int i = cellIndex(c, r);
      if (doc.planeX[i] != savedX[i] || doc.planeY[i] != savedY[i] || doc.planeA[i] != savedA[i]) std::abort();
    }
  return 0;
}
