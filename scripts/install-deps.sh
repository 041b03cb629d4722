#!/usr/bin/env bash
# Installs, as root on Debian 12, the packages that building, running and testing
# the demo need. Does nothing when they are all there already.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libsdl1.2-dev libpng-dev libpugixml-dev
  # The SDL 1.2 over SDL 2 that most distributions now ship, which the tests also run
  # the demo on. Only its runtime: it installs in a folder of its own, while -shim
  # would replace the classic library and cannot be built against.
  libsdl1.2-compat
  libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  xvfb xauth xdotool x11-apps imagemagick
  # A private sound server for the sync tests, its recorder, and ALSA's pulse plugin
  # for measuring the ALSA route.
  pulseaudio pulseaudio-utils libasound2-plugins
  sox pngcheck librsvg2-bin ffmpeg
  emscripten chromium python3
  # The package test checks the .deb, its desktop entry and its AppStream metainfo.
  lintian desktop-file-utils appstream
  # The page tests' second browser (it plays into the sound server above).
  firefox-esr
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# The web tests install puppeteer-core with npm (node itself comes with emscripten).
command -v npm >/dev/null || missing+=(npm)

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: missing packages: ${missing[*]}; run as root (or install them) first" >&2
    exit 1
  fi
  echo "install-deps: installing ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
