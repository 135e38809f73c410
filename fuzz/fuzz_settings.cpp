// The settings reader on any bytes; the paths it stores are always terminated.
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>

#include "fuzz_common.h"
#include "map/map.h"
#include "settings/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  resetMapModel();
  resetSettings();
  static const std::string dir = scratchPath("ini") + "/";
  static bool made = [] { return ::mkdir(dir.c_str(), 0700) == 0 || true; }();
  (void)made;
  if (!buildProgramPathsFrom(dir.c_str())) std::abort();
  if (!writeScratch(iniPath, data, size)) return 0;
  loadSettings();
  if (doc.chipWidth < 1 || doc.chipHeight < 1 || settings.windowX < 0 || settings.windowY < 0) std::abort();
  for (const char* p : {doc.chipSheetPath, doc.mapPath, doc.wallpaperPath})
    if (std::memchr(p, 0, PATH_STORE) == nullptr) std::abort();
  return 0;
}
