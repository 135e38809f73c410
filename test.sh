#!/usr/bin/env bash
# Installs what is missing, builds into build/ and runs every test, then a
# short run of every fuzz target from the committed corpus.
#   ./test.sh             the normal suite and the short fuzz run
#   ./test.sh --sanitize  the unit tests built with clang, ASan and UBSan
#                         (build-fuzz/, the same build the fuzz targets use)
# Both builds treat a warning in the project's own code as an error.
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
brindle_install_missing

sanitized_build() {
  CC=clang-14 CXX=clang++-14 brindle_build build-fuzz -DBRINDLE_FUZZ=ON -DBRINDLE_SANITIZE=ON -DBRINDLE_WERROR=ON
}

if [ "${1:-}" = "--sanitize" ]; then
  sanitized_build
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  # The end-to-end sessions run in the normal suite; here the unit tests.
  ctest --test-dir build-fuzz --output-on-failure -j2 -E '^e2e_'
  exit 0
fi

brindle_build build -DBRINDLE_WERROR=ON
ctest --test-dir build --output-on-failure -j2
sanitized_build
bash fuzz/run.sh 15 build-fuzz
