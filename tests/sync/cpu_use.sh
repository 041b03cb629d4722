#!/usr/bin/env bash
# A measurement, not a test: the processor use of the windowed demo in an Xvfb of its
# own, user + system time over 15 s (from 3 s to 18 s into the run), in % of one core.
# The sound goes wherever SDL_AUDIODRIVER (and PULSE_SERVER) point.
# usage: cpu_use.sh DEMO DISPLAY_NUMBER [SDL_LIBRARY_DIR]   (run in the folder that holds data/)
set -euo pipefail
demo=$1 display=$2 libdir=${3:-}
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2> /dev/null; wait "$xvfb" 2> /dev/null' EXIT
sleep 1
env ${libdir:+LD_LIBRARY_PATH="$libdir"} DISPLAY=":$display" "$demo" -w --to 400 > /dev/null 2>&1 &
pid=$!
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
sleep 3
before=$(cpu_ticks)
sleep 15
after=$(cpu_ticks)
kill "$pid"
wait "$pid" 2> /dev/null || true
echo "cpu_percent=$(((after - before) * 100 / (15 * $(getconf CLK_TCK))))"
