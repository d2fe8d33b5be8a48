#!/usr/bin/env bash
# Resident memory during the show and the time to the first animated frame, for two
# builds of the show and, on the same X display (Xvfb, Mesa's software renderer), for
# XScreenSaver's glplanet and atlantis (package xscreensaver-gl-extra, installed when
# missing), each run in turn.
#   bench/memory_start_compare.sh OLD_BUILD NEW_BUILD [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."
old=$1 new=$2 rounds=${3:-2}
hacks=/usr/libexec/xscreensaver
if [ ! -x "$hacks/glplanet" ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=900 install -y -qq xscreensaver-gl-extra
fi
work=$(mktemp -d)
trap 'rm -rf "$work"; [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null' EXIT
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
export DISPLAY=$display SDL_AUDIODRIVER=dummy

settle=8
rss() {  # label command...: resident memory after `settle` seconds (now, and the peak)
  local label=$1
  shift
  "$@" >/dev/null 2>&1 &
  local pid=$!
  sleep "$settle"
  echo "$label: $(awk '/VmRSS|VmHWM/ { printf "%s %.0f MB  ", $1, $2 / 1024 }' "/proc/$pid/status")"
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null || true
}

show() {  # build: its settings file
  printf '[Software\\Voidrift 3D Screensaver]\nEnableMusic=1\nShowClock=1\nShowFPS=1\nMaxFps=60\nPath=%s\n' \
    "$(cd "$1/data" && pwd)" >"$work/settings.ini"
  export VOIDRIFT_CONFIG="$work/settings.ini"
}

first_frame() {  # build: seconds from the start to the first animated frame on disk
  show "$1"
  rm -rf "$work/frames"
  local t0
  t0=$(date +%s.%N)
  "$1/src/app/voidrift" --record "$work/frames" --frames 1 --size 1024x768 --seed 1 >/dev/null 2>&1
  awk -v a="$t0" -v b="$(stat -c %.9Y "$work/frames/frame-00000.png")" 'BEGIN { printf "%.3f s", b - a }'
}

for round in $(seq "$rounds"); do
  echo "== round $round"
  for build in "$old" "$new"; do
    show "$build"
    rss "voidrift $build" "$build/src/app/voidrift" --benchmark 30 --size 1024x768 --seed 1 --max-fps 60
    echo "  first animated frame: $(first_frame "$build")"
  done
  rss "glplanet" "$hacks/glplanet"
  rss "atlantis" "$hacks/atlantis"
done
