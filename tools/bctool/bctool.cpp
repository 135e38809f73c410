// bctool: the map code of the editor, for scripts and game build pipelines.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "exchange.h"
#include "map/map.h"
#include "map/mapfile.h"
#include "map/oldmap.h"
#include "platform/files.h"
#include "platform/sjis.h"

namespace {

void usage(FILE* out) {
  std::fprintf(out,
               "usage: bctool COMMAND ...\n"
               "  resave IN OUT       read the map file IN and write it to OUT\n"
               "  convert OLD OUT     read a map file of the older layout and write it to OUT\n"
               "%s"
               "  --help              this text\n",
               EXCHANGE_USAGE);
}

char inPath[4096];
char outPath[4096];

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "--help") == 0) {
    usage(stdout);
    return 0;
  }
  if (argc >= 2 && isExchangeCommand(argv[1])) return runExchangeCommand(argc, argv);
  bool resave = argc == 4 && std::strcmp(argv[1], "resave") == 0;
  bool convert = argc == 4 && std::strcmp(argv[1], "convert") == 0;
  if (!resave && !convert) {
    std::fprintf(stderr, "bctool: expected resave, convert, tmx, fromtmx or png (see bctool --help)\n");
    return 1;
  }
  if (!takePath(argv[2], inPath, sizeof inPath) || !takePath(argv[3], outPath, sizeof outPath)) return 1;

  resetMapModel();
  // Only a regular file is read: a FIFO, socket, device or folder is refused
  // at once, never waited on.
  if (!pathExists(inPath)) {
    std::fprintf(stderr, "bctool: cannot read %s: no such regular file\n", argv[2]);
    return 1;
  }
  // A file that cannot be read says why, for convert as for resave; one that
  // reads but is no older map says that.
  if (!fileReadable(inPath)) {
    std::fprintf(stderr, "bctool: %s\n", withSystemCause(std::string("cannot read ") + argv[2]).c_str());
    return 1;
  }
  int read = resave ? loadMapFile(inPath) : convertOldMapFile(inPath);
  if (!read) {
    std::fprintf(stderr, "bctool: cannot read %s%s\n", argv[2],
                 resave ? "" : ": not a map file of the older layout, or it ends before its grid");
    return 1;
  }
  errno = 0;
  if (!saveMapFile(outPath)) {
    std::fprintf(stderr, "bctool: %s\n", withSystemCause(std::string("cannot write ") + argv[3]).c_str());
    return 1;
  }
  return 0;
}
