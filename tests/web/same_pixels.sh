#!/usr/bin/env bash
# The whole demo captured by the desktop build and by the WebAssembly build under node
# (another compiler, another C library's sin, cos and sqrt) must be the same bytes:
# every frame of the Y4M stream and the whole WAV.
#   tests/web/same_pixels.sh NATIVE_CAPTURE WEB_CAPTURE_JS [FPS]   (run where data/ is)
set -euo pipefail
native=${1:?native tinkettles-capture}
web=${2:?tinkettles-capture.js}
fps=${3:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run_web() { node --no-experimental-fetch "$web" "$@"; }

native_frames=$("$native" --fps "$fps" --y4m - --wav "$work/native.wav" 2>/dev/null | sha256sum)
web_frames=$(run_web --fps "$fps" --y4m - --wav "$work/web.wav" 2>/dev/null | sha256sum)
status=0
if [ "$native_frames" != "$web_frames" ]; then
  # Name the first frame that differs.
  "$native" --fps "$fps" --y4m "$work/native.y4m" 2>/dev/null
  run_web --fps "$fps" --y4m "$work/web.y4m" 2>/dev/null
  offset=$(cmp "$work/native.y4m" "$work/web.y4m" | awk '{print $5}' | tr -d , || true)
  header=$(head -1 "$work/native.y4m" | wc -c)
  echo "same pixels: the Y4M streams differ from byte ${offset:-?}, frame" \
       "$(( (${offset:-1} - 1 - header) / (6 + 640 * 480 * 3 / 2) )) at $fps fps" >&2
  status=1
fi
if ! cmp -s "$work/native.wav" "$work/web.wav"; then
  echo "same pixels: the WAV files differ: $(cmp "$work/native.wav" "$work/web.wav" || true)" >&2
  status=1
fi
frames=$(( ($(stat -c %s "$work/native.wav") - 44) / 2 * fps / 44100 ))
if [ $status = 0 ]; then
  echo "same pixels: desktop and web captures identical ($frames frames at $fps fps, and the WAV)"
fi
exit $status
