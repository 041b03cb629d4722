#!/usr/bin/env bash
# One run of the demo through a private PulseAudio server, recorded from the sink's
# monitor; prints sync_report.py's figures.
# usage: measure_sync.sh DEMO STREAM_POSITIONS SCRATCH ROUTE [SDL_LIBRARY_DIR] [DEMO OPTION...]
#   ROUTE: pulse (SDL's own pulse driver) or alsa (SDL's ALSA driver, ALSA's pulse plugin)
set -euo pipefail
demo=$1 positions_tool=$2 scratch=$3 route=$4 libdir=${5:-}
shift 5 || shift $#
here=$(cd "$(dirname "$0")" && pwd)
source "$here/pulse_server.sh"
trap 'stop_pulse; [ -n "${recorder:-}" ] && kill "$recorder" 2>/dev/null; true' EXIT

mkdir -p "$scratch"
"$positions_tool" data/da_wobble.mod $((44100 * 240)) "$scratch/stream.raw" > "$scratch/positions.txt"
start_pulse "$scratch/pulse"
python3 "$here/record_monitor.py" out.monitor "$scratch/recording.raw" "$scratch/times.txt" &
recorder=$!
for _ in $(seq 100); do
  [ -s "$scratch/times.txt" ] && break
  sleep 0.1
done
env ${libdir:+LD_LIBRARY_PATH="$libdir"} SDL_AUDIODRIVER="$route" SDL_VIDEODRIVER="${SDL_VIDEODRIVER:-dummy}" \
  TINKETTLES_FRAME_LOG="$scratch/frames.txt" "$demo" "$@" 2> "$scratch/demo.err"
sleep 0.5
kill "$recorder"
wait "$recorder" || true
recorder=
python3 "$here/sync_report.py" "$scratch/recording.raw" "$scratch/times.txt" "$scratch/frames.txt" \
  "$scratch/stream.raw" "$scratch/positions.txt"
