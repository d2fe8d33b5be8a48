#!/usr/bin/env bash
# Runs every fuzz target in BUILD_DIR/tests/fuzz for SECONDS each. Seeds: the files in
# corpus/NAME, and for the script and mesh readers the show's own members as the content
# generator of BUILD_DIR makes them. The archive readers run under a memory limit low
# enough that a size claim allocated in full is reported.
set -euo pipefail
build="$1"; seconds="${2:-60}"
here="$(cd "$(dirname "$0")" && pwd)"
shopt -s nullglob
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"

tree="$(mktemp -d)"
trap 'rm -rf "$tree"' EXIT
"$build/tools/mkcontent/mkcontent" build "$here/../../content" "$tree" --no-music >/dev/null

# The shipped members that seed a target.
shipped_seeds() {
  case "$1" in
    fuzz_scene_file|fuzz_keyframes) printf '%s\n' "$tree"/*/scene[0-9].txt "$tree"/*/[ab][0-9].txt ;;
    fuzz_world_file) printf '%s\n' "$tree"/world/*.txt "$tree"/dynamic.txt ;;
    fuzz_env_worlds) printf '%s\n' "$tree"/env.txt "$tree"/worlds.txt ;;
    fuzz_mesh_file) find "$tree/meshes" -name '*.dat' -size -40k ;;
    fuzz_extract_sealed) printf '%s\n' "$here"/corpus/fuzz_extract_member/* ;;
  esac
}

for target in "$build"/tests/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name="$(basename "$target")"
  corpus="$(mktemp -d)"
  [ -d "$here/corpus/$name" ] && cp -r "$here/corpus/$name/." "$corpus/"
  while read -r seed; do
    [ -n "$seed" ] && cp "$seed" "$corpus/$(basename "$(dirname "$seed")")_$(basename "$seed")"
  done < <(shipped_seeds "$name")
  # One input can then name environments and the worlds that use them.
  [ "$name" = fuzz_env_worlds ] && cat "$tree/env.txt" "$tree/worlds.txt" > "$corpus/both.txt"
  limits=(-rss_limit_mb=2048)
  case "$name" in fuzz_extract_*) limits=(-rss_limit_mb=512 -malloc_limit_mb=64) ;; esac
  echo "== $name: ${seconds}s, $(ls "$corpus" | wc -l) seeds"
  "$target" -max_total_time="$seconds" -timeout=10 "${limits[@]}" "$corpus"
  rm -rf "$corpus"
done
