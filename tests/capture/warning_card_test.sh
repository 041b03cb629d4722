#!/bin/sh
# --warning-card: an MP4 of one part of the demo opens with five seconds of the still
# warning (white text on black) while the music waits; without --mp4 it is refused.
# Usage: warning_card_test.sh CAPTURE-PROGRAM   (run in the repository's root)
set -eu
capture=$1
if ! command -v ffmpeg >/dev/null || ! command -v ffprobe >/dev/null; then
    echo "ffmpeg is not installed"
    exit 77
fi
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tk-card-XXXXXX")
trap 'rm -rf "$scratch"' EXIT

status=0
"$capture" --warning-card --y4m /dev/null 2>"$scratch/usage.txt" || status=$?
[ "$status" -eq 2 ] || { echo "--warning-card without --mp4: status $status"; exit 1; }

# Positions 100 to 110 of scene 1: 1.3 s of pink picture and music at 10 frames a second.
"$capture" --from 100 --to 110 --fps 10 --mp4 "$scratch/card.mp4" --warning-card 2>/dev/null
duration=$(ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 "$scratch/card.mp4")
awk -v d="$duration" 'BEGIN { exit !(d > 6.2 && d < 6.5) }' || { echo "duration $duration, not 5 + 1.3 s"; exit 1; }

# Grey levels of one frame: how many pixels are near black and near white.
levels() {
    ffmpeg -v error -ss "$1" -i "$scratch/card.mp4" -frames:v 1 -f rawvideo -pix_fmt gray - |
        od -An -tu1 -v | awk '{ for (i = 1; i <= NF; ++i) { if ($i < 24) ++dark; if ($i > 230) ++light } }
                              END { print dark + 0, light + 0 }'
}
set -- $(levels 2.5)
[ "$1" -gt 240000 ] && [ "$2" -gt 10000 ] || { echo "the card at 2.5 s: $1 dark, $2 light pixels"; exit 1; }
set -- $(levels 5.6)
[ "$1" -lt 150000 ] || { echo "the demo at 5.6 s: still $1 dark pixels"; exit 1; }

# The music is silent under the card and sounds after it.
peak() {
    ffmpeg -v info -ss "$1" -t "$2" -i "$scratch/card.mp4" -vn -af volumedetect -f null - 2>&1 |
        sed -n 's/.*max_volume: \(-*[0-9.]*\) dB.*/\1/p'
}
quiet=$(peak 0 4.8)
loud=$(peak 5.1 1.1)
awk -v q="$quiet" -v l="$loud" 'BEGIN { exit !(q < -60 && l > -30) }' ||
    { echo "peak under the card $quiet dB, after it $loud dB"; exit 1; }
echo "warning card: 5 s, silent; then the demo with its music"

# At a video site's size the card is as large as the frames: one size for the whole file.
"$capture" --from 100 --to 110 --fps 10 --scale 3 --mp4 "$scratch/large.mp4" --warning-card 2>/dev/null
sizes=$(ffprobe -v error -select_streams v -show_entries stream=width,height -of csv=p=0 "$scratch/large.mp4")
[ "$sizes" = "1920,1440" ] || { echo "--scale 3 with the card: frames $sizes"; exit 1; }
set -- $(ffmpeg -v error -ss 2.5 -i "$scratch/large.mp4" -frames:v 1 -f rawvideo -pix_fmt gray - |
    od -An -tu1 -v | awk '{ for (i = 1; i <= NF; ++i) { if ($i < 24) ++dark; if ($i > 230) ++light } }
                          END { print dark + 0, light + 0 }')
[ "$1" -gt 2160000 ] && [ "$2" -gt 90000 ] || { echo "the card at 1920 x 1440: $1 dark, $2 light pixels"; exit 1; }
echo "warning card at --scale 3: 1920 x 1440, as the frames"
