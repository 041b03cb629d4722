#!/bin/sh
# Rebuilds the demo's pictures and line drawings in data/ from their SVG sources.
# Usage: assets/pictures/build-data.sh [TINKETTLES-SVG [OUTPUT-ROOT]]
# Works from any folder: the sources are found beside this script, and relative
# paths given are taken from the folder it is run in. OUTPUT-ROOT (default: the
# repository root) lets the tests build a second copy elsewhere and compare it.
set -eu
me=build-data.sh
here=$(cd "$(dirname "$0")" && pwd)
repository=$(cd "$here/../.." && pwd)

# The default converter is the one in the repository's usual build folder.
converter=${1:-$repository/build/tools/svg/tinkettles-svg}
root=${2:-$repository}
case $converter in /*) ;; */*) converter=$(pwd)/$converter ;; esac
if ! command -v "$converter" >/dev/null 2>&1 || [ -d "$converter" ]; then
    echo "$me: no converter at $converter (build the tinkettles-svg target, or name it as the first argument)" >&2
    exit 1
fi
if ! mkdir -p "$root/data"; then
    echo "$me: cannot make the folder $root/data" >&2
    exit 1
fi
root=$(cd "$root" && pwd)

cd "$repository"
converted=0
while read -r source target rest; do
    case $source in ''|'#'*) continue ;; esac
    if [ -z "$target" ] || [ -n "$rest" ]; then
        echo "$me: pictures.list: expected 'SOURCE.svg data/TARGET' on the line for $source" >&2
        exit 1
    fi
    mkdir -p "$root/$(dirname "$target")"
    "$converter" "$source" "$root/$target"
    converted=$((converted + 1))
done < "$here/pictures.list"
if [ "$converted" -eq 0 ]; then
    echo "$me: $here/pictures.list names no pictures; nothing was converted" >&2
    exit 1
fi
