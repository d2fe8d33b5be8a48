#!/usr/bin/env bash
# The saver's own window and boxes under an Xvfb of its own: a box shown by /s goes with
# its run when a stop signal comes, and the run says it failed; a hack with an archive it
# cannot use shows no box at all, says why on stderr and fails; /s with a stored mode the
# display cannot take still covers the whole screen, with one note.
#   saver_window_test.sh VOIDRIFT DATA_DIR
source "$(dirname "$0")/session.sh"
voidrift="$1"
data="$2"

start_xvfb 1024x768
mkdir "$WORK/cut"
head -c 300000 "$data/data.ssd" >"$WORK/cut/data.ssd"
export VOIDRIFT_CONFIG="$WORK/settings.ini"
printf '[Software\\Voidrift 3D Screensaver]\nEnableMusic=0\nPath=%s\n' "$WORK/cut" >"$VOIDRIFT_CONFIG"

# /s with a cut-short archive: the first texture it cannot load is said in a box.
"$voidrift" /s 2>"$WORK/stderr" &
pid=$!
started_pids+=("$pid")
box="$(find_window Error)"
[ -n "$box" ] || fail "/s showed no box for a cut-short archive: $(cat "$WORK/stderr")"
kill -TERM "$pid"
wait_exit "$pid" 10 "/s after SIGTERM with a box up"
[ "$exit_code" != 0 ] || fail "/s stopped with a box up reported success"
for _ in $(seq 100); do
    xwininfo -id "$box" >/dev/null 2>&1 || break
    sleep 0.05
done
! xwininfo -id "$box" >/dev/null 2>&1 || fail "the box outlived its run"

# Hack mode, on the root window as the daemon starts it: no box, the reason, exit 1.
"$voidrift" --root 2>"$WORK/stderr" &
pid=$!
started_pids+=("$pid")
wait_exit "$pid" 20 "a hack with a cut-short archive"
[ "$exit_code" = 1 ] && grep -q "ends early" "$WORK/stderr" || fail "the hack ended with $exit_code: $(cat "$WORK/stderr")"
! xwininfo -root -tree | grep -q '"Error"' || fail "the hack left a box on the daemon's screen"

# A mode this display does not have (its only one is 1024 x 768).
printf '[Software\\Voidrift 3D Screensaver]\nEnableMusic=0\nUseDesktop=0\nWidth=640\nHeight=480\nPath=%s\n' \
    "$data" >"$VOIDRIFT_CONFIG"
"$voidrift" /s 2>"$WORK/stderr" &
pid=$!
started_pids+=("$pid")
window="$(find_window "Voidrift 3D Screensaver")"
[ -n "$window" ] || fail "/s opened no window"
for _ in $(seq 100); do
    size=$(xwininfo -id "$window" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
    [ "$size" = 1024x768 ] && break
    sleep 0.05
done
[ "$size" = 1024x768 ] || fail "the window is $size, not the whole screen"
kill -TERM "$pid"
wait_exit "$pid" 10 "/s after SIGTERM"
[ "$(grep -c "cannot switch to 640 x 480" "$WORK/stderr")" = 1 ] || fail "no single note of the mode: $(cat "$WORK/stderr")"
echo "saver window test passed"
