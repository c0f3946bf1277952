#!/usr/bin/env bash
# scripts/run's work without a display, on the build tree given: every file it names is written.
set -euo pipefail
source scripts/lib/headless.sh
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
orvane_headless_job "$1" "$out/results" >"$out/said"
for file in c-band-36mhz.png c-band-36mhz.htm c-band-36mhz.analysis.json; do
  test -s "$out/results/$file"
  grep -qF "$out/results/$file" "$out/said"
done
