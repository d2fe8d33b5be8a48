#!/usr/bin/env bash
# Frame rate of two builds of the show, alternated round by round in one run so that a
# change in the machine's load (other people building) hits both alike; offscreen on Mesa's
# software renderer, uncapped, clock and frame rate shown. Besides the frame rate, the CPU
# time a frame takes (all renderer threads), which a busy machine disturbs less.
#   bench/frame_rate_ab.sh OLD_BUILD NEW_BUILD [SECONDS] [ROUNDS] [SIZE...]
#   (default 8 seconds, 3 rounds, 1920x1080 and 1024x768; the show's random opening, seed 1;
#    VOIDRIFT_SCENE=WORLD:FILE picks an opening instead)
set -euo pipefail
cd "$(dirname "$0")/.."
old=$1 new=$2 seconds=${3:-8} rounds=${4:-3}
shift $(( $# < 4 ? $# : 4 ))
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1920x1080 1024x768)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=offscreen
scene=()
[ -n "${VOIDRIFT_SCENE:-}" ] && scene=(--scene "$VOIDRIFT_SCENE")

run() {  # build size
  printf '[Software\\Voidrift 3D Screensaver]\nEnableMusic=0\nVSync=0\nShowFPS=1\nShowClock=1\nPath=%s\n' \
    "$(cd "$1/data" && pwd)" >"$work/settings.ini"
  local line
  line=$(VOIDRIFT_CONFIG="$work/settings.ini" /usr/bin/time -f "%U %S" -o "$work/time" "$1/src/app/voidrift" \
         --benchmark "$seconds" --no-loading --seed 1 --size "$2" "${scene[@]}")
  local frames cpu
  frames=$(sed -n 's/^frames=\([0-9]*\).*/\1/p' <<<"$line")
  cpu=$(awk -v f="$frames" '{ printf "%.1f", ($1 + $2) * 1000 / f }' "$work/time")
  echo "$(sed -n 's/.*\(fps=[0-9.]*\).*\(longest_ms=[0-9.]*\).*/\1 \2/p' <<<"$line") cpu_ms_per_frame=$cpu"
}

for size in "${sizes[@]}"; do
  for round in $(seq "$rounds"); do
    echo "$size round $round old: $(run "$old" "$size")"
    echo "$size round $round new: $(run "$new" "$size")"
  done
done
