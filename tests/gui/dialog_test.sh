#!/usr/bin/env bash
# The configuration dialog for real, under an Xvfb of its own: it opens with its title and
# shows a picture and controls; Escape leaves the settings file as it was, byte for byte;
# Restore Defaults, a check box and Enter (OK) store the defaults and keep the lines the
# program does not own; Visit opens the help page; without a display it says so and exits
# with 1; a settings file that is a FIFO is named and left alone.
#   dialog_test.sh VOIDRIFT
source "$(dirname "$0")/session.sh"
voidrift="$1"
title="Voidrift 3D ScreenSaver Configuration"
export VOIDRIFT_CONFIG="$WORK/settings.ini"
cat >"$VOIDRIFT_CONFIG" <<'INI'
; written by hand
[Software\Voidrift 3D Screensaver]
ShowClock=0
EnableMusic=0
UseDesktop=0
ShowFlame=1
DefGamma=0
Width=1024
Height=768
Depth=16
Volume=37
TimeScale=2
Gamma=12
Galaxy=0
VSync=1
MouseExit=1
ShowFPS=1
Path=/nowhere
Unknown=kept
[Other Key]
Width=1
INI
cp "$VOIDRIFT_CONFIG" "$WORK/before.ini"

# No display: a message, exit code 1, no crash.
code=0
env -u DISPLAY "$voidrift" /c 2>"$WORK/stderr" || code=$?
[ "$code" = 1 ] || fail "without a display /c exits with $code"
grep -q "display" "$WORK/stderr" || fail "without a display /c says: $(cat "$WORK/stderr")"

start_xvfb 1280x1024

# open_dialog: starts voidrift /c, sets pid, window, and the pixels per dialog unit.
open_dialog() {
    "$voidrift" /c 2>>"$WORK/voidrift.log" &
    pid=$!
    started_pids+=("$pid")
    window="$(find_window "$title")"
    [ -n "$window" ] || fail "no window titled \"$title\""
    eval "$(xdotool getwindowgeometry --shell "$window")"
    sleep 1  # mapped is not yet drawn and listening
}

# across UNITS, down UNITS: dialog units in pixels of this window (386 x 238 units).
across() { awk -v u="$1" -v w="$WIDTH" 'BEGIN { printf "%.0f", u * w / 386 }'; }
down() { awk -v u="$1" -v h="$HEIGHT" 'BEGIN { printf "%.0f", u * h / 238 }'; }

# click X Y: a left click at a place in dialog units.
click() {
    xdotool mousemove --window "$window" "$(across "$1")" "$(down "$2")" click 1
    sleep 0.3
}

# brightness X Y WIDTH HEIGHT: the mean brightness (0..1) of an area in dialog units.
brightness() {
    convert "$WORK/dialog.png" -crop "$(across "$3")x$(down "$4")+$(across "$1")+$(down "$2")" -format "%[fx:mean]" info:
}

open_dialog
import -window "$window" "$WORK/dialog.png"
colours=$(identify -format %k "$WORK/dialog.png")
[ "$colours" -gt 500 ] || fail "the dialog shows only $colours colours"
[ "$WIDTH" -gt 500 ] && [ "$HEIGHT" -gt 300 ] || fail "the dialog is only ${WIDTH}x${HEIGHT}"
# The picture's area is dark (space); the rest of the dialog is the theme's light grey.
picture=$(brightness 240 30 100 60)
buttons=$(brightness 0 190 386 45)
awk -v p="$picture" -v b="$buttons" 'BEGIN { exit !(p < 0.35 && b > 0.6) }' ||
    fail "picture area brightness $picture, button row $buttons"

xdotool windowfocus --sync "$window" key Escape
wait_exit "$pid" 5 "the dialog after Escape"
[ "$exit_code" = 0 ] || fail "Escape: exit code $exit_code"
cmp -s "$VOIDRIFT_CONFIG" "$WORK/before.ini" || fail "Escape changed the settings file: $(diff "$WORK/before.ini" "$VOIDRIFT_CONFIG")"

