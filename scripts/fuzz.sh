#!/usr/bin/env bash
# Coverage-guided fuzzing with libFuzzer: builds the targets with clang into build-fuzz/ and runs
# one target, or every target in turn, for the given seconds each.
#   scripts/fuzz.sh TARGET SECONDS [libFuzzer options...]    e.g. scripts/fuzz.sh at2 600
#   scripts/fuzz.sh all SECONDS                               e.g. scripts/fuzz.sh all 1800
#   scripts/fuzz.sh list
# Each target starts from its seeds (fuzz/corpus/<target>), its kept regression inputs
# (fuzz/regressions/<target>) and what earlier runs kept in build-fuzz/corpus/<target> (or in
# $SPECTRA_FUZZ_CORPUS/<target>; CI starts from an empty one). A finding stops that target, lands
# in build-fuzz/findings/<target>/ and makes the script fail after the other targets have run;
# once fixed, keep the input in fuzz/regressions/<target>/ so that the unit tests replay it.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${FUZZ_BUILD_DIR:-$top/build-fuzz}"

usage() { sed -n '2,/^set /p' "${BASH_SOURCE[0]}" | grep '^#' | sed 's/^# \{0,1\}//' >&2; exit 2; }
[[ $# -ge 1 ]] || usage
target="$1"
shift

if [[ ! -f "$build/CMakeCache.txt" ]]; then
  CC=clang CXX=clang++ cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DSPECTRA_FUZZ=ON \
    -DSPECTRA_OCTAVE=OFF -DSPECTRA_CLI=ON -DSPECTRA_TESTS=OFF -DSPECTRA_BENCHMARKS=OFF >/dev/null
fi
if ! cmake --build "$build" -j"$(nproc)" --target spectra_fuzz_targets >"$build/build.log" 2>&1; then
  tail -30 "$build/build.log" >&2
  exit 1
fi

mapfile -t targets < <(find "$build/fuzz" -maxdepth 1 -type f -name 'fuzz_*' -executable \
                         -printf '%f\n' | sed 's/^fuzz_//' | sort)
if [[ "$target" == list ]]; then printf '%s\n' "${targets[@]}"; exit 0; fi
[[ $# -ge 1 && "$1" =~ ^[0-9]+$ ]] || usage
seconds="$1"
shift
if [[ "$target" != all ]]; then
  [[ -x "$build/fuzz/fuzz_$target" ]] || { echo "fuzz.sh: no target '$target'" >&2; exit 2; }
  targets=("$target")
fi

# Largest input per target family: records and command lines are short texts, a gateway call
# carries a record of up to 2000 raw samples.
max_len() {
  case "$1" in
    gateway_*) echo 20000 ;;
    cli_*) echo 512 ;;
    *) echo 4096 ;;
  esac
}

# Seconds one input may take before it counts as a hang. A gateway call analyses up to 2000
# samples for 20 periods and 6 swept values, under the sanitizers, and the sub-stepping modules
# may legitimately need tens of seconds for it.
time_limit() {
  case "$1" in
    gateway_*) echo 60 ;;
    *) echo 10 ;;
  esac
}

dictionary() {
  case "$1" in
    at2 | cosmos | smc | knet | esm | columns | csv | record) echo "$top/fuzz/dictionaries/records.dict" ;;
    cli_options | cli_numbers) echo "$top/fuzz/dictionaries/$1.dict" ;;
  esac
}

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:symbolize=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
failed=()
for t in "${targets[@]}"; do
  corpus="${SPECTRA_FUZZ_CORPUS:-$build/corpus}/$t"
  findings="$build/findings/$t"
  mkdir -p "$corpus" "$findings"
  rm -f "$findings"/slow-unit-*
  seeds=("$top/fuzz/corpus/$t")
  [[ -d "$top/fuzz/regressions/$t" ]] && seeds+=("$top/fuzz/regressions/$t")
  dict=()
  d="$(dictionary "$t")"
  [[ -n "$d" ]] && dict=(-dict="$d")
  log="$build/findings/$t.log"
  echo "fuzz.sh: $t for $seconds s" >&2
  started=$SECONDS
  if nice -n 10 "$build/fuzz/fuzz_$t" "$corpus" "${seeds[@]}" -max_total_time="$seconds" \
       -timeout="$(time_limit "$t")" -rss_limit_mb=3072 -malloc_limit_mb=2048 -max_len="$(max_len "$t")" \
       -artifact_prefix="$findings/" -report_slow_units=5 -print_final_stats=1 "${dict[@]}" "$@" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    features=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    slow=$(find "$findings" -name 'slow-unit-*' | wc -l)
    note=""
    ((slow == 0)) || note=" ($slow inputs slower than 5 s kept in $findings/)"
    echo "fuzz.sh: $t: ${runs:-?} runs, coverage ${cov:-?} edges, ${features:-?} features," \
      "$((SECONDS - started)) s, no finding$note" >&2
  else
    echo "fuzz.sh: $t: FINDING (log $log, input in $findings/)" >&2
    grep -E "ERROR|invariant broken|SUMMARY|Test unit written" "$log" | head -5 >&2 || true
    failed+=("$t")
  fi
done
if ((${#failed[@]})); then
  echo "fuzz.sh: findings in ${failed[*]}" >&2
  exit 1
fi
