#!/usr/bin/env bash
# Big inputs through the gateways and through the spectra program, with the peak memory of each
# run. Needs build/ (spectra, spectra_big_inputs), about 6 GB of memory and 1 GB of disk in
# ${BIG_DIR:-/tmp/spectra-big}; takes some ten minutes on two cores.
#   fuzz/big/run.sh [gateways|program|all]
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${BUILD_DIR:-$top/build}"
work="${BIG_DIR:-/tmp/spectra-big}"
what="${1:-all}"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT

# One run of the program: exit status, wall time, peak memory, and what was left in the folder.
program() {
  local label="$1"
  shift
  local status=0
  /usr/bin/time -f "%e s, peak %M KB" -o "$work/time.txt" nice "$build/cli/spectra" "$@" \
    >"$work/stdout.txt" 2>"$work/stderr.txt" || status=$?
  printf '%-34s exit %d, %s\n' "$label" "$status" "$(tail -1 "$work/time.txt")"
  grep -v '^$' "$work/stderr.txt" | sed 's/^/    /' | head -3 || true
  find "$work/out" -mindepth 1 -printf '    left: %f (%s bytes)\n' 2>/dev/null || true
  rm -rf "$work/out" && mkdir -p "$work/out"
}

if [[ "$what" == gateways || "$what" == all ]]; then
  echo "== gateways, own host"
  "$build/fuzz/spectra_big_inputs"
fi

if [[ "$what" == program || "$what" == all ]]; then
  echo "== the spectra program"
  mkdir -p "$work/out"
  /usr/bin/python3 - "$work" <<'PY'
import math, sys
block = ''.join('%.6f\n' % (0.2 * math.sin(0.3 * i)) for i in range(100000))
with open(sys.argv[1] + '/r1e8.txt', 'w') as f:
    for _ in range(1000):
        f.write(block)
with open(sys.argv[1] + '/r1e3.txt', 'w') as f:
    f.write(''.join(block.splitlines(True)[:1000]))
PY
  program "record of 1e8 samples, elastic" elastic "$work/r1e8.txt" --dt 0.01 --periods 1 -q \
    --out "$work/out/r.csv"
  program "1e6 log-spaced periods, CSV" elastic "$work/r1e3.txt" --dt 0.01 \
    --log-periods 0.05:5:1000000 -q --out "$work/out/p.csv"
  program "1e6 generated periods, JSON" elastic "$work/r1e3.txt" --dt 0.01 \
    --periods 0.05:5:1000000 -q --out "$work/out/p.json"
  # One argument holds at most 128 KiB on Linux: 18,000 ratios of six characters fit, 10^5 do not.
  zeta=$(/usr/bin/python3 -c "print(','.join('%.4f' % (0.01 + 0.19 * i / 17999) for i in range(18000)))")
  program "1.8e4 damping ratios" elastic "$work/r1e3.txt" --dt 0.01 --zeta "$zeta" \
    --periods 0.1:5:10 -q --out "$work/out/z.csv"
  (
    trap '' XFSZ
    ulimit -f 10000
    program "write fails (10 MB file limit)" elastic "$work/r1e3.txt" --dt 0.01 \
      --periods 0.05:5:1000000 -q --out "$work/out/p.csv"
  )
  (
    ulimit -v 3000000
    program "1e8 samples in 3 GB of memory" elastic "$work/r1e8.txt" --dt 0.01 --periods 1 -q \
      --out "$work/out/r.csv"
  )
fi
