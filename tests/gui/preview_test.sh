#!/usr/bin/env bash
# The preview for real, under an Xvfb of its own: "/p ID" covers a small window of another
# program with black and the preview picture at (0, 0), draws it again after the window
# was unmapped and mapped, and ends within 2 s of the window's destruction; a window at
# least 320 pixels wide gets the live show instead, which ends with its window too; a
# missing or bogus id gives "Cannot creat window!" and exit code 1.
#   preview_test.sh VOIDRIFT PREVIEW_AREA PREVIEW_BMP
source "$(dirname "$0")/session.sh"
voidrift="$1"
area_program="$2"
picture="$3"

code=0
env -u DISPLAY "$voidrift" /p 2>"$WORK/stderr" || code=$?
[ "$code" = 1 ] && grep -q "Cannot creat window!" "$WORK/stderr" || fail "/p without an id: $code, $(cat "$WORK/stderr")"

start_xvfb 800x600

# A bogus id: the message on stderr and in a box that OK closes.
"$voidrift" /p 0x1fffff0 2>"$WORK/stderr" &
pid=$!
started_pids+=("$pid")
box="$(find_window ERROR)"
[ -n "$box" ] || fail "no message box for a bogus id"
xdotool windowfocus --sync "$box" key Return
wait_exit "$pid" 5 "the preview after the message box"
[ "$exit_code" = 1 ] && grep -q "Cannot creat window!" "$WORK/stderr" || fail "/p with a bogus id: $exit_code, $(cat "$WORK/stderr")"

# open_preview WIDTH HEIGHT X Y: a preview area of that size and place on the screen, and
# "/p" into it; sets area and pid.
open_preview() {
    local reply="$WORK/area-$3-$4"
    "$area_program" "$@" >"$reply" 2>/dev/null &
    started_pids+=($!)
    for _ in $(seq 200); do
        [ -s "$reply" ] && break
        sleep 0.05
    done
    area="$(head -n1 "$reply")"
    [ -n "$area" ] || fail "the test window did not start"
    "$voidrift" /p "$area" 2>"$WORK/stderr" &
    pid=$!
    started_pids+=("$pid")
}

# The panel's preview area: 200 x 150 at (20, 30) on the screen.
open_preview 200 150 20 30
for _ in $(seq 100); do
    xwininfo -id "$area" -children | grep -q '"Qenn"' && break
    sleep 0.05
done

check_picture() {
    sleep 0.5
    import -window root -crop 200x150+20+30 "$WORK/screen.png"
    for place in "0 0" "154 114" "77 57" "10 100"; do
        # shellcheck disable=SC2086
        [ "$(pixel "$WORK/screen.png" $place)" = "$(pixel "$picture" $place)" ] ||
            fail "$1: pixel ($place) is $(pixel "$WORK/screen.png" $place), the picture has $(pixel "$picture" $place)"
    done
    for place in "155 0" "199 149" "0 115"; do
        # shellcheck disable=SC2086
        [ "$(pixel "$WORK/screen.png" $place)" = "0,0,0" ] || fail "$1: pixel ($place) beside the picture is not black"
    done
}
check_picture "first drawing"
xdotool windowunmap --sync "$area" windowmap --sync "$area"
check_picture "after exposure"

xdotool windowkill "$area"
wait_exit "$pid" 2 "the picture preview after its window went"
[ "$exit_code" = 0 ] || fail "the preview ended with $exit_code: $(cat "$WORK/stderr")"

# A larger area, 400 x 300 at (300, 200): the show itself draws there, no picture window.
export VOIDRIFT_CONFIG="$WORK/settings.ini"  # defaults: the build's own data
open_preview 400 300 300 200
# The show draws once its data is read: slow in a sanitizer build.
for _ in $(seq 60); do
    sleep 0.5
    import -window root -crop 400x300+300+200 "$WORK/live.png"
    colours=$(identify -format %k "$WORK/live.png")
    [ "$colours" -gt 100 ] && break
done
! xwininfo -id "$area" -children | grep -q '"Qenn"' || fail "a large area got the picture, not the show"
[ "$colours" -gt 100 ] && [ "$(pixel "$WORK/live.png" 200 150)" != "128,128,128" ] ||
    fail "the live show drew nothing into the large area ($colours colours)"
xdotool windowkill "$area"
wait_exit "$pid" 5 "the live preview after its window went"  # a frame on a busy software renderer can be slow
[ "$exit_code" = 0 ] || fail "the live preview ended with $exit_code: $(cat "$WORK/stderr")"
echo "preview test passed"
