#!/usr/bin/env bash
# The web page in headless Chromium (WebGL 2 on SwiftShader), served by a plain static
# server: screenshots some seconds apart in the page's (virtual) time show the letterboxed
# show, black bars around a lit picture that changes; the page counts frames and no error
# reached its console. The show fades through black between scenes, and where it stands at a
# given virtual time depends on how long the start took, so one screenshot of three may be
# dark.
# Usage: web_page_test.sh BUILD_WEB_DIR
set -euo pipefail
page=$(cd "$1" && pwd)
work=$(mktemp -d)
server=""
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
for file in index.html page.js voidrift.js voidrift.wasm data.ssd; do
  [ -f "$page/$file" ] || fail "$file is missing from $page"
done

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$page" >"$work/server.log" 2>&1 &
server=$!
for _ in $(seq 50); do
  python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/index.html')" 2>/dev/null && break
  sleep 0.2
done

width=480 height=360
url="http://127.0.0.1:$port/index.html?seed=11"
browse() {  # budget-ms, then --screenshot=FILE or --dump-dom
  timeout 600 chromium --headless --no-sandbox --use-angle=swiftshader --enable-unsafe-swiftshader \
    --user-data-dir="$work/profile-$1" --window-size=$width,$height --hide-scrollbars \
    --virtual-time-budget="$1" "$2" "$url" 2>>"$work/chromium.log"
}
shots="9000 11000 13000"
for budget in $shots; do
  browse "$budget" --screenshot="$work/at$budget.png" >/dev/null
done
browse 9000 --dump-dom >"$work/dom.html"

# The page's own record: frames drawn and errors seen.
stats=$(sed -n 's/.*<div id="stats"[^>]*>\([^<]*\)<.*/\1/p' "$work/dom.html")
echo "page: $stats"
frames=$(python3 -c 'import json, sys; print(json.loads(sys.argv[1])["frames"])' "$stats")
errors=$(python3 -c 'import json, sys; print(len(json.loads(sys.argv[1])["errors"]))' "$stats")
[ "$errors" -eq 0 ] || fail "the console got errors: $stats"
[ "$frames" -ge 30 ] || fail "only $frames frames in 9 seconds"

# Regions: the top bar (an eighth of the height), the bottom bar's left third (the clock
# sits on its right), and the picture between them.
bar=$((height / 8))
region() {  # image geometry -> mean and maximum (0..1)
  convert "$1" -crop "$2" +repage -colorspace Gray -format '%[fx:mean] %[fx:maxima]' info:
}
picture="${width}x$((height - 2 * bar - 4))+0+$((bar + 2))"
lit=()
for budget in $shots; do
  shot="$work/at$budget.png"
  read -r _ topMax <<<"$(region "$shot" "${width}x$((bar - 2))+0+0")"
  read -r _ bottomMax <<<"$(region "$shot" "$((width / 3))x$((bar - 2))+0+$((height - bar + 2))")"
  read -r pictureMean _ <<<"$(region "$shot" "$picture")"
  echo "at $budget ms: top bar max $topMax, bottom bar max $bottomMax, picture mean $pictureMean"
  awk -v t="$topMax" -v b="$bottomMax" 'BEGIN { exit !(t < 0.05 && b < 0.05) }' || fail "at $budget ms: the bars are not black"
  if awk -v p="$pictureMean" 'BEGIN { exit !(p > 0.02) }'; then
    convert "$shot" -crop "$picture" +repage "$work/picture$budget.png"
    lit+=("$work/picture$budget.png")
  fi
done
[ "${#lit[@]}" -ge 2 ] || fail "only ${#lit[@]} of the screenshots show a lit picture between the bars"
change=$(compare -metric MAE "${lit[0]}" "${lit[-1]}" null: 2>&1 | sed 's/.*(\(.*\))/\1/' || true)
echo "picture change between the first and last lit screenshots: $change (mean absolute, 0..1)"
awk -v c="$change" 'BEGIN { exit !(c > 0.005) }' || fail "the picture did not change between the screenshots"
