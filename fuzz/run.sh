#!/usr/bin/env bash
# Runs every fuzz target for SECONDS (default 60) each, from the committed
# corpus; new inputs go to fuzz/work/, crashes to fuzz/artifacts/.
#   fuzz/run.sh [SECONDS] [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
secs="${1:-60}"
build="${2:-build-fuzz}"
if [ ! -e "$build/build.ninja" ]; then
  CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -G Ninja -DBRINDLE_FUZZ=ON -DBRINDLE_SANITIZE=ON >/dev/null
fi
cmake --build "$build"
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
mkdir -p fuzz/artifacts
for target in mapfile oldmap settings bitmap tmx; do
  mkdir -p "fuzz/work/$target"
  dict=()
  [ -e "fuzz/$target.dict" ] && dict=(-dict="fuzz/$target.dict")
  echo "== fuzz_$target for ${secs}s"
  "$build/fuzz/fuzz_$target" "fuzz/work/$target" "fuzz/corpus/$target" "${dict[@]}" \
    -max_total_time="$secs" -max_len=1100000 -rss_limit_mb=2048 \
    -artifact_prefix="fuzz/artifacts/$target-" -print_final_stats=1 2>&1 | \
    grep -E '^(#[0-9]+.*(DONE|INITED)|stat::number_of_executed_units|stat::peak_rss|==[0-9]+==ERROR|SUMMARY)' || true
  if ls fuzz/artifacts/"$target"-* >/dev/null 2>&1; then
    echo "fuzz_$target found a failure: see fuzz/artifacts/" >&2
    exit 1
  fi
done
