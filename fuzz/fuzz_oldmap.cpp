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
  if (KOMA_X < 0 || KOMA_X > 256 || KOMA_Y < 0 || KOMA_Y > 256 || TIP_X < 1 || TIP_Y < 1) std::abort();
  for (int i = 0; i < MAP_CELLS; ++i)
    if (planeX[i] < 0 || planeX[i] > 65535 || planeY[i] < 0 || planeY[i] > 65535) std::abort();
  return 0;
}
