#!/usr/bin/env bash
# Download of a 200 MB file against curl from the same local server, and
# extraction of a ~150 MB archive of 3000 files against unzip; ratios are our
# throughput over the reference's, best of three runs each, same run. Each
# pair is measured the same way: the downloads inside their processes (curl's
# own time_total against the engine's timer), the extractions as whole
# processes less each program's cost for a one-entry archive (its start-up,
# wine's included for ours). The extraction is also measured against
# minizip's own miniunz, built for Windows from the same sources as our unzip
# layer and run under wine the same way.
# Appends download_vs_curl, extract_vs_unzip, extract_vs_miniunz,
# download_peak_mb and extract_peak_mb to the results file given as $1.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/wine-env"
results=$1
work="$BENCH_WORK/download-extract"
mkdir -p "$work/served"
bench_exe="$BENCH_BIN/download_extract_bench.exe"
miniunz_exe="$BENCH_BIN/miniunz.exe"

# Inputs, made once.
[ -f "$work/served/big.bin" ] || head -c $((200 * 1024 * 1024)) /dev/urandom >"$work/served/big.bin"
[ -f "$work/served/tiny.zip" ] || python3 -c "import sys, zipfile; zipfile.ZipFile(sys.argv[1], 'w').writestr('one.txt', 'x')" "$work/served/tiny.zip"
[ -f "$work/served/content.zip" ] || python3 - "$work/served/content.zip" <<'PY'
import os, random, sys, zipfile
random.seed(7)
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED, compresslevel=6) as archive:
    for i in range(3000):
        # Half random, half repetitive: about 52 KB per file, ~150 MB unpacked.
        size = 52 * 1024
        data = os.urandom(size // 2) + bytes(random.choice(b"abcdefgh") for _ in range(64)) * (size // 128)
        archive.writestr(f"folder{i % 40:02d}/sub{i % 7}/file{i:04d}.dat", data)
PY

port_file="$work/port"
rm -f "$port_file"
python3 "$top/tests/server/http_test_server.py" --root "$work/served" --port-file "$port_file" &
server=$!
trap 'kill $server 2>/dev/null || true' EXIT
for _ in $(seq 100); do [ -s "$port_file" ] && break; sleep 0.1; done
url="http://127.0.0.1:$(cat "$port_file")/files/big.bin"

now() { echo "$EPOCHREALTIME"; }
best() { sort -g | head -1; }
winpath() { echo "Z:${1//\//\\}"; }

curl_times=() our_times=() unzip_times=() ex_times=() unzip_start=() ex_start=() mz_times=() mz_start=()
download_peak=0 extract_peak=0
rm -rf "$work/curl" "$work/ours" && mkdir -p "$work/curl" "$work/ours"
for run in 1 2 3; do
  # Each download removes its own previous copy just before it starts, so
  # both write into the same state of the page cache: removing both copies
  # first and then writing twice in a row slows the second writer's run in
  # every other round, whichever program it is.
  rm -f "$work/curl/"*
  curl_times+=("$(curl -s -o "$work/curl/big.bin" -w '%{time_total}' "$url")")
  rm -f "$work/ours/"*
  out=$("$WINE64" "$bench_exe" download "$url" "$(winpath "$work/ours")" big.bin)
  cmp -s "$work/served/big.bin" "$work/ours/big.bin" || { echo "download differs" >&2; exit 1; }
  our_times+=("$(sed -n 's/^seconds //p' <<<"$out")")
  download_peak=$(sed -n 's/^peak_mb //p' <<<"$out")

  rm -rf "$work/unzip" "$work/extract" "$work/tiny-unzip" "$work/tiny-extract"
  t0=$(now); unzip -q -o "$work/served/tiny.zip" -d "$work/tiny-unzip"; t1=$(now)
  unzip_start+=("$(python3 -c "print($t1 - $t0)")")
  t0=$(now); unzip -q -o "$work/served/content.zip" -d "$work/unzip"; t1=$(now)
  unzip_times+=("$(python3 -c "print($t1 - $t0)")")
  t0=$(now); "$WINE64" "$bench_exe" extract "$(winpath "$work/served/tiny.zip")" "$(winpath "$work/tiny-extract")" >/dev/null; t1=$(now)
  ex_start+=("$(python3 -c "print($t1 - $t0)")")
  t0=$(now)
  out=$("$WINE64" "$bench_exe" extract "$(winpath "$work/served/content.zip")" "$(winpath "$work/extract")")
  t1=$(now)
  ex_times+=("$(python3 -c "print($t1 - $t0)")")
  extract_peak=$(sed -n 's/^peak_mb //p' <<<"$out")
  sed -n 's/^time_//p' <<<"$out" | tr '\n' ' ' >&2; echo >&2

  # miniunz extracts into the folder it is started in; it lists every file.
  rm -rf "$work/miniunz" "$work/tiny-miniunz" && mkdir -p "$work/miniunz" "$work/tiny-miniunz"
  t0=$(now); "$WINE64" "$miniunz_exe" -x -o "$(winpath "$work/served/tiny.zip")" -d "$(winpath "$work/tiny-miniunz")" >/dev/null; t1=$(now)
  mz_start+=("$(python3 -c "print($t1 - $t0)")")
  t0=$(now); "$WINE64" "$miniunz_exe" -x -o "$(winpath "$work/served/content.zip")" -d "$(winpath "$work/miniunz")" >/dev/null; t1=$(now)
  mz_times+=("$(python3 -c "print($t1 - $t0)")")
done
diff -rq "$work/unzip" "$work/miniunz" >/dev/null || { echo "miniunz extraction differs" >&2; exit 1; }
diff -rq "$work/unzip" "$work/extract" >/dev/null || { echo "extraction differs" >&2; exit 1; }

curl_best=$(printf '%s\n' "${curl_times[@]}" | best)
our_best=$(printf '%s\n' "${our_times[@]}" | best)
unzip_best=$(printf '%s\n' "${unzip_times[@]}" | best)
ex_best=$(printf '%s\n' "${ex_times[@]}" | best)
unzip_start_best=$(printf '%s\n' "${unzip_start[@]}" | best)
ex_start_best=$(printf '%s\n' "${ex_start[@]}" | best)
mz_best=$(printf '%s\n' "${mz_times[@]}" | best)
mz_start_best=$(printf '%s\n' "${mz_start[@]}" | best)
echo "download: curl ${curl_best}s, ours ${our_best}s; extract: unzip ${unzip_best}s (start ${unzip_start_best}s)," \
  "ours ${ex_best}s (start ${ex_start_best}s), miniunz ${mz_best}s (start ${mz_start_best}s)" >&2
{
  python3 -c "print('download_vs_curl %.2f' % ($curl_best / $our_best))"
  python3 -c "print('extract_vs_unzip %.2f' % (($unzip_best - $unzip_start_best) / ($ex_best - $ex_start_best)))"
  python3 -c "print('extract_vs_miniunz %.2f' % (($mz_best - $mz_start_best) / ($ex_best - $ex_start_best)))"
  echo "download_peak_mb $download_peak"
  echo "extract_peak_mb $extract_peak"
} >>"$results"
rm -rf "$work/curl" "$work/ours" "$work/unzip" "$work/extract" "$work/tiny-unzip" "$work/tiny-extract" \
  "$work/miniunz" "$work/tiny-miniunz"
