#include "app/app.h"

#include <cstdio>

int runApplication(int, char**) {
  std::fprintf(stderr, "brindlecot: the editor is not built yet.\n");
  return 1;
}
