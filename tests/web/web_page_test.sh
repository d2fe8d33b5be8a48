#!/usr/bin/env bash
# The web page in headless Chromium (WebGL 2 on SwiftShader), served by a plain static
# server: after some seconds of the page's (virtual) time a screenshot shows the letterboxed
# show, black bars around a lit picture; a later one shows another picture between the
# same bars; the page counts frames and no error reached its console.
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
browse 9000 --screenshot="$work/early.png" >/dev/null
browse 13000 --screenshot="$work/late.png" >/dev/null
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
for shot in early late; do
  read -r _ topMax <<<"$(region "$work/$shot.png" "${width}x$((bar - 2))+0+0")"
  read -r _ bottomMax <<<"$(region "$work/$shot.png" "$((width / 3))x$((bar - 2))+0+$((height - bar + 2))")"
  read -r pictureMean _ <<<"$(region "$work/$shot.png" "${width}x$((height - 2 * bar - 4))+0+$((bar + 2))")"
  echo "$shot: top bar max $topMax, bottom bar max $bottomMax, picture mean $pictureMean"
  awk -v t="$topMax" -v b="$bottomMax" 'BEGIN { exit !(t < 0.05 && b < 0.05) }' || fail "$shot: the bars are not black"
  awk -v p="$pictureMean" 'BEGIN { exit !(p > 0.02) }' || fail "$shot: no lit picture between the bars"
done
picture="${width}x$((height - 2 * bar - 4))+0+$((bar + 2))"
convert "$work/early.png" -crop "$picture" +repage "$work/early-picture.png"
convert "$work/late.png" -crop "$picture" +repage "$work/late-picture.png"
change=$(compare -metric MAE "$work/early-picture.png" "$work/late-picture.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/' || true)
echo "picture change between the screenshots: $change (mean absolute, 0..1)"
awk -v c="$change" 'BEGIN { exit !(c > 0.005) }' || fail "the picture did not change between the screenshots"
