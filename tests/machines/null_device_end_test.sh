#!/usr/bin/env bash
# The demo on an ALSA default output set to a null device (a common way to silence a
# container), which takes sound faster than it plays it: the first order (64 rows of six
# ticks at 47 a second, 8.2 s) must end with status 0 within 2 s of its time. Closing
# audio on such an output once took the compatibility library 10 to 110 s.
# usage: null_device_end_test.sh DEMO [SDL_LIBRARY_DIR]   (run in the folder that holds data/)
set -u
demo=$1 libdir=${2:-}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
echo 'pcm.!default { type null }' > "$home/.asoundrc"
start=$(date +%s%N)
env HOME="$home" ${libdir:+LD_LIBRARY_PATH="$libdir"} SDL_AUDIODRIVER=alsa SDL_VIDEODRIVER=dummy \
  timeout 60 "$demo" --to 100 2> "$home/stderr"
status=$?
elapsed_ms=$((($(date +%s%N) - start) / 1000000))
echo "status $status after $elapsed_ms ms"
[ "$status" = 0 ] || { cat "$home/stderr" >&2; echo "FAIL: status $status" >&2; exit 1; }
[ "$elapsed_ms" -le 10200 ] || { echo "FAIL: ended after $elapsed_ms ms, not within 10.2 s" >&2; exit 1; }
