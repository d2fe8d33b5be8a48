#!/usr/bin/env bash
# The GLES layer keeps to GL 1.1: for every world of worlds.txt, one frame a few seconds
# into its first scene, recorded by both renderers at the same seed and step, must match
# to a PSNR of at least 50 dB over the whole frame (flares, lights, fog, chrome, sky domes
# and sprites all on show; a wrong light, blend or flare visibility costs far more).
# A copy of voidrift without voidrift-gles beside it refuses --renderer gles.
# Usage: renderer_match_test.sh VOIDRIFT DATA_DIR SOURCE_DIR
set -euo pipefail
voidrift=$1 data=$2 source=$3
threshold=50
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy VOIDRIFT_CONFIG="$work/settings.ini"
printf '[Software\\Voidrift 3D Screensaver]\nEnableMusic=0\n' >"$work/settings.ini"

# Without voidrift-gles beside it, the program says so and fails rather than drawing with GL.
mkdir "$work/alone"
cp "$voidrift" "$work/alone/voidrift"
status=0
"$work/alone/voidrift" --renderer gles --frames 1 --data "$data" >/dev/null 2>"$work/err" || status=$?
[ "$status" -eq 1 ] && grep -q "gles renderer is not available" "$work/err" \
  || { cat "$work/err"; echo "FAIL: a missing GLES program ended with $status"; exit 1; }

failed=0
worlds=0
while read -r key value; do
  case $key in
    world) world=$value ;;
    scenedir)
      dir=${value%\\}
      scene=$(ls "$source/content/scenes/$dir" | sort | head -1)
      scene=${scene%.scn}.txt
      for renderer in gl gles; do
        "$voidrift" --renderer $renderer --record "$work/$world-$renderer" --frames 12 --fixed-dt 0.25 --seed 5 \
          --no-loading --no-clock --size 320x240 --scene "$world:$scene" --data "$data" >/dev/null 2>"$work/err" \
          || { cat "$work/err"; echo "FAIL: $world with the $renderer renderer"; exit 1; }
      done
      frame=frame-00011.png
      psnr=$(compare -metric PSNR "$work/$world-gl/$frame" "$work/$world-gles/$frame" null: 2>&1 || true)
      echo "$world ($scene): PSNR $psnr dB"
      # "inf" for identical frames.
      awk -v p="$psnr" -v t=$threshold 'BEGIN { exit !(p == "inf" || p + 0 >= t) }' || failed=1
      worlds=$((worlds + 1))
      ;;
  esac
done <"$source/content/scripts/worlds.txt"
[ "$worlds" -ge 8 ] || { echo "FAIL: only $worlds worlds read from worlds.txt"; exit 1; }
[ "$failed" -eq 0 ] || { echo "FAIL: a world's frames differ below $threshold dB"; exit 1; }