# Visit opens the installed help page with the desktop's handler for HTML, through GIO: a
# handler of our own, the default for text/html here, records what it was given.
mkdir -p "$WORK/xdg-data/applications" "$WORK/xdg-config"
printf '#!/bin/sh\necho "$1" >"%s/visited"\n' "$WORK" >"$WORK/visit.sh"
chmod +x "$WORK/visit.sh"
printf '[Desktop Entry]\nType=Application\nName=Visit recorder\nExec=%s %%u\nMimeType=text/html;\n' "$WORK/visit.sh" \
    >"$WORK/xdg-data/applications/visit-recorder.desktop"
printf '[Default Applications]\ntext/html=visit-recorder.desktop\n' >"$WORK/xdg-config/mimeapps.list"
export XDG_DATA_HOME="$WORK/xdg-data" XDG_CONFIG_HOME="$WORK/xdg-config"
open_dialog
click 264 173  # Visit...
for _ in $(seq 200); do [ -s "$WORK/visited" ] && break; sleep 0.05; done
[ -s "$WORK/visited" ] || fail "Visit opened nothing: $(tail -n 3 "$WORK/voidrift.log")"
grep -qE '^(file://)?/.*/share/voidrift/voidrift\.html$' "$WORK/visited" || fail "Visit opened $(cat "$WORK/visited")"
xdotool windowfocus --sync "$window" key Escape
wait_exit "$pid" 5 "the dialog after Visit and Escape"
unset XDG_DATA_HOME XDG_CONFIG_HOME

open_dialog
click 49 224   # Restore Defaults
click 214 146  # Enable Galaxy Scenes, which keeps the focus
xdotool key Return  # OK from a check box, as in the system's dialogs
wait_exit "$pid" 5 "the dialog after OK"
[ "$exit_code" = 0 ] || fail "OK: exit code $exit_code"
expected="; written by hand
[Software\\Voidrift 3D Screensaver]
ShowClock=1
EnableMusic=1
UseDesktop=1
ShowFlame=1
DefGamma=1
Width=1280
Height=1024
Depth=32
Volume=100
TimeScale=0
Gamma=50
Galaxy=1
VSync=0
MouseExit=0
ShowFPS=0
Path=/nowhere
Unknown=kept
MaxFps=-1
IdleMinutes=10
[Other Key]
Width=1"
[ "$(cat "$VOIDRIFT_CONFIG")" = "$expected" ] ||
    fail "settings after Restore Defaults and OK: $(diff <(echo "$expected") "$VOIDRIFT_CONFIG")"
# A settings file that is no regular file (a FIFO held the open for ever): the dialog opens
# with a note that says so, OK cannot store over it, and it is left as it was.
rm "$VOIDRIFT_CONFIG"
mkfifo "$VOIDRIFT_CONFIG"
open_dialog
# dismiss WINDOW: Return until the box is gone (a key before it listens would be lost).
dismiss() {
    for _ in $(seq 100); do
        xwininfo -id "$1" 2>/dev/null | grep -q IsViewable || return 0
        xdotool windowfocus --sync "$1" key Return 2>/dev/null || true
        sleep 0.2
    done
    fail "the box $1 stays"
}
note="$(find_window "Voidrift 3D Screensaver")"
[ -n "$note" ] || fail "no note about a settings file that is a FIFO"
dismiss "$note"
xdotool windowfocus --sync "$window" key Return
refused="$(find_window "Error")"
[ -n "$refused" ] || fail "OK over a FIFO said nothing"
dismiss "$refused"
xdotool windowfocus --sync "$window" key Escape
wait_exit "$pid" 5 "the dialog over a FIFO"
[ -p "$VOIDRIFT_CONFIG" ] || fail "the FIFO was replaced"
grep -q "settings.ini is not a regular file" "$WORK/voidrift.log" || fail "stderr: $(cat "$WORK/voidrift.log")"
echo "dialog test passed"
