// The TMX reader on any bytes: it refuses or reads, never crashes; what it
// reads fits the map model, and writing it and reading it again gives back
// the same cells.
#include <cstdlib>
#include <cstring>

#include "map/map.h"
#include "map/tmxfile.h"
#include "platform/tmx_xml.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  resetMapModel();
  TmxMap tmx;
  std::string why;
  if (!tmxParse(reinterpret_cast<const char*>(data), size, &tmx, nullptr, nullptr, &why)) {
    if (why.empty() || why.find('\n') != std::string::npos) std::abort();
    return 0;
  }
  const size_t cells = static_cast<size_t>(tmx.width) * static_cast<size_t>(tmx.height);
  if (tmx.width > 256 || tmx.height > 256 || tmx.gids.size() != cells) std::abort();
  if (tmx.hasAttributes && tmx.attributes.size() != cells) std::abort();

  TmxNotes quiet;
  if (tmxToMap(tmx, &why, quiet)) {
    if (doc.mapCellsX != tmx.width || doc.mapCellsY != tmx.height || doc.chipWidth < 1 || doc.chipHeight < 1) std::abort();
    if (std::memchr(doc.chipSheetName, 0, sizeof doc.chipSheetName) == nullptr) std::abort();
  } else if (why.empty()) {
    std::abort();
  }

  const std::string again = tmxWrite(tmx);
  TmxMap back;
  if (!tmxParse(again.data(), again.size(), &back, nullptr, nullptr, &why)) std::abort();
  if (back.width != tmx.width || back.height != tmx.height || back.gids != tmx.gids ||
      back.hasAttributes != tmx.hasAttributes || back.attributes != tmx.attributes)
    std::abort();
  return 0;
}
