#!/bin/sh
# Rebuilds the demo's pictures and line drawings in data/ from their SVG sources.
# Usage: assets/pictures/build-data.sh [TINKETTLES-SVG [OUTPUT-ROOT]]
# Run from the repository root; OUTPUT-ROOT (default: the repository root) lets the
# tests build a second copy elsewhere and compare it byte for byte.
set -eu
converter=${1:-build/tools/svg/tinkettles-svg}
root=${2:-.}
if [ ! -x "$converter" ]; then
    echo "build-data.sh: no converter at $converter (build the tinkettles-svg target)" >&2
    exit 1
fi
grep -v '^#' assets/pictures/pictures.list | while read -r source target; do
    [ -n "$source" ] || continue
    mkdir -p "$root/$(dirname "$target")"
    "$converter" "$source" "$root/$target"
done
