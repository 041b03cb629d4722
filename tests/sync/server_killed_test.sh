#!/usr/bin/env bash
# A sound server that dies during a run: the demo goes on silently and ends on time,
# exit status 0. The time from the first change of position drawn to the last frame
# is compared with that of the same part on the silent clock; the killed run may take
# at most a second longer.
# usage: server_killed_test.sh DEMO [SDL_LIBRARY_DIR]
set -euo pipefail
demo=$1 libdir=${2:-}
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
kill -KILL "$pulse_pid"
wait "$pulse_pid" 2> /dev/null || true
pulse_pid=
status=0
wait "$demo_pid" || status=$?
cat "$scratch/killed.err" >&2
took=$(drawn_seconds "$scratch/killed.txt")
echo "server_killed_test: the part took ${took} s, ${expected} s on the silent clock; status $status"
[ "$status" -eq 0 ] || { echo "FAIL: exit status $status" >&2; exit 1; }
awk -v took="$took" -v expected="$expected" 'BEGIN { exit !(took <= expected + 1.0 && took >= expected - 0.3) }' || {
  echo "FAIL: not on time" >&2
  exit 1
}
