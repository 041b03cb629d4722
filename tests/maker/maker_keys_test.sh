#!/usr/bin/env bash
# Maker mode in a real X server (Xvfb, display :150) with real key presses: Space holds
# picture and music and lets them go on, H writes the status line in the border and
# leaves the picture's rows alone, the scene and order keys land on the scene's or
# order's first row with that scene's colours, L loops the --from/--to part, Escape
# quits with status 0.
# Usage: maker_keys_test.sh PATH/TO/tinkettles   (run in the folder that holds data/)
set -u
demo=$1
source "$(dirname "$0")/maker_session.sh" keys 150 "$@"
# Pixels that differ between two screenshots in a region (WxH+X+Y).
differing() { compare -metric AE -extract "$3" "$work/$1.png" "$work/$2.png" null: 2>&1 || true; }
picture=640x400+0+40
border=640x40+0+440
# Waits up to 20 s (catching up is slower on a busy machine) until the demo's standard
# error holds a line, or (with a count) that many of it.
await_line() {
  for _ in $(seq 1 200); do
    [ "$(tr '\r' '\n' <"$work/stderr" | grep -cx "$1")" -ge "${2:-1}" ] && return 0
    sleep 0.1
  done
  fail "no line '$1'"
}
# Whether the screenshot shows a colour (r,g,b) in the picture's rows.
shows_colour() {
  convert "$work/$1.png" -crop $picture +repage -depth 8 txt:- | grep -q "($2)"
}

start_demo() {
  : >"$work/stderr"
  # The disk writer rests 150 ms after each 46 ms buffer unless told otherwise; the
  # demo's own pace keeps it in step with the clock.
  SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw" SDL_DISKAUDIODELAY=0 "$demo" --maker "$@" </dev/null 2>"$work/stderr" &
  pid=$!
  window=$(timeout 20 xdotool search --sync --name '^Tin Kettles$' | head -n 1)
  [ -n "$window" ] || fail "no maker window"
}

# --- Pause, status line, jumps: scene 7 onwards.
start_demo --from 1500 --to 2300
sleep 2
xdotool key --window "$window" space
await_line "tinkettles: paused at [0-9]*"
paused_at=$(sed -n 's/^tinkettles: paused at //p' "$work/stderr")
sleep 0.5
shot held1
size1=$(stat -c %s "$work/audio.raw")
sleep 1
shot held2
size2=$(stat -c %s "$work/audio.raw")
[ "$(differing held1 held2 $picture)" = 0 ] || fail "the picture moved while paused"
# The device may keep writing while paused, but only silence.
if [ "$size2" -gt "$size1" ]; then
  nonzero=$(tail -c +$((size1 + 1)) "$work/audio.raw" | head -c $((size2 - size1)) | tr -d '\000' | wc -c)
  [ "$nonzero" = 0 ] || fail "the music went on while paused ($nonzero non-zero bytes)"
fi
[ "$(convert "$work/held1.png" -crop $border +repage -format '%[fx:maxima]' info:)" = 0 ] ||
  fail "the border is not black before H"

xdotool key --window "$window" h
sleep 0.5
shot line
[ "$(differing held1 line $picture)" = 0 ] || fail "the status line changed the picture's rows"
white=$(convert "$work/line.png" -crop $border +repage -depth 8 txt:- | grep -c '(255,255,255)')
[ "$white" -gt 100 ] || fail "no status line in the border ($white white pixels)"

xdotool key --window "$window" space
await_line "tinkettles: playing at $paused_at"
sleep 1
shot going
[ "$(differing line going $picture)" != 0 ] || fail "the picture did not go on after the pause"

# Left from scene 7: scene 6 begins at 1100, its page in colour 1 (255, 160, 160).
xdotool key --window "$window" Left
await_line "tinkettles: at 1100 (scene 6)"
sleep 0.5
shot scene6
shows_colour scene6 "255,160,160" || fail "scene 6's page colour is not shown after Left"
xdotool key --window "$window" Right
await_line "tinkettles: at 1500 (scene 7)"
xdotool key --window "$window" Right
await_line "tinkettles: at 1800 (scene 8)"
sleep 0.5
shot scene8
shows_colour scene8 "180,255,180" || fail "scene 8's ring colour is not shown after Right"
xdotool key --window "$window" Next
await_line "tinkettles: at 1900 (scene 8)"
# One key at a time: SDL takes a release and a press of one key queued together for
# the key's auto-repeat.
xdotool key --window "$window" Prior
await_line "tinkettles: at 1800 (scene 8)" 2
xdotool key --window "$window" Prior
await_line "tinkettles: at 1700 (scene 7)"
xdotool key --window "$window" Escape
for _ in $(seq 1 40); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
kill -0 "$pid" 2>/dev/null && fail "still running after Escape"
wait "$pid" || fail "exit status $? after Escape"

# --- The loop: a part of 40 rows (about 5 s) played past its end.
start_demo --from 1520 --to 1560
xdotool key --window "$window" l
await_line "tinkettles: looping 1520 to 1560"
await_line "tinkettles: at 1520 (scene 7)"
await_line "tinkettles: at 1520 (scene 7)" 2
kill -0 "$pid" 2>/dev/null || fail "the demo ended at the end of a looped part"
xdotool key --window "$window" l
await_line "tinkettles: loop off"
# Without the loop the part ends by itself, as without --maker.
for _ in $(seq 1 300); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "the part did not end with the loop off"
wait "$pid" || fail "exit status $? at the end of the part"
echo "maker keys test passed"
