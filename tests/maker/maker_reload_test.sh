#!/usr/bin/env bash
# Maker mode reloading data while it plays (Xvfb display :151, a copy of data/ in a
# scratch folder): a picture replaced on disk shows in the next frames, with one line
# naming it; a damaged one is refused in one line and the old one stays, the demo
# going on; a file written slowly in parts is read once, when it is whole.
# Usage: maker_reload_test.sh PATH/TO/tinkettles   (run in the folder that holds data/)
set -u
demo=$1
source "$(dirname "$0")/maker_session.sh" reload 151 "$@"
differing() { compare -metric AE -extract 640x400+0+40 "$work/$1.png" "$work/$2.png" null: 2>&1 || true; }
lines() { tr '\r' '\n' <"$work/stderr" | grep -c "$1"; }
# Waits up to 20 s until the demo's standard error holds `count` lines matching.
await_lines() {
  for _ in $(seq 1 200); do
    [ "$(lines "$1")" -ge "$2" ] && return 0
    sleep 0.1
  done
  fail "fewer than $2 lines matching '$1'"
}

cp -r data "$work/data"
# Scene 1 shows ankels.cgm; paused, every frame shows the same moment.
SDL_AUDIODRIVER=dummy "$demo" --maker --data "$work/data" --from 30 </dev/null 2>"$work/stderr" &
pid=$!
window=$(timeout 20 xdotool search --sync --name '^Tin Kettles$' | head -n 1)
[ -n "$window" ] || fail "no maker window"
sleep 1
xdotool key --window "$window" space
await_lines "^tinkettles: paused at" 1
sleep 0.5
shot before

# Replaced whole, as an editor saves: written beside it and moved over it.
cp data/bottles.cgm "$work/data/ankels.new"
mv "$work/data/ankels.new" "$work/data/ankels.cgm"
await_lines "^tinkettles: reloaded data/ankels.cgm$" 1
sleep 0.5
shot replaced
[ "$(differing before replaced)" != 0 ] || fail "the replaced picture does not show"

# Damaged: refused in one line, the picture as it was.
printf 'this is no picture\n' >"$work/data/ankels.cgm"
await_lines "ankels.cgm: .*the one loaded before stays$" 1
sleep 0.5
shot damaged
[ "$(differing replaced damaged)" = 0 ] || fail "the refused file changed the picture"
kill -0 "$pid" 2>/dev/null || fail "the demo ended on a damaged file"
[ "$(lines "reloaded data/ankels.cgm")" = 1 ] || fail "the damaged file was taken"

# Written slowly in three parts, held open: read once, whole.
python3 - "$work/data/ankels.cgm" data/ankels.cgm <<'PY'
import sys, time
whole = open(sys.argv[2], 'rb').read()
third = len(whole) // 3
with open(sys.argv[1], 'wb') as out:
    for part in (whole[:third], whole[third:2 * third], whole[2 * third:]):
        out.write(part)
        out.flush()
        time.sleep(0.8)
PY
await_lines "^tinkettles: reloaded data/ankels.cgm$" 2
sleep 1
[ "$(lines "ankels.cgm: .*stays$")" = 1 ] || fail "a part of the slowly written file was read"
[ "$(lines "reloaded data/ankels.cgm")" = 2 ] || fail "the slowly written file was read more than once"
shot restored
[ "$(differing damaged restored)" != 0 ] || fail "the restored picture does not show"

# The demo goes on: resumed, the picture moves; Escape ends it with status 0.
xdotool key --window "$window" space
sleep 1
shot going
[ "$(differing restored going)" != 0 ] || fail "the demo did not go on after the reloads"
xdotool key --window "$window" Escape
for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
kill -0 "$pid" 2>/dev/null && fail "still running after Escape"
wait "$pid" || fail "exit status $? after Escape"
echo "maker reload test passed"
