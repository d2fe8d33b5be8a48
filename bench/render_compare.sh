#!/usr/bin/env bash
# Frame rate of the shipped show next to Debian's XScreenSaver glplanet, in one run on the
# same machine, at 1024 x 768 on Mesa's software renderer; then a heap profile showing
# whether the steady state allocates per frame.
#   bench/render_compare.sh [BUILD_DIR] [SECONDS] [ROUNDS]
# Needs: BUILD_DIR/src/app/voidrift and BUILD_DIR/data/data.ssd (a Release build), xvfb-run,
# /usr/libexec/xscreensaver/glplanet (package xscreensaver-gl-extra), optionally heaptrack.
set -uo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
seconds="${2:-20}"
rounds="${3:-3}"
voidrift="$build/src/app/voidrift"
data="$PWD/$build/data"
glplanet=/usr/libexec/xscreensaver/glplanet
[ -x "$voidrift" ] && [ -f "$data/data.ssd" ] || { echo "need $voidrift and $data/data.ssd" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The show's own settings, music off so only drawing is measured.
printf '[Software\\Voidrift 3D Screensaver]\nPath=%s\nEnableMusic=0\nVSync=0\nShowFPS=1\nShowClock=1\n' "$data" \
    > "$work/settings.ini"
export VOIDRIFT_CONFIG="$work/settings.ini" SDL_AUDIODRIVER=dummy
cc -shared -fPIC -O2 -o "$work/swap_counter.so" bench/swap_counter.c -ldl

show=(--benchmark "$seconds" --no-loading --size 1024x768 --seed 1)
xvfb=(xvfb-run -a -s "-screen 0 1024x768x24")

# Alternating rounds, so a change in the machine's load hits both programs alike.
for round in $(seq "$rounds"); do
    echo "== round $round"
    echo "voidrift offscreen: $(env -u DISPLAY SDL_VIDEODRIVER=offscreen "$voidrift" "${show[@]}")"
    echo "voidrift Xvfb:      $("${xvfb[@]}" "$voidrift" "${show[@]}")"
    if [ -x "$glplanet" ]; then
        echo "glplanet Xvfb:      $("${xvfb[@]}" env LD_PRELOAD="$work/swap_counter.so" timeout "$seconds" \
            "$glplanet" -root -delay 0 2>&1 | grep swap_counter)"
    fi
done

if command -v heaptrack > /dev/null; then
    # Two recorded runs of different length with a fixed frame time: allocations that
    # grow with the frame count would be per-frame ones.
    for frames in 300 900; do
        env -u DISPLAY SDL_VIDEODRIVER=offscreen heaptrack -o "$work/heap$frames" "$voidrift" \
            --frames "$frames" --fixed-dt 0.0166667 --no-loading --size 320x240 --seed 1 > /dev/null 2>&1
        file=$(ls "$work"/heap"$frames"*.zst "$work"/heap"$frames"*.gz 2>/dev/null | head -1)
        echo "== heap, $frames frames: $(heaptrack_print -f "$file" 2>/dev/null | grep -E '^calls to allocation functions')"
    done
fi
