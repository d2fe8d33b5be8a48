#!/usr/bin/env bash
# The Windows program under Wine against the Linux build, on one private Xvfb display in
# one run: the frame rate of the main loop at 1024x768, the size of voidrift.scr and the
# time from start to the first frame written. Run by hand after scripts/build-windows.sh
# and the Linux build (scripts/setup.sh build).
#   bench/windows_vs_linux.sh [SECONDS]    (default 10)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds="${1:-10}"
source scripts/wine-session.sh
for file in build-windows/voidrift.scr build-windows/data.ssd build/src/app/voidrift build/data/data.ssd; do
  [ -f "$file" ] || { echo "missing $file: run scripts/build-windows.sh first" >&2; exit 1; }
done

work=$(mktemp -d /tmp/voidrift-bench-XXXXXX)
trap 'stop_wine_session; rm -rf "$work"' EXIT
start_wine_session "$work"
mkdir -p "$work/saver"
cp build-windows/voidrift.scr build-windows/data.ssd "$work/saver/"
scr="$work/saver/voidrift.scr"
for value in "EnableMusic 0" "VSync 0"; do
  set -- $value
  wine reg add 'HKCU\Software\Voidrift 3D Screensaver' /v "$1" /t REG_DWORD /d "$2" /f >/dev/null 2>&1
done
printf '[Software\\Voidrift 3D Screensaver]\nEnableMusic=0\nVSync=0\nPath=%s\n' "$root/build/data" >"$work/linux.ini"

linux() { VOIDRIFT_CONFIG="$work/linux.ini" SDL_VIDEODRIVER=x11 build/src/app/voidrift "$@"; }
windows() { wine "$scr" "$@"; }

fps_of() { sed -n 's/.*fps=\([0-9.]*\).*/\1/p' | tail -n 1; }

# Seconds from the start of a run to its first frame on disk (loading animation skipped).
first_frame() {
  local runner=$1 dir=$2 start
  start=$(date +%s.%N)
  if [ "$runner" = windows ]; then
    windows --record "$(windows_path "$dir")" --frames 1 --no-loading --size 1024x768 >/dev/null 2>&1 &
  else
    linux --record "$dir" --frames 1 --no-loading --size 1024x768 >/dev/null 2>&1 &
  fi
  local pid=$!
  while [ ! -s "$dir/frame-00000.png" ] && kill -0 "$pid" 2>/dev/null; do sleep 0.01; done
  awk -v now="$(date +%s.%N)" -v start="$start" 'BEGIN { printf "%.2f", now - start }'
  wait "$pid" || true
}

linux_fps=$(linux --benchmark "$seconds" --no-loading --size 1024x768 2>/dev/null | fps_of)
windows_fps=$(windows --benchmark "$seconds" --no-loading --size 1024x768 2>/dev/null | tr -d '\r' | fps_of)
linux_start=$(first_frame linux "$work/linux-first")
windows_start=$(first_frame windows "$work/windows-first")

echo "frame rate, 1024x768, ${seconds} s on Xvfb: Linux ${linux_fps} fps, Windows under Wine ${windows_fps} fps," \
     "ratio $(awk -v w="$windows_fps" -v l="$linux_fps" 'BEGIN { printf "%.2f", w / l }')"
echo "voidrift.scr: $(stat -c %s build-windows/voidrift.scr) bytes"
echo "start to first frame: Linux ${linux_start} s, Windows under Wine ${windows_start} s"
