#include "platform/workdir.h"

#include <unistd.h>

#include "platform/sjis.h"

int platformWorkingDir(char* outSjis, size_t outSize) {
  if (outSize > 0) outSjis[0] = 0;
  char utf8[4096];
  if (!::getcwd(utf8, sizeof utf8)) return -1;
  return utf8ToSjis(utf8, outSjis, outSize);
}
