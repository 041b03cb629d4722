# What both maker-mode scripts share: the re-run inside Xvfb on a display of their own,
# a scratch folder, and failing with the demo's standard error shown.
# Sourced as: source maker_session.sh NAME DISPLAY "$@"   (sets work; uses window, pid)
maker_name=$1 maker_display=$2
shift 2

if [ -z "${TK_INSIDE_XVFB:-}" ]; then
  TK_INSIDE_XVFB=1 exec xvfb-run -n "$maker_display" -s "-noreset -screen 0 1024x768x24" "$0" "$@"
fi

work=$(mktemp -d "/tmp/h23-$maker_name.XXXXXX")
trap 'kill "${pid:-}" 2>/dev/null; rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; echo "--- demo's standard error:" >&2; cat "$work/stderr" >&2; exit 1; }
shot() { import -window "$window" "$work/$1.png" || fail "screenshot $1 failed"; }
