#!/usr/bin/env bash
# Page activations of the wizard on the detection bench's machine (its own
# prefix with about 50 installed Windows Installer products, prepared here
# when detection.sh has not run yet).
# Appends page_activation_ms_<page> for every page with component rows,
# page_activation_max_ms, pip_page_activation_ms_<page> for the Python package
# pages and pip_page_activation_max_ms to the results file given as $1.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
results=$1
source "$top/bench/machine-env"
# The package pages fetch their lists from the demo repository, served beside the bench.
repository="$top/build/x64/repository"
serve=()
[ -d "$repository/orvanto" ] && serve=(python3 "$top/scripts/serve-repository" "$repository" --run)
"${serve[@]}" "$top/scripts/with-display" "$WINE64" "$BENCH_BIN/page_activation_bench.exe" "$(winpath "$packages")" \
  "$(winpath "$top/build/x64/tools/pip.exe")" "$(winpath "$work/files")" | tr -d '\r' | tee -a "$results"
