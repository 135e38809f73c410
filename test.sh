#!/usr/bin/env bash
# Installs what is missing, builds into build/ and runs every test.
#   ./test.sh             the normal suite
#   ./test.sh --sanitize  the same suite built with clang, ASan and UBSan (build-asan/)
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
brindle_install_missing

if [ "${1:-}" = "--sanitize" ]; then
  CC=clang-14 CXX=clang++-14 brindle_build build-asan -DBRINDLE_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  ctest --test-dir build-asan --output-on-failure -j2
  exit 0
fi

brindle_build build
ctest --test-dir build --output-on-failure -j2
