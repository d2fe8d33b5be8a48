#!/usr/bin/env bash
# The picture of two builds side by side at a size the CI test does not reach: every
# world's opening recorded by both at a fixed seed and step, frame by frame compared
# (ImageMagick's PSNR; "inf" is identical).
#   bench/picture_compare.sh OLD_BUILD NEW_BUILD [SIZE] [FRAMES] [STEP]
#   (default 1920x1080, 3 frames, 2.5 s apart)
set -euo pipefail
old=$1 new=$2 size=${3:-1920x1080} frames=${4:-3} step=${5:-2.5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=offscreen VOIDRIFT_CONFIG="$work/settings.ini"
scenes="blue_galaxy:scene0.txt green_galaxy:scene1.txt red_galaxy:scene2.txt giant:a0.txt
        lava:a0.txt ice:a0.txt nebula:a0.txt station:a0.txt"
for scene in $scenes; do
  world=${scene%%:*}
  for build in "$old" "$new"; do
    printf '[Software\\Voidrift 3D Screensaver]\nEnableMusic=0\nShowClock=0\nShowFPS=0\nPath=%s\n' \
      "$(cd "$build/data" && pwd)" >"$work/settings.ini"
    out="$work/$([ "$build" = "$old" ] && echo old || echo new)/$world"
    env -u DISPLAY -u WAYLAND_DISPLAY "$build/src/app/voidrift" --record "$out" --frames "$frames" --no-loading \
      --size "$size" --fixed-dt "$step" --seed 7 --scene "$scene" >/dev/null
  done
  line="$world:"
  for ((k = 1; k < frames; ++k)); do
    f=$(printf 'frame-%05d.png' "$k")
    line+=" $(compare -metric PSNR "$work/old/$world/$f" "$work/new/$world/$f" null: 2>&1 || true)"
  done
  echo "$line"
done
