#!/usr/bin/env bash
# The demo run from start to end with no display and no sound card (SDL's dummy video
# and audio drivers): it must end by itself when the music reaches order 25, with
# status 0, after about as long as the music plays to there.
# Usage: full_run_test.sh PATH/TO/tinkettles   (run in the folder that holds data/)
set -u
demo=$1
export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-dummy} SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
started=$(date +%s)
"$demo" -w </dev/null
status=$?
seconds=$(( $(date +%s) - started ))
echo "the demo ran for $seconds s and ended with status $status"
[ "$status" = 0 ] || { echo "FAIL: exit status $status" >&2; exit 1; }
# Order 25 at speed 6 and 47 ticks per second lies about 204 s into the music; a run
# much shorter than that did not play to the end.
[ "$seconds" -ge 150 ] || { echo "FAIL: ended after only $seconds s" >&2; exit 1; }
echo "full run test passed"
