#!/usr/bin/env bash
# Builds the fuzzers with clang and runs them one after another.
#   fuzz/run.sh [seconds per fuzzer, default 600] [fuzzer names, default all four]
# With 0 seconds each fuzzer only replays its seeds once (what scripts/test.sh does).
# Each starts from the hand-made seeds in fuzz/corpus/<name> plus the demo's own data
# files of that kind; what it discovers stays in build-fuzz/corpus-<name>, outside the
# repository. A finding stops that fuzzer and leaves a crash-* file in build-fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
fuzzers=("$@")
[ ${#fuzzers[@]} -gt 0 ] || fuzzers=(module picture text_picture font)

build=build-fuzz
CC=clang CXX=clang++ cmake -S fuzz -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 >/dev/null

data_pattern() {
    case $1 in
        module) echo 'data/*.mod' ;;
        picture) echo 'data/*.cgm' ;;
        text_picture) echo 'data/*.txt' ;;
        font) echo 'data/*.raw' ;;
    esac
}

if [ "$seconds" -eq 0 ]; then
    limit=-runs=0
else
    limit=-max_total_time=$seconds
fi

status=0
for name in "${fuzzers[@]}"; do
    corpus=$build/corpus-$name
    mkdir -p "$corpus"
    cp fuzz/corpus/"$name"/* "$corpus"/
    for file in $(data_pattern "$name"); do
        [ -f "$file" ] && cp "$file" "$corpus"/
    done
    log=$build/$name.log
    echo "fuzz_$name: ${seconds}s, log in $log" >&2
    if ! (cd "$build" && ASAN_OPTIONS=detect_leaks=1 ./fuzz_"$name" "$limit" \
            -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 corpus-"$name") >"$log" 2>&1; then
        echo "fuzz_$name: FINDING, see $log" >&2
        status=1
    fi
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
    echo "fuzz_$name: ${runs:-?} inputs run, corpus $(ls "$corpus" | wc -l) files" >&2
done
exit $status
