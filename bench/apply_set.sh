#!/usr/bin/env bash
# /apply /quiet of the fleet test's round-trip set against the same rows
# installed one after another through the pages' buttons in one process
# (bench/page_set_install_bench.cpp), both against the same demo server in
# the same run, each in a fresh prefix of its own with its own empty download
# cache, both timed from the process's start to its end. The set is the one
# the buttons' PC exports. Rounds alternate the two (APPLY_BENCH_ROUNDS, 2).
# Appends apply_buttons_s and apply_quiet_s (medians), apply_over_buttons
# (their ratio, the target is at most 1.10, with each round's own) and
# apply_load (the 1-minute load before and after) to the results file given
# as $1.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
results=$1
. "$top/scripts/wine-env"
work="$BENCH_WORK/apply"
rounds=${APPLY_BENCH_ROUNDS:-2}
installer=$(ls "$top"/build/x64/OrvantoVisionSoftware_*_Installer_*.exe | head -1)
load_before=$(cut -d' ' -f1 /proc/loadavg)
rm -rf "$work" && mkdir -p "$work"

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
python3 "$top/scripts/serve-repository" "$top/build/x64/repository" "$port" >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null || true' EXIT
export ORVANTO_REPOSITORY_URL="http://127.0.0.1:$port"
for _ in $(seq 50); do python3 -c "import socket; socket.create_connection(('127.0.0.1', $port), 0.2)" 2>/dev/null && break; sleep 0.1; done

# A fresh prefix with its services up (as a PC's are), the program copied in.
fresh() {
  export WINEPREFIX="$work/$1"
  rm -rf "$WINEPREFIX"
  "$top/scripts/wine-prefix" >/dev/null
  "$WINESERVER" -p
  "$WINE64" wineboot </dev/null >/dev/null 2>&1 || true
  mkdir -p "$WINEPREFIX/drive_c/Orvanto Installer"
  cp "$2" "$WINEPREFIX/drive_c/Orvanto Installer/"
}
done_with() { "$WINESERVER" -k || true; }
# Seconds from the start of the command to its end, then its exit code; the
# command's own output goes to the prefix's output.txt.
timed() {
  python3 -c 'import subprocess, sys, time
t = time.time()
with open(sys.argv[1], "w") as output:
    code = subprocess.run(sys.argv[2:], stdout=output, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL).returncode
print("%.2f %d" % (time.time() - t, code))' "$WINEPREFIX/output.txt" "$@"
}

buttons=() applied=()
set_file="$work/round trip set.ini"
for round in $(seq "$rounds"); do
  fresh buttons "$BENCH_BIN/page_set_install_bench.exe"
  read -r seconds code < <(timed "$WINE64" "C:\\Orvanto Installer\\page_set_install_bench.exe")
  [ "$code" = 0 ] || { echo "apply bench: the rows did not all come through the buttons ($code)" >&2; cat "$WINEPREFIX/output.txt" >&2; exit 1; }
  buttons+=("$seconds")
  if [ "$round" = 1 ]; then
    cp "$installer" "$WINEPREFIX/drive_c/Orvanto Installer/"
    "$WINE64" "C:\\Orvanto Installer\\$(basename "$installer")" /export "C:\\set.ini" </dev/null >/dev/null 2>&1
    cp "$WINEPREFIX/drive_c/set.ini" "$set_file"
  fi
  done_with

  fresh applied "$installer"
  cp "$set_file" "$WINEPREFIX/drive_c/set.ini"
  read -r seconds code < <(timed "$WINE64" "C:\\Orvanto Installer\\$(basename "$installer")" /apply "C:\\set.ini" /quiet)
  [ "$code" = 0 ] || { echo "apply bench: /apply /quiet gave $code" >&2; exit 1; }
  applied+=("$seconds")
  done_with
  echo "round $round: buttons ${buttons[-1]} s, /apply /quiet ${applied[-1]} s" >&2
done
load_after=$(cut -d' ' -f1 /proc/loadavg)
python3 - "${#buttons[@]}" "${buttons[@]}" "${applied[@]}" "$load_before" "$load_after" <<'EOF' | tee -a "$results"
import statistics, sys
n = int(sys.argv[1])
buttons = [float(x) for x in sys.argv[2:2 + n]]
applied = [float(x) for x in sys.argv[2 + n:2 + 2 * n]]
b, a = statistics.median(buttons), statistics.median(applied)
print("apply_buttons_s %.2f (%s)" % (b, " ".join("%.2f" % x for x in buttons)))
print("apply_quiet_s %.2f (%s)" % (a, " ".join("%.2f" % x for x in applied)))
print("apply_over_buttons %.3f (each round: %s)" % (a / b, " ".join("%.3f" % (y / x) for x, y in zip(buttons, applied))))
print("apply_load %s %s" % (sys.argv[2 + 2 * n], sys.argv[3 + 2 * n]))
EOF
