#include "platform/workdir.h"

#include <unistd.h>

#include <cstring>

#include "platform/sjis.h"

int platformWorkingDir(char* outPath, size_t outSize) {
  if (outSize > 0) outPath[0] = 0;
  char utf8[4096];
  if (!::getcwd(utf8, sizeof utf8)) return WORKDIR_UNREADABLE;
  // A name that is not valid UTF-8 is told apart from one merely too long.
  if (!utf8IsValid(utf8)) return WORKDIR_NOT_UTF8;
  size_t n = std::strlen(utf8);
  if (n + 1 > outSize) return WORKDIR_TOO_LONG;
  std::memcpy(outPath, utf8, n + 1);
  return static_cast<int>(n);
}
