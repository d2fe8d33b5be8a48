#!/usr/bin/env bash
# The Windows settings dialog, preview and setup program, end to end under Wine on a
# private Xvfb display: keyboard input through the real dialog into the registry, the
# preview (picture and live show) inside a stand-in control panel window, the
# missing-handle message, and a silent install, run and uninstall. Expects
# scripts/build-windows.sh to have run. Prints one line per check; exits 1 when any failed.
# Then Visit's help page, the quiet preview, and the dialog and a recorded frame at 192 DPI.
#   scripts/test-windows-dialog.sh [SHOT-96.png [SHOT-192.png]]   also keeps the dialog's screenshots
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
screenshot_copy=${1:-}
screenshot_192_copy=${2:-}

source scripts/wine-session.sh

install_wine_packages imagemagick

work=$(mktemp -d /tmp/voidrift-wine-dialog-XXXXXX)
trap 'stop_wine_session; rm -rf "$work"' EXIT
# Room for the dialog at 200 %, as a screen set to 200 % has.
start_wine_session "$work" 2048x1536x24
# No window manager here: Wine draws the captions and frames itself, as Windows would.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1

scr="$root/build-windows/voidrift.scr"
key='HKCU\Software\Voidrift 3D Screensaver'
failures=0

settings_now() { wine reg query "$key" 2>/dev/null | tr -d '\r' | grep REG_ | sort; }

find_window() {  # name: the X window id once it is mapped (15 s at most)
  local i id
  for i in $(seq 150); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) || true
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

ended_within() {  # pid seconds
  local i
  for i in $(seq $(($2 * 10))); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.1
  done
  echo "still running after $2 s"
  kill "$1" 2>/dev/null
  return 1
}

# Opens the dialog, types the keys into it and waits for it to close.
dialog_keys() {  # key...
  wine "$scr" /c >"$work/dialog.out" 2>&1 &
  local pid=$! id
  id=$(find_window "Voidrift 3D ScreenSaver Configuration") || { echo "no dialog window"; return 1; }
  sleep 1
  xdotool windowfocus --sync "$id" 2>/dev/null || true
  import -window root "$work/dialog.png"
  xdotool key --delay 150 "$@"
  ended_within "$pid" 10
}

# OK stores every value the dialog shows; from there, one check box changed by keyboard
# (OK, Cancel, then the first enabled check box, "Use Desktop Settings", as the mode list
# is disabled while it is on) is the only difference.
keyboard_change_stored() {
  wine reg add "$key" /v UseDesktop /t REG_DWORD /d 1 /f >/dev/null 2>&1
  dialog_keys Return || return 1
  settings_now >"$work/before"
  grep -q 'UseDesktop.*0x1' "$work/before" || { cat "$work/before"; return 1; }
  dialog_keys Tab Tab space Return || return 1
  settings_now >"$work/after"
  diff "$work/before" "$work/after" >"$work/diff" && { echo "nothing changed"; return 1; }
  cat "$work/diff"
  [ "$(grep -c '^>' "$work/diff")" = 1 ] && grep -q '^> *UseDesktop *REG_DWORD *0x0$' "$work/diff"
}
check "dialog: Tab Tab space Enter stores exactly UseDesktop off" keyboard_change_stored

escape_stores_nothing() {
  settings_now >"$work/before"
  dialog_keys Tab Tab space Tab space Escape || return 1
  settings_now >"$work/after"
  diff "$work/before" "$work/after"
}
check "dialog: changes then Escape store nothing" escape_stores_nothing

face_share() {  # the share of the screenshot that is the dialog's grey face
  convert "$work/dialog.png" -fill white -fuzz 2% -opaque '#f0f0f0' -fill black +opaque white -format '%[fx:mean]' info:
}
screenshot_shows_dialog() {
  # The dialog's grey face fills a good part of the otherwise black root window.
  face_96=$(face_share)
  echo "share of dialog face: $face_96"
  awk -v g="$face_96" 'BEGIN { exit !(g > 0.04) }'
  [ -z "$screenshot_copy" ] || cp "$work/dialog.png" "$screenshot_copy"
}
check "dialog: screenshot shows it" screenshot_shows_dialog

