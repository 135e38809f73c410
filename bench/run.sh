#!/usr/bin/env bash
# Runs every benchmark and prints one table of medians, each with its baseline
# from the same run and the ratio to it.
#   bench/run.sh [BUILD_DIR]     (build first: ./test.sh or cmake --build build)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
export QT_QPA_PLATFORM=offscreen
reps=(--benchmark_repetitions=10 --benchmark_report_aggregates_only=true)
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
for b in bench_mapfile bench_frame bench_editor; do
  json="$(mktemp)"
  "$build/bench/$b" "${reps[@]}" --benchmark_out="$json" --benchmark_out_format=json >/dev/null 2>&1
  # One line per median: name,real_time,time_unit
  awk -F': ' '/"name":/ { n = $2; gsub(/[",]/, "", n) }
              /"real_time":/ { r = $2; gsub(/,/, "", r) }
              /"time_unit":/ { u = $2; gsub(/[",]/, "", u); if (n ~ /_median$/) print n "," r ",," u }' "$json" >> "$out"
  rm -f "$json"
done
echo "Measured $(date -u +%Y-%m-%d) on $(nproc) cores, $(uname -m), $(. /etc/os-release; echo "$PRETTY_NAME")"
echo
awk -F, '
  function us(t, unit) { return unit == "ns" ? t / 1000 : (unit == "ms" ? t * 1000 : t) }
  {
    gsub(/"/, "", $1); name = $1; sub(/_median$/, "", name); sub(/\/manual_time$/, "", name)
    t[name] = us($2, $4); order[++n] = name
  }
  END {
    base["BM_LoadMapFile"] = "BM_MemcpyBaseline"; base["BM_SaveMapFile"] = "BM_MemcpyBaseline"
    base["BM_ParseMapBytes"] = "BM_MemcpyBaseline"
    base["BM_HeavyFrame"] = "BM_BackBufferMemcpy"; base["BM_TypicalFrame"] = "BM_BackBufferMemcpy"
    printf "| %-28s | %12s | %-29s | %8s |\n", "benchmark", "median (us)", "baseline (median us)", "ratio"
    printf "|%s|%s|%s|%s|\n", "------------------------------", "--------------", "------------------------", "----------"
    for (i = 1; i <= n; ++i) {
      k = order[i]; b = base[k]
      # Whole editing frames against the memcpy measured by the same program.
      if (k ~ /^(editingFrameComposed|presentedFrame)\//) b = "backBufferMemcpy"
      if (b != "" && (b in t) && t[b] > 0)
        printf "| %-28s | %12.1f | %-20s %8.1f | %7.1fx |\n", k, t[k], b, t[b], t[k] / t[b]
      else
        printf "| %-28s | %12.1f | %-29s | %8s |\n", k, t[k], "", ""
    }
  }' "$out"
