#!/usr/bin/env bash
# Without a display the demo says so in one line and exits with status 1 at once,
# rather than playing as characters in the terminal or into an off-screen surface;
# asked for the dummy driver it runs headless, and with ALSA's default output set to a
# null device (which takes sound as fast as it is given) it still plays in real time.
# Usage: no_display_test.sh PATH/TO/tinkettles [COMPAT-DIR]   (in the folder with data/)
set -u
demo=$1
if [ -n "${2:-}" ]; then
  export LD_LIBRARY_PATH=$2
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
message="tinkettles: no display (set DISPLAY, or SDL_VIDEODRIVER=dummy to run headless)"

# Unset, and naming a server that is not there.
for display in unset :987; do
  if [ $display = unset ]; then
    timeout 10 env -u DISPLAY -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy "$demo" -w \
      </dev/null >"$work/stdout" 2>"$work/stderr"
  else
    timeout 10 env -u SDL_VIDEODRIVER DISPLAY=$display SDL_AUDIODRIVER=dummy "$demo" -w \
      </dev/null >"$work/stdout" 2>"$work/stderr"
  fi
  status=$?
  [ $status = 1 ] || fail "DISPLAY $display: status $status, not 1"
  [ "$(grep -c '^tinkettles:' "$work/stderr")" = 1 ] && grep -qxF "$message" "$work/stderr" ||
    fail "DISPLAY $display: not the one line '$message': $(cat "$work/stderr")"
  # A text-mode driver starts and stops, and nothing more.
  [ "$(stat -c %s "$work/stdout")" -lt 4096 ] || fail "DISPLAY $display: it drew into the terminal"
done

# Headless on request, the null output paced: both still playing after 4 s.
printf 'pcm.!default { type null }\n' >"$work/.asoundrc"
for audio in dummy alsa; do
  HOME=$work SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=$audio "$demo" </dev/null >/dev/null 2>"$work/stderr" &
  pid=$!
  sleep 4
  kill -0 $pid 2>/dev/null || { wait $pid; fail "audio $audio: ended with status $? within 4 s: $(cat "$work/stderr")"; }
  kill $pid
  wait $pid 2>/dev/null
done
echo "no-display test passed"