check "preview: QennPreview child covers the area, ends with it" \
  wine "$root/build-windows/preview_host.exe" "$(windows_path "$scr")"
check "preview: a wide area gets the live show, which ends with it" \
  wine "$root/build-windows/preview_host.exe" "$(windows_path "$scr")" live

preview_without_handle() {
  wine "$scr" /p >"$work/nohandle.out" 2>&1 &
  local pid=$! id
  id=$(find_window ERROR) || { echo "no ERROR box"; cat "$work/nohandle.out"; return 1; }
  grep -q 'Cannot creat window!' "$work/nohandle.out" || { cat "$work/nohandle.out"; return 1; }
  xdotool windowfocus --sync "$id" 2>/dev/null || true
  xdotool key Return
  ended_within "$pid" 10
}
check "preview: /p without a handle says Cannot creat window!" preview_without_handle

# The setup program into a folder of our own, silently; the installed screensaver finds its
# data through "Path" when started elsewhere; the uninstaller takes it all away again.
install_dir="$work/installed"
install_run_uninstall() {
  local target
  target=$(windows_path "$install_dir")
  wine reg delete "$key" /f >/dev/null 2>&1 || true
  wine "$root/build-windows/VoidriftSetup.exe" /S "/D=$target" || return 1
  [ -f "$install_dir/voidrift.scr" ] && [ -f "$install_dir/data.ssd" ] && [ -f "$install_dir/voidrift.html" ] ||
    { ls -la "$install_dir"; return 1; }
  wine reg query "$key" /v Path | tr -d '\r' | grep -qF "$target" || { wine reg query "$key"; return 1; }
  wine reg query 'HKCU\Control Panel\Desktop' /v SCRNSAVE.EXE | tr -d '\r' | grep -qiF "voidrift.scr" || return 1
  mkdir -p "$work/elsewhere"
  (cd "$work/elsewhere" && wine "$install_dir/voidrift.scr" /s --frames 2 --no-loading --size 320x240 \
     --record "$(windows_path "$work/frames")") || return 1
  ls "$work/frames"/frame-00001.png || return 1
  # The uninstaller runs on from a copy of itself and returns at once: wait for its work.
  wine "$install_dir/uninstall.exe" /S || return 1
  local i
  for i in $(seq 100); do
    [ -e "$install_dir" ] || break
    sleep 0.2
  done
  if [ -e "$install_dir" ]; then ls -la "$install_dir"; return 1; fi
  if wine reg query "$key" >/dev/null 2>&1; then echo "settings key left"; return 1; fi
  if wine reg query 'HKCU\Control Panel\Desktop' /v SCRNSAVE.EXE >/dev/null 2>&1; then
    echo "screensaver choice left"
    return 1
  fi
}
check "setup: silent install, run with Path from the registry, uninstall" install_run_uninstall

# Visit hands the help page beside the program to the system's handler for .html files
# (Wine's browser, which passes it on to the desktop's xdg-open: ours records what it gets).
# A fresh prefix without Gecko has no handler for .html: the one a browser would register.
visit_opens_help_page() {
  wine reg add 'HKCR\.html' /ve /d htmlfile /f >/dev/null 2>&1
  mkdir -p "$work/bin"
  printf '#!/bin/sh\necho "$@" >>"%s/visited"\n' "$work" >"$work/bin/xdg-open"
  chmod +x "$work/bin/xdg-open"
  # From OK, three steps back: Restore Defaults, About..., Visit...
  PATH="$work/bin:$PATH" dialog_keys shift+Tab shift+Tab shift+Tab space Escape || return 1
  local i
  for i in $(seq 100); do [ -s "$work/visited" ] && break; sleep 0.1; done
  cat "$work/visited" 2>/dev/null || { echo "nothing opened"; return 1; }
  grep -q '^file:///.*/build-windows/voidrift\.html$' "$work/visited"
}
check "dialog: Visit opens the help page beside the program" visit_opens_help_page

