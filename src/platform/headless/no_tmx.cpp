// For programs that read and write no TMX maps: the XML of the format needs
// Qt Core, which these programs do not link (platform/qtcore/ has the real
// reader and writer).
#include "platform/tmx_xml.h"

int tmxParse(const char*, size_t, TmxMap*, TmxTilesetLoader, void*, std::string* why) {
  if (why) *why = "this program reads no TMX maps";
  return 0;
}

std::string tmxWrite(const TmxMap&) { return std::string(); }
