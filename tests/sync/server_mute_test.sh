#!/usr/bin/env bash
# A sound server that accepts the connection and never answers: the demo gives the
# sound up after 2 s, plays silently and ends, exit status 0 (the classic library
# used to block in SDL_OpenAudio for ever).
# usage: server_mute_test.sh DEMO [SDL_LIBRARY_DIR]
set -euo pipefail
demo=$1 libdir=${2:-}
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tk-sync-XXXXXX")
python3 - "$scratch/native" <<'PY' &
import socket, sys
server = socket.socket(socket.AF_UNIX)
server.bind(sys.argv[1])
server.listen(8)
held = []
while True:
    held.append(server.accept()[0])
PY
mute_pid=$!
trap 'kill "$mute_pid" 2> /dev/null; rm -rf "$scratch"' EXIT
for _ in $(seq 50); do [ -S "$scratch/native" ] && break; sleep 0.1; done

start=$(date +%s%N)
status=0
env ${libdir:+LD_LIBRARY_PATH="$libdir"} PULSE_SERVER="unix:$scratch/native" SDL_VIDEODRIVER=dummy \
  SDL_AUDIODRIVER=pulse timeout 30 "$demo" --from 2400 --to 2410 2> "$scratch/err" || status=$?
took_ms=$((($(date +%s%N) - start) / 1000000))
cat "$scratch/err" >&2
echo "server_mute_test: status $status after $took_ms ms"
[ "$status" -eq 0 ] || { echo "FAIL: exit status $status" >&2; exit 1; }
grep -q "playing silently" "$scratch/err" || { echo "FAIL: the sound was not given up" >&2; exit 1; }
# Ten rows (1.3 s) after at most 2 s of waiting, with room for a slow start.
[ "$took_ms" -lt 8000 ] || { echo "FAIL: took $took_ms ms" >&2; exit 1; }
