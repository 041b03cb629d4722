#!/usr/bin/env bash
# The web build's tests, from the repository root: builds build-web/, compares the
# capture built for node with the desktop one byte for byte, then drives the page in
# headless Chromium and Firefox ESR (tests/web/browsers.js), both playing into a
# PulseAudio daemon of the run's own.
#   tests/web/run.sh [NATIVE_BUILD_DIR]    (default build; its tinkettles-capture is used)
set -euo pipefail
cd "$(dirname "$0")/../.."
native=${1:-build}

scripts/web.sh --build-only

# puppeteer-core, pinned, into the build folder. It drives /usr/bin/chromium and
# downloads no browser of its own.
puppeteer=24.43.1
installed=$(node -p "require('./build-web/node/node_modules/puppeteer-core/package.json').version" 2>/dev/null || true)
if [ "$installed" != "$puppeteer" ]; then
  command -v npm >/dev/null || { echo "tests/web: npm is missing" >&2; exit 1; }
  npm install --prefix build-web/node --no-audit --no-fund --loglevel=error "puppeteer-core@$puppeteer"
fi

tests/web/same_pixels.sh "$native/tools/capture/tinkettles-capture" build-web/tinkettles-capture.js

# The sound server: PulseAudio with only its socket and a null sink (each browser adds
# one of its own), in a private runtime folder, stopped by its pid at the end.
pulse_dir=$(mktemp -d "${TMPDIR:-/tmp}/tk-pulse-XXXXXX")
pulse_pid=
stop_sound_server() {
  if [ -n "$pulse_pid" ]; then kill "$pulse_pid" 2>/dev/null || true; wait "$pulse_pid" 2>/dev/null || true; fi
  rm -rf "$pulse_dir"
}
trap stop_sound_server EXIT
mkdir -p "$pulse_dir/runtime" "$pulse_dir/home"
HOME=$pulse_dir/home XDG_RUNTIME_DIR=$pulse_dir/runtime pulseaudio -n --daemonize=no --exit-idle-time=-1 \
  --use-pid-file=no --system=no --disallow-module-loading=no --log-target=file:"$pulse_dir/log" \
  -L "module-native-protocol-unix socket=$pulse_dir/native auth-anonymous=1" \
  -L "module-null-sink sink_name=tk_silence" &
pulse_pid=$!
export PULSE_SERVER=unix:$pulse_dir/native
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null || { cat "$pulse_dir/log" >&2; echo "tests/web: the sound server did not start" >&2; exit 1; }

NODE_PATH=build-web/node/node_modules node --test --test-reporter=spec tests/web/
