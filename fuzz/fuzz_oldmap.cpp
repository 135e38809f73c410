// The older-format converter on any bytes.
#include <cstdlib>

#include "fuzz_common.h"
#include "map/map.h"
#include "map/oldmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  resetMapModel();
  static const std::string in = scratchPath("old");
  if (!writeScratch(in, data, size)) return 0;
  convertOldMapFile(in.c_str());
  if (doc.mapCellsX < 0 || doc.mapCellsX > 256 || doc.mapCellsY < 0 || doc.mapCellsY > 256 || doc.chipWidth < 1 || doc.chipHeight < 1) std::abort();
  for (int i = 0; i < MAP_CELLS; ++i)
    if (doc.planeX[i] < 0 || doc.planeX[i] > 65535 || doc.planeY[i] < 0 || doc.planeY[i] > 65535) std::abort();
  return 0;
}
