#!/bin/sh
# Makes all fourteen data files of the demo from their sources in assets/: the music
# with tinkettles-compose, the twelve pictures and line drawings with tinkettles-svg
# (through assets/pictures/build-data.sh) and the font with tinkettles-font.
# The build's "data" target runs it into the repository; the tests run it into a
# scratch folder and compare.
# Usage: tools/make-data.sh COMPOSE SVG FONT [OUTPUT-ROOT]
#   COMPOSE, SVG, FONT  the three tools' programs
#   OUTPUT-ROOT         the folder whose data/ is written (default: the repository)
set -eu
me=make-data.sh
if [ $# -lt 3 ] || [ $# -gt 4 ]; then
    echo "usage: $me COMPOSE SVG FONT [OUTPUT-ROOT]" >&2
    exit 2
fi
repository=$(cd "$(dirname "$0")/.." && pwd)
absolute() { case $1 in /*) echo "$1" ;; *) echo "$(pwd)/$1" ;; esac; }
compose=$(absolute "$1")
svg=$(absolute "$2")
font=$(absolute "$3")
root=$(absolute "${4:-$repository}")
mkdir -p "$root/data"
root=$(cd "$root" && pwd)

cd "$repository"
"$compose" assets/music/da_wobble.score assets/music/da_wobble.samples "$root/data/da_wobble.mod"
sh assets/pictures/build-data.sh "$svg" "$root"
"$font" assets/font "$root/data/fontti.raw"
echo "$me: fourteen data files made in $root/data"
