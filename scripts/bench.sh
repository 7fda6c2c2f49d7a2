#!/usr/bin/env bash
# Runs the speed workloads W1-W3 of every module and the constant-ductility spectrum (one thread
# and all, fast beside straightforward)
# and keeps the results per machine and date in bench/results/. Run it on a quiet machine.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$top/scripts/setup.sh"
machine=$(lscpu | sed -n 's/^Model name: *//p' | head -n 1 | tr -cs 'A-Za-z0-9' '-' | sed 's/-$//')
stem="$top/bench/results/$(date +%F)-${machine:-unknown}-$(nproc)cores"
mkdir -p "$top/bench/results"
"$BUILD_DIR/bench/spectra_bench" --benchmark_filter='^(W|constantDuctility)' --benchmark_min_time="${MIN_TIME:-0.5}" \
  --benchmark_out="$stem.json" --benchmark_out_format=json "$@" | tee "$stem.txt"
echo "results: $stem.json and .txt" >&2
