#!/usr/bin/env bash
# Installs the missing Debian packages (as root, or through sudo) and builds into build/.
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
cmake -S "$top" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release $SPECTRA_CI_ARGS ${CMAKE_ARGS:-} >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)"
