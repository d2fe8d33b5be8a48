#!/usr/bin/env bash
# The same picture whatever the drawing code does to go faster: every world's first scene
# is recorded at a fixed seed and step and each frame is compared with the frame the
# reference drawing recorded (the PNGs beside this script). A frame passes when it is
# identical or its PSNR is at least 45 dB, the room a changed drawing order leaves for
# rounding. The clock and the frame rate stay off: they change from run to run.
# Then a run through several worlds, textures built as the show goes, against one with
# every texture loaded at start.
# Usage: picture_test.sh VOIDRIFT DATA_DIR            compare
#        picture_test.sh VOIDRIFT DATA_DIR --record   write the references anew
set -euo pipefail
voidrift=$1 data=$2 mode=${3:-compare}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy VOIDRIFT_CONFIG="$work/settings.ini"
printf '[Software\\Voidrift 3D Screensaver]\nEnableMusic=0\nShowClock=0\nShowFPS=0\nVSync=0\nPath=%s\n' \
  "$(cd "$data" && pwd)" >"$work/settings.ini"

# One opening per world of the shipped show, as worlds.txt lists them.
scenes="blue_galaxy:scene0.txt green_galaxy:scene1.txt red_galaxy:scene2.txt giant:a0.txt
        lava:a0.txt ice:a0.txt nebula:a0.txt station:a0.txt"
frames=3 step=2.5 size=200x150 minimum=45
failed=0
for scene in $scenes; do
  world=${scene%%:*}
  env -u DISPLAY -u WAYLAND_DISPLAY "$voidrift" --record "$work/$world" --frames "$frames" --no-loading \
    --size "$size" --fixed-dt "$step" --seed 7 --scene "$scene" >/dev/null
  for ((k = 1; k < frames; ++k)); do  # frame 0 is the scene's first, black, fade-in frame
    frame=$(printf '%s/%s/frame-%05d.png' "$work" "$world" "$k")
    reference="$here/$world-$k.png"
    if [ "$mode" = --record ]; then
      cp "$frame" "$reference"
      continue
    fi
    [ -f "$reference" ] || { echo "FAIL: no reference $reference"; failed=1; continue; }
    psnr=$(compare -metric PSNR "$reference" "$frame" null: 2>&1 || true)
    if [ "$psnr" = inf ]; then
      echo "$world frame $k: identical"
    elif awk -v p="$psnr" -v m="$minimum" 'BEGIN { exit !(p + 0 >= m) }'; then
      echo "$world frame $k: PSNR $psnr dB"
    else
      echo "FAIL: $world frame $k differs from its reference: PSNR $psnr dB (at least $minimum wanted)"
      cp "$frame" "/tmp/picture-test-$world-$k.png" && echo "  (kept as /tmp/picture-test-$world-$k.png)"
      failed=1
    fi
  done
done

# Worlds after the first have their textures built while the show runs, a band a frame,
# or at once when their scene comes too soon. A show that goes through several worlds
# must look as it does with every texture loaded at start.
if [ "$mode" != --record ]; then
  for loading in lazy eager; do
    eager=()
    [ "$loading" = eager ] && eager=(VOIDRIFT_EAGER_TEXTURES=1)
    env -u DISPLAY -u WAYLAND_DISPLAY "${eager[@]}" "$voidrift" --record "$work/$loading" --frames 240 \
      --no-loading --size 160x90 --fixed-dt 0.6 --seed 1 >/dev/null
  done
  differing=0
  for frame in "$work"/eager/frame-*.png; do
    [ "$(compare -metric AE "$frame" "$work/lazy/${frame##*/}" null: 2>&1)" = 0 ] || differing=$((differing + 1))
  done
  echo "through the worlds, textures built as the show goes: $differing of 240 frames differ"
  [ "$differing" -eq 0 ] || failed=1
fi
[ "$failed" -eq 0 ] && echo PASS
exit "$failed"
