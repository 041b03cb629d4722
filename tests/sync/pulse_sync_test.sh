#!/usr/bin/env bash
# The picture in step with the sound heard: the demo played through a private
# PulseAudio server (SDL's pulse driver), the sink's monitor recorded, and the moment
# each position is first drawn compared with the moment it is heard. The mean lead
# must lie within 20 ms either way (it was about 60 ms ahead when the timeline followed
# the mixer).
# usage: pulse_sync_test.sh DEMO STREAM_POSITIONS [SDL_LIBRARY_DIR]
set -euo pipefail
demo=$1 positions_tool=$2 libdir=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
command -v pulseaudio > /dev/null && command -v parec > /dev/null || {
  echo "pulse_sync_test: pulseaudio or parec missing; skipped" >&2
  exit 77
}
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tk-sync-XXXXXX")
trap 'rm -rf "$scratch"' EXIT

figures=$("$here/measure_sync.sh" "$demo" "$positions_tool" "$scratch/run" pulse "$libdir" --to 200)
echo "$figures"
lead=$(tr ' ' '\n' <<< "$figures" | sed -n 's/^mean_lead_ms=//p')
[ -n "$lead" ] || { echo "FAIL: no lead measured" >&2; exit 1; }
awk -v lead="$lead" 'BEGIN { exit !(lead >= -20 && lead <= 20) }' || {
  echo "FAIL: mean lead $lead ms, beyond 20 ms" >&2
  cat "$scratch/run/demo.err" >&2
  exit 1
}
echo "pulse_sync_test: mean lead $lead ms"
