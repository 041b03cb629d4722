#!/usr/bin/env bash
# Makes the video of the whole demo to upload to a video site: 2880x2160 (every
# picture pixel 9x9, the scan lines redone at that size) at 60 frames a second,
# H.264 High with 48 kHz AAC-LC (docs/video.md), and says where it is.
#   scripts/video.sh [--scale S] [--fps N] [--out FILE.mp4]
# --scale 3 makes 1920x1440 in about half the time. Uses build/ as it is configured
# (with the tools switched on), or configures it when there is none.
set -euo pipefail
cd "$(dirname "$0")/.."

scale=4.5
fps=60
out=
usage="usage: scripts/video.sh [--scale S] [--fps N] [--out FILE.mp4]"
while [ $# -gt 0 ]; do
  case "$1" in
    --scale) scale=${2:?--scale needs a number}; shift ;;
    --fps) fps=${2:?--fps needs a number}; shift ;;
    --out) out=${2:?--out needs a file name}; shift ;;
    *) echo "$usage" >&2; exit 2 ;;
  esac
  shift
done
lines=$(awk -v s="$scale" 'BEGIN { printf "%d", 480 * s }')
out=${out:-build/video/tinkettles-${lines}p${fps}.mp4}

scripts/install-deps.sh
if [ -f build/CMakeCache.txt ]; then
  cmake -S . -B build -DTINKETTLES_TOOLS=ON >/dev/null
else
  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTINKETTLES_TOOLS=ON -DTINKETTLES_TESTS=OFF \
    -DTINKETTLES_BENCH=OFF >/dev/null
fi
cmake --build build --target tinkettles-capture -j"$(nproc)" >/dev/null
mkdir -p "$(dirname "$out")"

start=$(date +%s)
build/tools/capture/tinkettles-capture --data data --fps "$fps" --scale "$scale" --mp4 "$out"
seconds=$(($(date +%s) - start))
size=$(du -h "$out" | cut -f1)
echo "video: $out ($size, made in $((seconds / 60)) min $((seconds % 60)) s)"
