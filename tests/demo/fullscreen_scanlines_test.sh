#!/usr/bin/env bash
# The compatibility SDL 1.2 (over SDL 2) full screen on a 1920 x 1080 display: the
# 640 x 480 picture is enlarged to 1440 x 1080 in the middle, and every scan line stays
# a whole line: each of the 480 lines becomes 2 or 3 identical screen rows, each dimmed
# line is exactly four fifths of the bright line above it, and nothing is blended.
# Usage: fullscreen_scanlines_test.sh PATH/TO/tinkettles COMPAT-DIR   (in the folder with data/)
set -u
demo=$1
compat=$2
work=${TK_WORK:-$(mktemp -d)}
trap '[ -n "${TK_KEEP:-}" ] || rm -rf "$work"' EXIT

if [ -z "${TK_INSIDE_XVFB:-}" ]; then
  TK_INSIDE_XVFB=1 exec xvfb-run -a -s "-noreset -screen 0 1920x1080x24" "$0" "$@"
fi

fail() { echo "FAIL: $*" >&2; [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null; exit 1; }

LD_LIBRARY_PATH=$compat SDL_AUDIODRIVER=dummy "$demo" </dev/null 2>"$work/stderr" &
pid=$!
window=$(timeout 20 xdotool search --sync --name '^Tin Kettles$' | head -n 1)
[ -n "$window" ] || fail "no window titled 'Tin Kettles' appeared ($(cat "$work/stderr"))"
# A window manager gives a full-screen window the whole screen; the bare Xvfb has none,
# so do its part.
xdotool windowmove "$window" 0 0 windowsize "$window" 1920 1080

# Scene 1 is playing by now: its picture, enlarged, fills the frame.
sleep 4
import -window root "$work/shot.png" || fail "screenshot failed"
kill "$pid"

for area in 1920x90+0+0 1920x90+0+990 240x1080+0+0 240x1080+1680+0; do
  max=$(convert "$work/shot.png" -crop "$area" +repage -format '%[fx:maxima]' info:)
  [ "$max" = 0 ] || fail "the border $area is not black (max $max)"
done

# The picture's 1440 x 900 rows (screen rows 40-439 of the 640 x 480 surface), one
# line of text per row.
convert "$work/shot.png" -crop 1440x900+240+90 +repage -depth 8 txt:- | awk -F'[,: ()]+' '
  NR > 1 { row[$2] = row[$2] $3 "," $4 "," $5 " " }
  END {
    # Runs of identical rows: one for each surface line.
    runs = 0
    for (y = 0; y < 900; y++) {
      if (y == 0 || row[y] != row[y - 1]) { runs++; first[runs] = y; size[runs] = 0 }
      size[runs]++
    }
    if (runs != 400) { print runs " distinct lines instead of 400 (blended rows?)"; exit 1 }
    for (i = 1; i <= runs; i++)
      if (size[i] != 2 && size[i] != 3) { print "line " i " is " size[i] " rows high"; exit 1 }
    # Each dimmed line is four fifths of the bright line above it, pixel by pixel.
    for (i = 1; i < runs; i += 2) {
      n = split(row[first[i]], bright, " ")
      split(row[first[i + 1]], dim, " ")
      for (x = 1; x <= n; x++) {
        split(bright[x], b, ","); split(dim[x], d, ",")
        for (c = 1; c <= 3; c++)
          if (d[c] != int(4 * b[c] / 5)) {
            print "line " i + 1 " pixel " x - 1 " is " dim[x] " under " bright[x]; exit 1
          }
      }
    }
  }' || fail "the scan lines are not whole lines"
echo "full-screen scan line test passed"
