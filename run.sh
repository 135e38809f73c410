#!/usr/bin/env bash
# Installs what is missing, builds the editor alone, and starts it in run/ (a
# working directory of its own, created on first use with the sample chips and
# map). Each step says what it does on one line; ./test.sh builds everything.
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
echo "run.sh: checking the Debian packages the editor needs"
brindle_install_missing
echo "run.sh: building the editor into build/"
mkdir -p build
if ! { cmake -S . -B build -G Ninja && cmake --build build --target brindlecot; } >build/run-build.log 2>&1; then
  cat build/run-build.log >&2
  echo "run.sh: the build failed (the log is above and in build/run-build.log)" >&2
  exit 1
fi
echo "run.sh: preparing run/ with the sample chips and map"
bash tools/prepare_run_dir.sh run
echo "run.sh: starting the editor"
cd run
exec ../build/brindlecot "$@"  # ./run.sh --lang en starts it in English
