#!/usr/bin/env bash
# Page activations of the wizard on the detection bench's machine (its own
# prefix with about 50 installed Windows Installer products, prepared here
# when detection.sh has not run yet).
# The demo repository is served beside it for the pages that show the
# server's catalogues and the package lists. Appends page_activation_ms_<page>
# and page_activation_first_ms_<page> (its first activation) for every page
# with component rows or a catalogue, page_activation_max_ms (the worst of all),
# pip_page_activation_ms_<page> for the Python package pages (their stand-in
# pip slowed to 1500 ms per call), pip_page_filled_after_answer_ms_<page> (from
# pip's answer to the rows filled), pip_page_activation_max_ms and
# pip_page_filled_after_answer_max_ms to the results file given as $1.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
results=$1
source "$top/bench/machine-env"
"$top/scripts/with-display" "$top/scripts/serve-repository" "$top/build/x64/repository" --run "$WINE64" "$BENCH_BIN/page_activation_bench.exe" "$(winpath "$packages")" \
  "$(winpath "$top/build/x64/tools/pip.exe")" "$(winpath "$work/files")" | tr -d '\r' | tee -a "$results"
