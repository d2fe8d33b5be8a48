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
echo "No display found: recording 5 seconds of the show offscreen into $out"
SDL_VIDEODRIVER=offscreen build/src/app/voidrift --record "$out" --frames 150 --fixed-dt 0.0333 --size 800x600 "$@"
echo "Frames written to $out (frame-00000.png ...)"
