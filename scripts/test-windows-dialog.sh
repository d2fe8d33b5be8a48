#!/usr/bin/env bash
# The Windows settings dialog, preview and setup program, end to end under Wine on a
# private Xvfb display: keyboard input through the real dialog into the registry, the
# preview (picture and live show) inside a stand-in control panel window, the
# missing-handle message, and a silent install, run and uninstall. Expects
# scripts/build-windows.sh to have run. Prints one line per check; exits 1 when any failed.
#   scripts/test-windows-dialog.sh [SCREENSHOT.png]   also keeps the dialog's screenshot
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
screenshot_copy=${1:-}

source scripts/wine-session.sh

install_wine_packages imagemagick

work=$(mktemp -d /tmp/voidrift-wine-dialog-XXXXXX)
trap 'stop_wine_session; rm -rf "$work"' EXIT
start_wine_session "$work"
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

screenshot_shows_dialog() {
  # The dialog's grey face fills a good part of the otherwise black root window.
  local grey
  grey=$(convert "$work/dialog.png" -fill white -fuzz 2% -opaque '#f0f0f0' -fill black +opaque white \
           -format '%[fx:mean]' info:)
  echo "share of dialog face: $grey"
  awk -v g="$grey" 'BEGIN { exit !(g > 0.1) }'
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
  [ -f "$install_dir/voidrift.scr" ] && [ -f "$install_dir/data.ssd" ] || { ls -la "$install_dir"; return 1; }
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

if [ "$failures" -gt 0 ]; then
  echo "$failures Windows dialog check(s) failed"
  exit 1
fi
echo "All Windows dialog checks passed"
