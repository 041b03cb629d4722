#!/bin/sh
# Runs the documented capture-and-encode recipe exactly as written (the indented lines
# after its "recipe" marker), in a scratch folder with the capture on PATH, and checks
# with ffprobe that the video's sound lasts as long as its picture.
# Usage: ffmpeg_recipe_test.sh DOCUMENT CAPTURE-PROGRAM DATA-FOLDER
set -eu
readme=$1
capture=$2
data=$3
if ! command -v ffmpeg >/dev/null || ! command -v ffprobe >/dev/null; then
    echo "ffmpeg is not installed"
    exit 77
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/bin"
ln -s "$capture" "$scratch/bin/tinkettles-capture"
ln -s "$data" "$scratch/data"

# The block's lines, without their four-space indent.
awk '/<!-- recipe:/ { inside = 1; next }
     inside && /^    / { print substr($0, 5); next }
     inside { exit }' "$readme" > "$scratch/recipe.sh"
if [ ! -s "$scratch/recipe.sh" ]; then
    echo "no recipe found in $readme"
    exit 1
fi
cat "$scratch/recipe.sh"
(cd "$scratch" && PATH="$scratch/bin:$PATH" sh -e recipe.sh </dev/null >recipe.log 2>&1) || {
    tail -20 "$scratch/recipe.log"
    echo "the recipe failed"
    exit 1
}
video=$(ls "$scratch"/*.mkv "$scratch"/*.mp4 2>/dev/null | head -n 1)
if [ -z "$video" ]; then
    echo "the recipe made no video"
    exit 1
fi
# Each stream's length from its last packet's end, which every container gives.
stream_length() {
    ffprobe -v error -select_streams "$1" -show_entries packet=pts_time,duration_time -of csv=p=0 "$video" |
        awk -F, 'NF >= 2 && $1 != "N/A" { end = $1 + $2; if (end > last) last = end } END { printf "%.3f\n", last }'
}
picture=$(stream_length v:0)
sound=$(stream_length a:0)
echo "picture $picture s, sound $sound s"
# The part is one order, about 8.2 s; the sound may differ by one AAC frame and one
# video frame, not by seconds.
awk -v p="$picture" -v s="$sound" 'BEGIN {
    d = p - s; if (d < 0) d = -d
    exit !(p > 7.5 && p < 9.0 && d <= 0.1)
}' || {
    echo "the sound does not last as long as the picture"
    exit 1
}
