#!/usr/bin/env bash
# Sets up, builds in Release and starts the show. Without a display it plays a few
# seconds offscreen and writes the frames to a folder it names.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/src/app/voidrift /s "$@"
fi
out="$PWD/out/frames"
mkdir -p "$out"
rm -f "$out"/frame-*.png
echo "No display found: recording the loading animation and 5 seconds of the show offscreen into $out"
# 180 loading frames (six seconds at 30 frames a second), then 150 of the show.
SDL_VIDEODRIVER=offscreen build/src/app/voidrift --record "$out" --frames 330 --fixed-dt 0.0333 --size 800x600 "$@"
echo "Frames written to $out (frame-00000.png ...)"