# The preview is quiet whatever the settings say: no audio device, and no message box
# when it cannot show the show. A saver run with music on tries the device (it may find
# none here), so the audio output's own lines are there to be missed.
quiet_preview() {
  wine reg add "$key" /v EnableMusic /t REG_DWORD /d 1 /f >/dev/null 2>&1
  wine "$scr" --record "$(windows_path "$work/music-run")" --frames 1 --no-loading --size 320x240 \
    >/dev/null 2>"$work/music-run.err" || { cat "$work/music-run.err"; return 1; }
  grep -E 'audio: waveOut device open|no audio device' "$work/music-run.err" || return 1
  wine "$root/build-windows/preview_host.exe" "$(windows_path "$scr")" live 2>"$work/preview.err" || return 1
  grep -E 'audio:|no audio device' "$work/preview.err" && { echo "the preview took the audio device"; return 1; }
  grep 'the preview plays no music' "$work/preview.err" || { cat "$work/preview.err"; return 1; }
  mkdir -p "$work/no-data"
  wine reg add "$key" /v Path /t REG_SZ /d "$(windows_path "$work/no-data")" /f >/dev/null 2>&1
  wine "$root/build-windows/preview_host.exe" "$(windows_path "$scr")" ends 2>"$work/preview.err" || return 1
  grep 'data.ssd not found' "$work/preview.err"
}
check "preview: /p with music on opens no audio device, shows no data box" quiet_preview
wine reg delete "$key" /f >/dev/null 2>&1 || true

# 192 DPI, as Windows at 200 %: the dialogs grow with the system font and every text still
# fits its control; a recorded frame keeps the letterbox of a 96 DPI run.
dialog_size() { grep -o '^dialog [0-9]*x' | tr -dc 0-9; }
frame_options=(--frames 1 --no-loading --size 320x240 --seed 7 --fixed-dt 0.5)
set_log_pixels() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' /v LogPixels \
    /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}
fit_at() {  # the fit test at the DPI set now
  wine "$root/build-windows/windows_unit_tests.exe" --gtest_filter=Win32ConfigDialog.TextFitsItsControls
}
dialog_at_192_dpi() {
  local size_96 size_192 face_192
  for value in "ShowClock 0" "ShowFPS 0" "EnableMusic 0"; do
    set -- $value
    wine reg add "$key" /v "$1" /t REG_DWORD /d "$2" /f >/dev/null 2>&1
  done
  fit_at >"$work/fit-96.out" || { cat "$work/fit-96.out"; return 1; }
  wine "$scr" --record "$(windows_path "$work/frame-96")" "${frame_options[@]}" >/dev/null 2>&1 || return 1
  set_log_pixels 192
  fit_at >"$work/fit-192.out" || { tail -n 30 "$work/fit-192.out"; return 1; }
  size_96=$(dialog_size <"$work/fit-96.out")
  size_192=$(dialog_size <"$work/fit-192.out")
  echo "dialog width: $size_96 px at 96 DPI, $size_192 px at 192 DPI"
  [ $((size_192 * 10)) -ge $((size_96 * 16)) ] || { echo "the dialog did not grow"; return 1; }
  dialog_keys Escape || return 1
  face_192=$(face_share)
  echo "share of dialog face: $face_96 at 96 DPI, $face_192 at 192 DPI"
  awk -v a="$face_96" -v b="$face_192" 'BEGIN { exit !(b > 2.5 * a) }' || return 1
  [ -z "$screenshot_192_copy" ] || cp "$work/dialog.png" "$screenshot_192_copy"
  wine "$scr" --record "$(windows_path "$work/frame-192")" "${frame_options[@]}" >/dev/null 2>&1 || return 1
  python3 "$root/tests/windows/frames.py" letterbox "$work/frame-96/frame-00000.png" "$work/frame-192/frame-00000.png" &&
    python3 "$root/tests/windows/frames.py" alike "$work/frame-96/frame-00000.png" "$work/frame-192/frame-00000.png" 2
}
check "192 DPI: larger dialog text that fits, the frame's letterbox as at 96 DPI" dialog_at_192_dpi
set_log_pixels 96

if [ "$failures" -gt 0 ]; then
  echo "$failures Windows dialog check(s) failed"
  exit 1
fi
echo "All Windows dialog checks passed"
