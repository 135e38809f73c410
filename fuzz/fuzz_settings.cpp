// The settings reader on any bytes; the paths it stores are always terminated.
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>

#include "app/settings.h"
#include "fuzz_common.h"
#include "map/map.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  resetMapModel();
  resetSettings();
  static const std::string dir = scratchPath("ini") + "/";
  static bool made = [] { return ::mkdir(dir.c_str(), 0700) == 0 || true; }();
  (void)made;
  if (!buildProgramPathsFrom(dir.c_str())) std::abort();
  if (!writeScratch(iniPath, data, size)) return 0;
  loadSettings();
  if (TIP_X < 1 || TIP_Y < 1 || windowX < 0 || windowY < 0) std::abort();
  for (const char* p : {chipSheetPath, mapPath, wallpaperPath})
    if (std::memchr(p, 0, PATH_STORE) == nullptr) std::abort();
  return 0;
}
