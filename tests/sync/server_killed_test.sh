#!/usr/bin/env bash
# A sound server that dies during a run (kill), or stops for 1.5 s and comes back
# (pause): the demo goes on silently, in the second case takes the sound back, and
# ends on time, exit status 0. The time from the first change of position drawn to the
# last frame is compared with that of the same part on the silent clock; the run may
# take at most a second longer after a kill, a second and a half after a pause (the
# silence handed while the sound was given up plays before the music comes back).
# usage: server_killed_test.sh kill|pause DEMO [SDL_LIBRARY_DIR]
set -euo pipefail
mode=$1 demo=$2 libdir=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
command -v pulseaudio > /dev/null || { echo "server_killed_test: no pulseaudio; skipped" >&2; exit 77; }
source "$here/pulse_server.sh"
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tk-sync-XXXXXX")
trap 'stop_pulse; rm -rf "$scratch"' EXIT
part=(--from 2000 --to 2100)

# Seconds from the first frame showing a new position to the last frame.
drawn_seconds() {
  awk 'NR == 1 { first = $2 } !started && $2 != first { started = 1; t0 = $1 } { t = $1 }
       END { printf "%.3f", (t - t0) / 1e6 }' "$1"
}

run_demo() {   # LOG AUDIODRIVER: the demo headless, its status
  env ${libdir:+LD_LIBRARY_PATH="$libdir"} SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER="$2" \
    TINKETTLES_FRAME_LOG="$1" timeout 60 "$demo" "${part[@]}"
}

run_demo "$scratch/silent.txt" none-such 2> "$scratch/silent.err"
expected=$(drawn_seconds "$scratch/silent.txt")

start_pulse "$scratch/pulse"
run_demo "$scratch/killed.txt" pulse 2> "$scratch/killed.err" &
demo_pid=$!
sleep 4
if [ "$mode" = kill ]; then
  kill -KILL "$pulse_pid"
  wait "$pulse_pid" 2> /dev/null || true
  pulse_pid=
else
  kill -STOP "$pulse_pid"
  sleep 1.5
  kill -CONT "$pulse_pid"
fi
status=0
wait "$demo_pid" || status=$?
cat "$scratch/killed.err" >&2
took=$(drawn_seconds "$scratch/killed.txt")
echo "server_killed_test: the part took ${took} s, ${expected} s on the silent clock; status $status"
[ "$status" -eq 0 ] || { echo "FAIL: exit status $status" >&2; exit 1; }
if [ "$mode" = pause ]; then
  # The classic library stalls while the server stands still; the compatibility library
  # may keep taking sound on its own, so only the classic one must have given it up.
  if [ -z "$libdir" ] && ! grep -q "takes sound again" "$scratch/killed.err"; then
    echo "FAIL: the sound was not taken back" >&2
    exit 1
  fi
fi
late=1.0
[ "$mode" = kill ] || late=1.5
awk -v took="$took" -v expected="$expected" -v late="$late" \
  'BEGIN { exit !(took <= expected + late && took >= expected - 0.3) }' || {
  echo "FAIL: not on time" >&2
  exit 1
}
