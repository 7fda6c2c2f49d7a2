#!/usr/bin/env bash
# Every test: unit and Octave tests, the Python package's tests, the MATLAB/Octave build script,
# the unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer, a short fuzzing run
# of every fuzz target (SPECTRA_FUZZ_SECONDS each, default 10; 0 skips it), and the conformance
# cases when ../shared has them.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$top/scripts/setup.sh"

echo "== unit and Octave tests" >&2
ctest --test-dir "$BUILD_DIR" --output-on-failure -j"$(nproc)"

echo "== Python package tests (the installed sdofspectra against the MEX files and the program)" >&2
(cd "$top" && SPECTRA_REQUIRE_BUILD=1 SPECTRA_MEX_DIR="$BUILD_DIR/mex" \
   SPECTRA_MEX_WEIGHT_DIR="$BUILD_DIR/mex-weight" SPECTRA_CLI="$BUILD_DIR/cli/spectra" \
   "$VENV_DIR/bin/python3" -m pytest -q -p no:cacheprovider python/tests)

echo "== the mex build script, in Octave, and the Octave tests against what it built" >&2
script_dir="$BUILD_DIR/mex-script"
rm -rf "$script_dir" && mkdir -p "$script_dir"
quiet_exit() { sed "/ignoring const execution_exception/d"; }
(cd "$script_dir" && octave-cli --no-gui --norc --quiet \
   --eval "addpath('$top/matlab'); build_mex('$script_dir')" 2>&1 | quiet_exit)
for script in "$top"/tests/octave/test_*.m; do
  name=$(basename "$script" .m)
  SPECTRA_MEX_WEIGHT_DIR="$script_dir/weight" octave-cli --no-gui --norc --quiet \
    --eval "addpath('$script_dir'); addpath('$top/tests/octave'); $name" 2>&1 | quiet_exit
done

echo "== unit tests under the sanitizers" >&2
asan_dir="$top/build-asan"
cmake -S "$top" -B "$asan_dir" -DSPECTRA_SANITIZE=ON -DSPECTRA_BENCHMARKS=OFF -DSPECTRA_OCTAVE=OFF \
  $SPECTRA_CI_ARGS >/dev/null
cmake --build "$asan_dir" -j"$(nproc)"
ctest --test-dir "$asan_dir" -L unit --output-on-failure -j"$(nproc)"

fuzz_seconds="${SPECTRA_FUZZ_SECONDS:-10}"
if ((fuzz_seconds > 0)); then
  echo "== fuzzing: every target for $fuzz_seconds s (scripts/fuzz.sh)" >&2
  # From the kept seeds alone, so that every run explores afresh from the same start.
  fuzz_corpus="$(mktemp -d)"
  SPECTRA_FUZZ_CORPUS="$fuzz_corpus" "$top/scripts/fuzz.sh" all "$fuzz_seconds" ||
    { rm -rf "$fuzz_corpus"; exit 1; }
  rm -rf "$fuzz_corpus"
fi

conformance="$top/../shared/conformance/check.py"
if [[ -f "$conformance" ]]; then
  echo "== conformance cases" >&2
  weight=()
  [[ -d "$BUILD_DIR/mex-weight" ]] && weight=(--mexdir-weight "$BUILD_DIR/mex-weight")
  python3 "$conformance" --mexdir "$BUILD_DIR/mex" "${weight[@]}"
fi
