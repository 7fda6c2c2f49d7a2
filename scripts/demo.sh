#!/usr/bin/env bash
# The main job on its built-in default: spectra of the synthetic demo record, as a table on the
# terminal and a plot in out/demo.png. Installs and builds what is missing first.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$top/scripts/setup.sh"
mkdir -p "$top/out"
"$BUILD_DIR/cli/spectra" demo --plot "$top/out/demo.png" "$@"
echo "plot written to out/demo.png" >&2
