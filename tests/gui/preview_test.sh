#!/usr/bin/env bash
# The preview for real, under an Xvfb of its own: "/p ID" covers a small window of another
# program with black and the preview picture at (0, 0), draws it again after the window
# was unmapped and mapped, and follows its size; once the window is 320 pixels wide (at
# the start or later) the live show takes its place, and ends with its window; a missing
# or bogus id gives "Cannot creat window!" and exit code 1, with no box.
#   preview_test.sh VOIDRIFT PREVIEW_AREA PREVIEW_BMP
source "$(dirname "$0")/session.sh"
voidrift="$1"
area_program="$2"
picture="$3"

code=0
env -u DISPLAY "$voidrift" /p 2>"$WORK/stderr" || code=$?
[ "$code" = 1 ] && grep -q "Cannot creat window!" "$WORK/stderr" || fail "/p without an id: $code, $(cat "$WORK/stderr")"

start_xvfb 800x600

# A bogus id, "0", garbage: the message on stderr and exit 1 at once, no box for nobody to
# close (the settings panel that started us waits for our end).
for id in 0x1fffff0 0 garbage; do
    "$voidrift" /p "$id" 2>"$WORK/stderr" &
    pid=$!
    started_pids+=("$pid")
    wait_exit "$pid" 10 "the preview of window $id"
    [ "$exit_code" = 1 ] && grep -q "Cannot creat window!" "$WORK/stderr" || fail "/p $id: $exit_code, $(cat "$WORK/stderr")"
done
! xwininfo -root -tree | grep -q '"ERROR"' || fail "a box for a window that cannot be used"

# open_preview WIDTH HEIGHT X Y: a preview area of that size and place on the screen, and
# "/p" into it; sets area and pid.
open_preview() {
    local reply="$WORK/area-$3-$4"
    rm -f "$reply"  # not an earlier area's id
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

# The build's own data, and music on: a live preview must still not ask for it.
export VOIDRIFT_CONFIG="$WORK/settings.ini" XDG_RUNTIME_DIR="$WORK/run"
printf '[Software\\Voidrift 3D Screensaver]\nEnableMusic=1\n' >"$VOIDRIFT_CONFIG"
mkdir -m 700 "$WORK/run"

# The panel's preview area: 200 x 150 at (20, 30) on the screen.
open_preview 200 150 20 30
for _ in $(seq 100); do
    xwininfo -id "$area" -children | grep -q '"Qenn"' && break
    sleep 0.05
done

# picture_drawn WIDTH HEIGHT: whether the area at (20, 30) shows the picture at its
# top-left corner and black beside it, out to WIDTH x HEIGHT; says what differs.
picture_drawn() {
    import -window root -crop "$1x$2+20+30" "$WORK/screen.png"
    for place in "0 0" "154 114" "77 57" "10 100"; do
        # shellcheck disable=SC2086
        [ "$(pixel "$WORK/screen.png" $place)" = "$(pixel "$picture" $place)" ] ||
            { mismatch="pixel ($place) is $(pixel "$WORK/screen.png" $place), the picture has $(pixel "$picture" $place)"; return 1; }
    done
    for place in "155 0" "$(($1 - 1)) $(($2 - 1))" "0 115"; do
        # shellcheck disable=SC2086
        [ "$(pixel "$WORK/screen.png" $place)" = "0,0,0" ] || { mismatch="pixel ($place) beside the picture is not black"; return 1; }
    done
}

# The drawing comes after the window's events: wait for it rather than a fixed time.
check_picture() {
    for _ in $(seq 40); do
        picture_drawn "${2:-200}" "${3:-150}" && return
        sleep 0.25
    done
    fail "$1: $mismatch"
}
check_picture "first drawing"
xdotool windowunmap --sync "$area" windowmap --sync "$area"
check_picture "after exposure"

# The picture follows its area as it grows, up to the width of the live show.
xdotool windowsize --sync "$area" 300 200
check_picture "after a resize" 300 200

# live_or_picture AREA: "picture" once the picture's window is in the area, "live" once
# something else drew there (the show's first image), waiting up to 30 s.
live_or_picture() {
    local size
    size=$(xwininfo -id "$1" | awk '/Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 }
        /Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h "+" x "+" y }')
    for _ in $(seq 120); do
        # The picture's window comes before its drawing: look for it after the snap.
        import -window root -crop "$size" "$WORK/kind.png"
        xwininfo -id "$1" -children | grep -q '"Qenn"' && { echo picture; return; }
        [ "$(identify -format %k "$WORK/kind.png")" -gt 1 ] && { echo live; return; }
        sleep 0.25
    done
    echo none
}

# 320 pixels wide: the live show takes over the same process, quiet whatever the settings
# say (the user there looks at the settings): it never asks for the music.
xdotool windowsize --sync "$area" 400 300
for _ in $(seq 60); do
    ! xwininfo -id "$area" -children | grep -q '"Qenn"' && break
    sleep 0.25
done
# The show draws once its data is read: slow in a sanitizer build.
for _ in $(seq 60); do
    sleep 0.5
    import -window root -crop 400x300+20+30 "$WORK/live.png"
    colours=$(identify -format %k "$WORK/live.png")
    [ "$colours" -gt 100 ] && break
done
! xwininfo -id "$area" -children | grep -q '"Qenn"' || fail "the grown area kept the picture, not the show"
[ "$colours" -gt 100 ] && [ "$(pixel "$WORK/live.png" 200 150)" != "128,128,128" ] ||
    fail "the live show drew nothing into the grown area ($colours colours)"
# The music would start with the loading animation, after the first (still) image.
for _ in $(seq 60); do
    import -window root -crop 400x300+20+30 "$WORK/moved.png"
    [ "$(compare -metric AE "$WORK/live.png" "$WORK/moved.png" null: 2>&1 || true)" != 0 ] && break
    sleep 0.5
done
[ ! -e "$WORK/run/voidrift-music.lock" ] || fail "the live preview asked for the music"
xdotool windowkill "$area"
wait_exit "$pid" 5 "the live preview after its window went"  # a frame on a busy software renderer can be slow
[ "$exit_code" = 0 ] || fail "the live preview ended with $exit_code: $(cat "$WORK/stderr")"

# The choice at the start: the live show from 320 pixels on.
for width in 319 320 321; do
    open_preview "$width" 100 300 $((width - 200))
    kind=$(live_or_picture "$area")
    expected=live
    [ "$width" -lt 320 ] && expected=picture
    [ "$kind" = "$expected" ] || fail "an area $width pixels wide got $kind, not $expected"
    xdotool windowkill "$area"
    wait_exit "$pid" 10 "the preview of the $width pixel area after its window went"
    [ "$exit_code" = 0 ] || fail "the preview of the $width pixel area ended with $exit_code: $(cat "$WORK/stderr")"
done
# A window that goes while the preview starts: the run ends at once, and when it could not
# open, it says so as for a bad id, whatever the moment (a sweep over the start-up, as a
# busy machine moves each moment).
for delay in $(LC_ALL=C seq 0 0.03 0.3); do
    open_preview 400 300 300 200
    sleep "$delay"
    xdotool windowkill "$area"
    wait_exit "$pid" 10 "the preview whose window went after $delay s"
    [ "$exit_code" = 0 ] || { [ "$exit_code" = 1 ] && grep -q "Cannot creat window!" "$WORK/stderr"; } ||
        fail "the preview whose window went after $delay s: $exit_code, $(cat "$WORK/stderr")"
done
echo "preview test passed"
