#!/usr/bin/env bash
# The real XScreenSaver daemon under Xvfb, with a ~/.xscreensaver naming only our hack:
# -activate starts it, the screen shows the letterboxed show (black bars, a lit middle),
# -deactivate ends it within 2 seconds, with no core dump and at most one line on stderr.
# The daemon refuses to run as root: as root, the test makes an ordinary user and runs as
# that user. With SHOT=FILE set, the screen is also saved there (the README's picture).
# Usage: xscreensaver_test.sh VOIDRIFT X11_TEST_WINDOW
set -euo pipefail
voidrift=$(realpath "$1") helper=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
test_user=voidrift-test

if [ "$(id -u)" -eq 0 ]; then
  id "$test_user" >/dev/null 2>&1 || useradd --create-home --shell /bin/bash "$test_user"
  shot_dir=""
  if [ -n "${SHOT:-}" ]; then
    shot_dir=$(mktemp -d)
    chmod 777 "$shot_dir"
  fi
  status=0
  runuser -u "$test_user" -- env PATH="$PATH" SHOT="${shot_dir:+$shot_dir/shot.png}" \
    "$here/xscreensaver_test.sh" "$voidrift" "$helper" || status=$?
  if [ -n "$shot_dir" ]; then
    [ -f "$shot_dir/shot.png" ] && cp "$shot_dir/shot.png" "$SHOT"
    rm -rf "$shot_dir"
  fi
  exit "$status"
fi

WORK=$(mktemp -d)
source "$here/xvfb.sh"
daemon="" hack=""
cleanup() {
  [ -n "$daemon" ] && kill "$daemon" 2>/dev/null
  [ -n "$hack" ] && kill "$hack" 2>/dev/null
  stop_xvfb
  [ -n "${KEEP_WORK:-}" ] && echo "kept $WORK" || rm -rf "$WORK"
}
trap cleanup EXIT
export HOME="$WORK/home" SDL_AUDIODRIVER=dummy
unset XDG_CONFIG_HOME VOIDRIFT_CONFIG SDL_VIDEODRIVER XSCREENSAVER_WINDOW
mkdir -p "$HOME"
cd "$HOME"
start_xvfb 1024x768

# No settings file: the hack finds its data from its own place. The clock lives in the
# bars; the loading screen has none.
cat >"$HOME/.xscreensaver" <<CONFIG
mode:		one
selected:	0
timeout:	1:00:00
lock:		False
fade:		False
unfade:		False
splash:		False
dpmsEnabled:	False
programs:	GL: $voidrift --root --no-clock --no-music --no-loading --seed 3 2>>$WORK/hack.err \\n
CONFIG

xscreensaver --no-splash >"$WORK/daemon.out" 2>"$WORK/daemon.err" &
daemon=$!
# A loaded machine (the sanitizer run) can take many seconds to start the daemon.
for _ in $(seq 400); do
  xscreensaver-command -time >/dev/null 2>&1 && break
  sleep 0.1
done
xscreensaver-command -activate >/dev/null || fail "xscreensaver-command -activate failed"

# The show is on once the screen is lit and moving (the loading image stands still):
# three lit pictures in a row, each different from the one before.
shot="" previous="" moving=0
for _ in $(seq 90); do
  shot=$("$helper" snap-root "$WORK/screen.png")
  if [ "$(field "$shot" left)" -gt 1000 ] && [ "$(field "$shot" right)" -gt 1000 ] && [ "$shot" != "$previous" ]; then
    moving=$((moving + 1))
  else
    moving=0
  fi
  [ "$moving" -ge 3 ] && break
  previous=$shot
  sleep 0.3
done
echo "screen under the daemon: $shot"
hack=$(pgrep -u "$(id -u)" -x voidrift | head -1) || fail "the daemon did not start voidrift"
[ "$(field "$shot" bars)" -eq 0 ] || fail "lit pixels in the letterbox bars: $shot"
[ "$moving" -ge 3 ] || fail "the show is not on the screen: $shot"
if [ -n "${SHOT:-}" ]; then
  sleep "${SHOT_DELAY:-0}"
  "$helper" snap-root "$SHOT"
fi

xscreensaver-command -deactivate >/dev/null || fail "xscreensaver-command -deactivate failed"
started=$(date +%s%N)
gone=no
for _ in $(seq ${DEACTIVATE_WAIT:-40}); do
  # Ended: gone, or a zombie (the daemon's helper that started it is gone too, and in a
  # container nobody may reap it).
  case "$(ps -o stat= -p "$hack" 2>/dev/null)" in "" | Z*) gone=yes; break ;; esac
  sleep 0.05
done
echo "voidrift ended $(( ($(date +%s%N) - started) / 1000000 )) ms after -deactivate"
[ "$gone" = yes ] || fail "voidrift still runs 2 seconds after -deactivate"
ls "$HOME"/core* "$WORK"/core* >/dev/null 2>&1 && fail "a core dump was left"
touch "$WORK/hack.err"
if [ "$(wc -l <"$WORK/hack.err")" -gt 1 ]; then
  cat "$WORK/hack.err"
  fail "the hack wrote more than one line on stderr"
fi
echo PASS
