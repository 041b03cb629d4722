#!/usr/bin/env bash
# Runs the demo in a window of a real X server (Xvfb) and drives it with real input:
# the window is 640x480 and titled "Tin Kettles", the border rows are black, the first
# scene's background shows in bright and dimmed lines, keys leave it running, and a
# mouse click ends it with status 0 within a second.
# Usage: window_test.sh PATH/TO/tinkettles [COMPAT-DIR]   (run in the folder that holds data/)
# With COMPAT-DIR, the folder of the compatibility SDL 1.2 over SDL 2, the demo runs on
# that library instead, with a sound server that is not running: it must play silently.
set -u
demo=$1
compat=${2:-}
work=${TK_WORK:-$(mktemp -d)}
trap '[ -n "${TK_KEEP:-}" ] || rm -rf "$work"' EXIT

if [ -z "${TK_INSIDE_XVFB:-}" ]; then
  # -noreset: a bare Xvfb resets when its last client leaves, and the classic library
  # connects twice, so that its second connection could find the server gone.
  TK_INSIDE_XVFB=1 exec xvfb-run -a -s "-noreset -screen 0 1024x768x24" "$0" "$@"
fi

fail() { echo "FAIL: $*" >&2; [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null; exit 1; }

if [ -z "$compat" ]; then
  # The music plays to a file so that no sound card is needed.
  SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw" "$demo" -w </dev/null 2>"$work/stderr" &
else
  # A server address where none can be, so that nothing connects or starts one.
  LD_LIBRARY_PATH=$compat SDL_AUDIODRIVER=pulse PULSE_SERVER=unix:/nonexistent/tk-no-server \
    "$demo" -w </dev/null 2>"$work/stderr" &
fi
pid=$!

window=$(timeout 20 xdotool search --sync --name '^Tin Kettles$' | head -n 1)
[ -n "$window" ] || fail "no window titled 'Tin Kettles' appeared ($(cat "$work/stderr"))"

if [ -n "$compat" ]; then
  grep -q "^$compat/" <(awk '{ print $6 }' "/proc/$pid/maps") ||
    fail "the demo did not load the library in $compat"
  # A window the picture's size goes to the X server as it is: no OpenGL renderer,
  # which here would be Mesa's software rasteriser and a quarter of a core.
  ! grep -q 'libGL\|_dri\.so' "/proc/$pid/maps" ||
    fail "the window is drawn through OpenGL: $(grep -o '[^/]*\(libGL\|_dri\)[^/]*$' "/proc/$pid/maps" | sort -u | tr '\n' ' ')"
fi

eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" = 640 ] && [ "$HEIGHT" = 480 ] || fail "window is ${WIDTH}x${HEIGHT}, not 640x480"

# Scene 1's picture starts ten times enlarged and shrinks for 16 s: by 12 s the
# background shows around it.
sleep 12
if [ -n "$compat" ]; then
  grep -q "playing silently" "$work/stderr" ||
    fail "no 'playing silently' line without a sound server ($(cat "$work/stderr"))"
fi
import -window "$window" "$work/shot.png" || fail "screenshot failed"
top=$(convert "$work/shot.png" -crop 640x40+0+0 +repage -format '%[fx:maxima]' info:)
bottom=$(convert "$work/shot.png" -crop 640x40+0+440 +repage -format '%[fx:maxima]' info:)
[ "$top" = 0 ] || fail "rows 0-39 are not black (max $top)"
[ "$bottom" = 0 ] || fail "rows 440-479 are not black (max $bottom)"

# Scene 1's background, index 127, is (255, 150, 150) on even lines and four fifths of
# it on the odd lines below them: find it, and check every such pixel's dimmed twin.
convert "$work/shot.png" -depth 8 txt:- | awk -F'[,: ()]+' '
  NR > 1 && $2 >= 40 && $2 < 440 {
    colour[$1 "," $2] = $3 "," $4 "," $5
  }
  END {
    found = 0
    for (key in colour) {
      split(key, p, ",")
      if (p[2] % 2 == 0 && colour[key] == "255,150,150") {
        found++
        below = p[1] "," (p[2] + 1)
        if (colour[below] != "204,120,120") { print "pixel " below " is " colour[below]; exit 1 }
      }
    }
    if (found < 100) { print "background seen at only " found " pixels"; exit 1 }
  }' || fail "scene 1 background is not shown as bright and dimmed lines"

# Keys, Escape among them, are ignored.
xdotool key --window "$window" Escape space Return q
sleep 1
kill -0 "$pid" 2>/dev/null || fail "the demo ended on a key press"

# A mouse button ends it within a second, with status 0.
xdotool mousemove --window "$window" 320 240 click 1
for _ in $(seq 1 20); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.05
done
kill -0 "$pid" 2>/dev/null && fail "the demo is still running a second after a click"
wait "$pid"
status=$?
[ "$status" = 0 ] || fail "exit status $status after a click ($(cat "$work/stderr"))"
echo "demo window test passed"
