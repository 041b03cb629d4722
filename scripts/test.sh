#!/usr/bin/env bash
# Installs what is missing, checks the C++ layout, builds everything and runs every
# test; then builds it all again with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs the tests once more there (all but the long and X-server ones, which the
# first run covers, and those that play through a real sound output, PulseAudio or ALSA,
# or hold the music to the wall clock: the first run covers them too, and their timing
# is not what the sanitizers look at).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)

# The C++ layout is .clang-format's; a file it would change fails the run before
# anything is built (clang-format -i on that file puts it right).
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror

# Tests, tools and benchmarks on, whatever an earlier demo.sh left in the cache.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTINKETTLES_TESTS=ON -DTINKETTLES_TOOLS=ON \
  -DTINKETTLES_BENCH=ON >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

# The web build (build-web/): its capture under node byte for byte against the desktop
# one, then the page and the single file in headless Chromium.
tests/web/run.sh build

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTINKETTLES_SANITIZE=ON \
  -DTINKETTLES_BENCH=OFF >/dev/null
cmake --build build-sanitize -j"$jobs"
UBSAN_OPTIONS=print_stacktrace=1 LSAN_OPTIONS=suppressions=$PWD/tests/lsan-suppressions.txt \
  ctest --test-dir build-sanitize --output-on-failure -j"$jobs" -LE 'long|x11|pulse|machines'

# The fuzzers, built with clang, each replaying its seeds and the data files once.
fuzz/run.sh 0
