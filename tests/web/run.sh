#!/usr/bin/env bash
# The web build's tests, from the repository root: builds build-web/, compares the
# capture built for node with the desktop one byte for byte, then drives the page in
# headless Chromium.
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

NODE_PATH=build-web/node/node_modules node --test --test-reporter=spec tests/web/
