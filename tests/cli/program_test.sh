#!/usr/bin/env bash
# The program as a user meets it on the command line: --help and --version, the usage
# on a bad option, the frame-rate cap, and the "Path" setting written with blanks around
# it by hand (a copy of the program that finds no data of its own must use it).
# Usage: program_test.sh VOIDRIFT DATA_DIR
set -euo pipefail
voidrift=$1 data=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy VOIDRIFT_CONFIG="$work/settings.ini"
printf '[Software\\Voidrift 3D Screensaver]\nEnableMusic=0\nShowClock=0\n' >"$work/settings.ini"

"$voidrift" --help >"$work/help" || fail "--help did not exit 0"
for option in --root --window-id -fps --speed --music --no-music --volume --no-clock --no-galaxy \
              --max-fps --data --record --frames --benchmark --help --version; do
  grep -q -- "^ *[^ ]*$option\b" "$work/help" || grep -q -- " $option\b" "$work/help" || fail "--help says nothing of $option"
done
[ "$("$voidrift" --version)" = "voidrift $(sed -n 's/^project(Voidrift VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")" ] \
  || fail "--version does not print the project's version"
status=0
"$voidrift" --speed slow >"$work/out" 2>"$work/err" || status=$?
[ "$status" -eq 2 ] || fail "a bad option ended with $status, not 2"
[ ! -s "$work/out" ] && grep -q "^usage: voidrift" "$work/err" || fail "the usage did not go to stderr"

# A copy of the program alone in a folder finds its data only through "Path".
mkdir "$work/alone"
cp "$voidrift" "$work/alone/voidrift"
printf '[Software\\Voidrift 3D Screensaver]\nEnableMusic=0\nShowClock=0\nPath=  %s \t\n' "$(cd "$data" && pwd)" >"$work/settings.ini"
(cd "$work" && alone/voidrift --check-data >"$work/check" 2>&1) || { cat "$work/check"; fail "data not found through a Path with blanks around it"; }

# The cap: a small offscreen view runs well above 30 frames a second uncapped, unless the
# machine is too busy to tell (then the cap cannot be checked: skipped, not passed).
rate() { sed -n 's/.* fps=\([0-9]*\)\..*/\1/p' <<<"$1"; }
free=$("$voidrift" --benchmark 3 --no-loading --size 160x120 --seed 3 --max-fps 0)
capped=$("$voidrift" --benchmark 5 --no-loading --size 160x120 --seed 3 --max-fps 30)
echo "uncapped: $free"
echo "capped at 30: $capped"
if [ "$(rate "$free")" -lt 34 ]; then
  echo "SKIP: the machine is too busy to run faster than the cap ($free)"
  exit 77
fi
[ "$(rate "$capped")" -ge 28 ] && [ "$(rate "$capped")" -le 30 ] || fail "capped at 30, ran at: $capped"

echo PASS
