#!/usr/bin/env bash
# Start-up as a whole process under wine on a fresh prefix with no server
# reachable: from launch to the welcome page with its controls painted,
# median of 7, beside a trivial window program started and timed the same way
# in the same run (bench/startup_bench.cpp).
# Appends startup_s, startup_trivial_s and startup_over_trivial_s to the
# results file given as $1.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
results=$1
work="$BENCH_WORK/startup"
export WINEPREFIX="$work/prefix"
rm -rf "$work" && mkdir -p "$work"
"$top/scripts/wine-prefix"
. "$top/scripts/wine-env"
winpath() { echo "Z:${1//\//\\}"; }
# BENCH_INSTALLER: another build of the program, to compare two in one period.
installer=${BENCH_INSTALLER:-$(ls "$top"/build/x64/OrvantoVisionSoftware_*_Installer_*.exe | head -1)}
export ORVANTO_REPOSITORY_URL=http://127.0.0.1:1 # nobody listens
run() { "$top/scripts/with-display" "$WINE64" "$BENCH_BIN/startup_bench.exe" 7 "$@" | tr -d '\r'; }
# Each program once before the runs, so that both meet warm caches.
run_trivial() { run "Trivial program" 5 "$(winpath "$BENCH_BIN/startup_trivial.exe")"; }
run_installer() { run "Orvanto Vision Software" 8 "$(winpath "$installer")"; }
run_trivial >/dev/null && run_installer >/dev/null
trivial=$(run_trivial | sed -n 's/^median_s //p')
ours=$(run_installer | sed -n 's/^median_s //p')
"$WINESERVER" -k || true
{
  echo "startup_s $ours"
  echo "startup_trivial_s $trivial"
  python3 -c "print('startup_over_trivial_s %.3f' % ($ours - $trivial))"
} | tee -a "$results"
