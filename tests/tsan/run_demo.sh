#!/usr/bin/env bash
# Runs the demo built with ThreadSanitizer for a few seconds and stops it: it must
# still be playing then, and ThreadSanitizer must have stayed quiet. It is stopped with
# SIGKILL, since SDL turns SIGTERM into a quit event, which the demo ignores.
#   run_demo.sh <program> <seconds>
set -u
program=$1
seconds=$2
log=$(mktemp)
trap 'rm -f "$log"' EXIT
"$program" </dev/null >/dev/null 2>"$log" &
pid=$!
sleep "$seconds"
if kill -0 "$pid" 2>/dev/null; then
    kill -KILL "$pid"
    wait "$pid" 2>/dev/null
    still_playing=1
else
    wait "$pid"
    status=$?
    still_playing=0
fi
cat "$log" >&2
if grep -q "ThreadSanitizer" "$log"; then
    echo "run_demo: ThreadSanitizer reported a problem" >&2
    exit 1
fi
if [ "$still_playing" -ne 1 ]; then
    echo "run_demo: the demo ended with status $status within ${seconds}s instead of playing" >&2
    exit 1
fi
echo "run_demo: played ${seconds}s, ThreadSanitizer quiet"
