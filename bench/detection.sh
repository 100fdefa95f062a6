#!/usr/bin/env bash
# Installation state detection on a prefix with about 50 installed Windows
# Installer products: the whole catalogue without pip rows, per row, and one
# pip row. The prefix (its own, kept between runs so the products are
# installed once) lives in the bench work folder.
# Appends detection_refresh_s (warm median), detection_refresh_cold_s (the first
# refresh of the process, the one a user meets), detection_refresh_row_ms, detection_pip_row_s
# and their companions to the results file given as $1.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
results=$1
source "$top/bench/machine-env"
"$top/scripts/with-display" "$WINE64" "$BENCH_BIN/detection_bench.exe" "$(winpath "$packages")" \
  "$(winpath "$top/build/x64/tools/pip.exe")" "$(winpath "$work/files")" | tr -d '\r' | tee -a "$results"
