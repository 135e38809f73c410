// bctool: the map code of the editor, for scripts and game build pipelines.
#include <cstdio>
#include <cstring>

static void usage(FILE* out) {
  std::fprintf(out,
               "usage: bctool COMMAND ...\n"
               "  --help              this text\n");
}

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "--help") == 0) {
    usage(stdout);
    return 0;
  }
  usage(stderr);
  return 1;
}
