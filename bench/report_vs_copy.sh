#!/usr/bin/env bash
# The intermodulation report of a 200-carrier plan (3.98 million products) against the floor of
# writing its bytes: `cp` of the finished report plus a sync of the copy, measured side by side
# in one run. Prints each run and the medians of both times, their ratio and the report's peak
# memory, for the HTML and the CSV layout.
#
#   bench/report_vs_copy.sh [BUILD_DIR] [RUNS]     (defaults: build/release, 5)
#
# The files go to a fresh folder under ORVANE_BENCH_DIR (else TMPDIR, else /tmp), removed at
# the end. Needs GNU time (/usr/bin/time) for the peak memory.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build/release}
runs=${2:-5}
cli="$build_dir/program/orvane-cli"
if [ ! -x "$cli" ]; then
  echo "No $cli: build first (cmake --build $build_dir)." >&2
  exit 1
fi
work=$(mktemp -d "${ORVANE_BENCH_DIR:-${TMPDIR:-/tmp}}/orvane-report-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# 200 channels on a 2.5 MHz grid: many products coincide, as in real transponders.
plan="$work/plan.carriers.txt"
{
  printf 'Report benchmark\r\n\r\nF 5850 6425\r\n\r\nL\r\n'
  for ((i = 0; i < 200; ++i)); do
    printf '%d.%02d000 2000.000 10.000 Channel %d\r\n' $((5860 + i * 5 / 2)) $(((i % 2) * 50)) \
      $((i + 1))
  done
} >"$plan"

now() { date +%s%N; }
seconds() { awk -v ns="$1" 'BEGIN { printf "%.3f", ns / 1e9 }'; }
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "load at start: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
for extension in htm csv; do
  report="$work/report.$extension"
  copy="$work/copy.$extension"
  report_times=()
  copy_times=()
  ratios=()
  peaks=()
  for ((run = 1; run <= runs; ++run)); do
    rm -f "$report" "$copy"
    sync
    start=$(now)
    /usr/bin/time -f '%M' -o "$work/peak" "$cli" report "$plan" "$report"
    report_ns=$(($(now) - start))
    start=$(now)
    cp "$report" "$copy"
    sync "$copy"
    copy_ns=$(($(now) - start))
    peak_mb=$(awk '{ printf "%.0f", $1 / 1024 }' "$work/peak")
    ratio=$(awk -v a="$report_ns" -v b="$copy_ns" 'BEGIN { printf "%.2f", a / b }')
    report_times+=("$(seconds "$report_ns")")
    copy_times+=("$(seconds "$copy_ns")")
    ratios+=("$ratio")
    peaks+=("$peak_mb")
    printf '%s run %d: report %s s, cp+sync %s s, ratio %s, peak %s MB, %s bytes\n' \
      "$extension" "$run" "$(seconds "$report_ns")" "$(seconds "$copy_ns")" "$ratio" \
      "$peak_mb" "$(stat -c %s "$report")"
  done
  printf '%s median: report %s s, cp+sync %s s, ratio %s, peak %s MB\n' "$extension" \
    "$(printf '%s\n' "${report_times[@]}" | median)" "$(printf '%s\n' "${copy_times[@]}" | median)" \
    "$(printf '%s\n' "${ratios[@]}" | median)" "$(printf '%s\n' "${peaks[@]}" | median)"
done
echo "load at end: $(cut -d' ' -f1-3 /proc/loadavg)"
