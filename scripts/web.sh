#!/usr/bin/env bash
# Builds the demo for web browsers into build-web/site/ (index.html with its .js,
# .wasm and .data, and tinkettles.html, the same page in one self-contained file),
# then serves that folder on http://127.0.0.1:8000/ until Ctrl-C.
#   scripts/web.sh [--build-only] [--port N]
set -euo pipefail
cd "$(dirname "$0")/.."

serve=1
port=8000
while [ $# -gt 0 ]; do
  case "$1" in
    --build-only) serve=0 ;;
    --port) port=${2:?--port needs a number}; shift ;;
    *) echo "usage: scripts/web.sh [--build-only] [--port N]" >&2; exit 2 ;;
  esac
  shift
done

scripts/install-deps.sh
# Debian's emcc runs its JavaScript parts with the machine's node, which must find the
# modules Debian installed beside it.
if [ -d /usr/share/nodejs ]; then
  export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
fi
emcmake cmake -S web -B build-web -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-web -j"$(nproc)"
echo "web: built build-web/site/index.html and build-web/site/tinkettles.html" >&2

if [ $serve = 1 ]; then
  echo "web: serving build-web/site on http://127.0.0.1:$port/ (Ctrl-C stops it)"
  cd build-web/site
  exec python3 -m http.server "$port" --bind 127.0.0.1
fi
