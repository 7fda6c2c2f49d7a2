#!/usr/bin/env bash
# Installs the missing Debian packages (as root, or through sudo), builds into build/ and installs
# the Python package sdofspectra into the virtual environment build/venv (made from Debian's
# python3, so it sees Debian's NumPy, xarray, pandas and matplotlib).
# Sourced by demo.sh and test.sh; BUILD_DIR and CMAKE_ARGS may be set by the caller.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

missing=()
while read -r pkg; do
  [[ -z "$pkg" || "$pkg" == \#* ]] && continue
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done < "$top/scripts/packages.txt"
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}" >&2
  sudo=""
  [[ $(id -u) -ne 0 ]] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

BUILD_DIR="${BUILD_DIR:-$top/build}"
# Continuous integration treats every warning as an error.
SPECTRA_CI_ARGS=""
[[ "${CI:-}" == "true" ]] && SPECTRA_CI_ARGS="-DSPECTRA_WERROR=ON"
VENV_DIR="$BUILD_DIR/venv"
[[ -x "$VENV_DIR/bin/python3" ]] || /usr/bin/python3 -m venv --system-site-packages "$VENV_DIR"
cmake -S "$top" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release -DPython3_EXECUTABLE="$VENV_DIR/bin/python3" \
  $SPECTRA_CI_ARGS ${CMAKE_ARGS:-} >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)"
# pip builds the extension with setup.py, which reuses the build folder just made.
SPECTRA_CMAKE_BUILD_DIR="$BUILD_DIR" "$VENV_DIR/bin/python3" -m pip install --quiet \
  --no-build-isolation --no-index --no-deps "$top" >/dev/null
