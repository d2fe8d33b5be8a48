#!/usr/bin/env bash
# Frame cost of the show at 1920 x 1080 and 3840 x 2160, offscreen on Mesa's software
# renderer, uncapped, and the CPU time the frame-rate cap saves at 1080p (uncapped
# against --max-fps 30), each with its frame-time jitter.
#   bench/resolutions.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
seconds="${2:-10}"
voidrift="$build/src/app/voidrift"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
printf '[Software\\Voidrift 3D Screensaver]\nEnableMusic=0\nVSync=0\nShowFPS=1\nShowClock=1\n' >"$work/settings.ini"
export VOIDRIFT_CONFIG="$work/settings.ini" SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=offscreen

run() {  # label size cap
  local line cpu
  line=$(/usr/bin/time -f "%U %S" -o "$work/time" "$voidrift" --benchmark "$seconds" --no-loading --seed 1 \
         --size "$2" --max-fps "$3")
  cpu=$(awk -v s="$seconds" '{ printf "%.0f", ($1 + $2) * 100 / s }' "$work/time")
  echo "$1: $line cpu=${cpu}%"
}
run "1920x1080 uncapped" 1920x1080 0
run "3840x2160 uncapped" 3840x2160 0
run "1920x1080 capped at 30" 1920x1080 30
