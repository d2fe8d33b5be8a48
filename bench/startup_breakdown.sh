#!/usr/bin/env bash
# Where the time to the first frame goes, the Windows program under Wine against the Linux
# build, on one private Xvfb display with Wine's server already running: a trivial MinGW
# program (Wine's own start), then each stage the program marks (VOIDRIFT_STARTUP_TIMES),
# for `--record DIR --frames 1 --no-loading --size 320x240`. Medians of RUNS runs, in ms.
# Run by hand after scripts/build-windows.sh and the Linux build (scripts/setup.sh build).
#   bench/startup_breakdown.sh [RUNS] [OTHER.scr]   (default 5; OTHER: an older build's total too)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
runs="${1:-5}"
other="${2:-}"
source scripts/wine-session.sh
for file in build-windows/voidrift.scr build-windows/data.ssd build/src/app/voidrift; do
  [ -f "$file" ] || { echo "missing $file: run scripts/build-windows.sh first" >&2; exit 1; }
done

work=$(mktemp -d /tmp/voidrift-startup-XXXXXX)
trap 'stop_wine_session; rm -rf "$work"' EXIT
start_wine_session "$work"
mkdir -p "$work/saver" "$work/other"
cp build-windows/voidrift.scr build-windows/data.ssd "$work/saver/"
[ -z "$other" ] || cp "$other" build-windows/data.ssd "$work/other/"
wine reg add 'HKCU\Software\Voidrift 3D Screensaver' /v EnableMusic /t REG_DWORD /d 0 /f >/dev/null 2>&1
printf '[Software\\Voidrift 3D Screensaver]\nEnableMusic=0\nPath=%s\n' "$root/build/share/voidrift" >"$work/linux.ini"
printf 'int main(void) { return 0; }\n' >"$work/trivial.c"
x86_64-w64-mingw32-gcc -O2 -o "$work/trivial.exe" "$work/trivial.c"

now_ms() { date +%s%3N; }
options=(--frames 1 --no-loading --size 320x240)
export VOIDRIFT_STARTUP_TIMES=1

for i in $(seq "$runs"); do
  start=$(now_ms); wine "$work/trivial.exe"; echo "wine-trivial total $(($(now_ms) - start))" >>"$work/wine.txt"
  rm -rf "$work/frames"
  start=$(now_ms)
  wine "$work/saver/voidrift.scr" --record "$(windows_path "$work/frames")" "${options[@]}" 2>"$work/err" >/dev/null
  total=$(($(now_ms) - start))
  { sed -n 's/^start-up: \(.*\) \([0-9.]*\)\r*$/windows \1|\2/p' "$work/err"; echo "windows total|$total"; } >>"$work/marks.txt"
  rm -rf "$work/frames"
  start=$(now_ms)
  VOIDRIFT_CONFIG="$work/linux.ini" SDL_VIDEODRIVER=x11 build/src/app/voidrift --record "$work/frames" "${options[@]}" \
    2>"$work/err" >/dev/null
  total=$(($(now_ms) - start))
  { sed -n 's/^start-up: \(.*\) \([0-9.]*\)$/linux \1|\2/p' "$work/err"; echo "linux total|$total"; } >>"$work/marks.txt"
  if [ -n "$other" ]; then
    rm -rf "$work/frames"
    start=$(now_ms)
    wine "$work/other/$(basename "$other")" --record "$(windows_path "$work/frames")" "${options[@]}" >/dev/null 2>&1
    echo "other total|$(($(now_ms) - start))" >>"$work/marks.txt"
  fi
done
sed 's/^wine-trivial total /wine-trivial total|/' "$work/wine.txt" >>"$work/marks.txt"

python3 - "$work/marks.txt" <<'PY'
import statistics, sys
runs = {}
order = []
for line in open(sys.argv[1]):
    key, value = line.rstrip('\n').split('|')
    if key not in runs:
        runs[key] = []
        order.append(key)
    runs[key].append(float(value))
print(f"{'stage (ms since the process was created; total: wall time of the command)':74} median")
for key in order:
    print(f"{key:74} {statistics.median(runs[key]):8.1f}")
PY
