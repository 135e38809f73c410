#include "platform/workdir.h"

#include <unistd.h>

#include <cstring>

#include "platform/sjis.h"

int platformWorkingDir(char* outSjis, size_t outSize) {
  if (outSize > 0) outSjis[0] = 0;
  char utf8[4096];
  if (!::getcwd(utf8, sizeof utf8)) return WORKDIR_UNREADABLE;
  // Converted into room for any name first, so that a character Shift_JIS
  // cannot store is told apart from a name that is merely too long.
  static char sjis[sizeof utf8 * 2];
  int n = utf8ToSjis(utf8, sjis, sizeof sjis);
  if (n < 0) return WORKDIR_NOT_SJIS;
  if (static_cast<size_t>(n) + 1 > outSize) return WORKDIR_TOO_LONG;
  std::memcpy(outSjis, sjis, static_cast<size_t>(n) + 1);
  return n;
}
