#!/usr/bin/env bash
# Installs the demo the way its users do and runs it from folders without its data:
# one without data/, one whose data/ is empty, one whose data/ holds other files.
#   install: `cmake --install` into a scratch prefix
#   package: `cpack -G DEB`, the two packages checked by lintian and unpacked with
#            `dpkg-deb -x` into a scratch root, the desktop entry and the AppStream
#            metainfo validated
# Usage: installed_demo_test.sh install|package BUILD_DIR SOURCE_DIR VERSION CMAKE CPACK
set -uo pipefail
mode=$1 build=$2 source=$3 version=$4 cmake=$5 cpack=$6

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

case $mode in
install)
  prefix=$scratch/opt/tk
  "$cmake" --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1 ||
    { cat "$scratch/install.log" >&2; echo "FAIL: cmake --install" >&2; exit 1; }
  ;;
package)
  (cd "$build" && "$cpack" -G DEB -B "$scratch/package") >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log" >&2; echo "FAIL: cpack -G DEB" >&2; exit 1; }
  arch=$(dpkg --print-architecture)
  deb=$scratch/package/tinkettles_${version}_$arch.deb
  tools_deb=$scratch/package/tinkettles-tools_${version}_$arch.deb
  [ -f "$deb" ] && [ -f "$tools_deb" ] || fail "packages made: $(ls "$scratch/package")"
  depends=$(dpkg-deb -f "$deb" Depends)
  case $depends in *libsdl1.2debian*) ;; *) fail "Depends lacks the SDL 1.2 runtime: $depends" ;; esac
  [ "$(dpkg-deb -f "$deb" Package Version Section | tr '\n' ' ')" = "Package: tinkettles Version: $version Section: games " ] ||
    fail "control fields: $(dpkg-deb -f "$deb" Package Version Section)"
  case $(dpkg-deb -f "$tools_deb" Depends) in "tinkettles (= $version),"*) ;;
  *) fail "the tools do not depend on this very demo: $(dpkg-deb -f "$tools_deb" Depends)" ;; esac
  # A distribution's checks: every error and warning fails, unless the package
  # overrides it, and an override must say why (a comment line just before it).
  lintian --pedantic --info --no-cfg --fail-on error,warning "$deb" "$tools_deb" >"$scratch/lintian.log" 2>&1 ||
    fail "lintian: $(grep -v '^N:' "$scratch/lintian.log")"
  for package in "$deb" "$tools_deb"; do
    dpkg-deb -x "$package" "$scratch/root" || { echo "FAIL: dpkg-deb -x $package" >&2; exit 1; }
  done
  for overrides in "$scratch"/root/usr/share/lintian/overrides/*; do
    [ -f "$overrides" ] || continue
    awk '/^#/ { reason = 1; next } NF && !reason { print; bad = 1 } { reason = 0 } END { exit bad }' \
      "$overrides" >"$scratch/bare" || fail "overrides without a reason: $(cat "$scratch/bare")"
  done
  prefix=$scratch/root/usr
  desktop-file-validate "$prefix/share/applications/tinkettles.desktop" >"$scratch/desktop.log" 2>&1 &&
    [ ! -s "$scratch/desktop.log" ] || fail "desktop-file-validate: $(cat "$scratch/desktop.log")"
  appstreamcli validate --no-net --pedantic "$prefix"/share/metainfo/*.metainfo.xml >"$scratch/appstream.log" 2>&1 ||
    fail "appstreamcli validate: $(cat "$scratch/appstream.log")"
  grep -q '^[EW]:' "$scratch/appstream.log" && fail "appstreamcli validate: $(cat "$scratch/appstream.log")"
  # The users' short document, not the developers' README.
  gzip -dc "$prefix/share/doc/tinkettles/README.gz" | grep -q '^Photosensitivity warning' ||
    fail "the user document is missing or lacks the flash warning"
  ;;
*)
  echo "usage: $0 install|package BUILD_DIR SOURCE_DIR VERSION CMAKE CPACK" >&2
  exit 2
  ;;
esac

# The demo where games go, every tool with its manual page, and the fourteen data files
# byte for byte.
demo=$prefix/games/tinkettles
[ -x "$demo" ] || fail "tinkettles not installed in games/"
for program in tinkettles-capture tinkettles-music tinkettles-compose tinkettles-svg \
  tinkettles-picture-sheet tinkettles-font tinkettles-preview; do
  [ -x "$prefix/bin/$program" ] || fail "$program not installed"
  gzip -dc "$prefix/share/man/man1/$program.1.gz" 2>/dev/null | grep -q '^\.SH SYNOPSIS' ||
    fail "$program has no manual page"
done
data=$prefix/share/tinkettles/data
[ "$(ls "$data" | wc -l)" = 14 ] || fail "share/tinkettles/data holds: $(ls "$data" | tr '\n' ' ')"
for file in "$source"/data/*; do
  cmp -s "$file" "$data/$(basename "$file")" || fail "data/$(basename "$file") installed differently"
done

# The desktop entry starts the demo with our icon; the manual page is the demo's.
desktop=$prefix/share/applications/tinkettles.desktop
grep -qx 'Exec=tinkettles' "$desktop" && grep -qx 'Icon=tinkettles' "$desktop" ||
  fail "desktop entry: $(cat "$desktop")"
# A PNG's width and height are the 8 bytes after its signature and the IHDR header.
icon=$prefix/share/icons/hicolor/128x128/apps/tinkettles.png
[ "$(od -An -tx1 -N4 "$icon" 2>/dev/null | tr -d ' ')" = 89504e47 ] &&
  [ "$(od -An -tx1 -j16 -N8 "$icon" | tr -d ' ')" = 0000008000000080 ] ||
  fail "icon missing or not a 128 x 128 PNG"
manual=$(gzip -dc "$prefix/share/man/man6/tinkettles.6.gz" | head -1)
[ "$manual" = ".TH TINKETTLES 6 \"2026\" \"tinkettles $version\" \"Games\"" ] || fail "manual page: $manual"

# The installed programs, run with nothing set from a folder whose data/ (common in a
# home folder) is not the demo's: an empty one, then one holding other files.
elsewhere=$scratch/elsewhere
mkdir -p "$elsewhere/data"
cd "$elsewhere" || exit 1
run() { env -u TINKETTLES_DATA SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$@" </dev/null; }

[ "$(run "$demo" --version)" = "tinkettles $version" ] || fail "tinkettles --version"

milliseconds() { echo $(($(date +%s%N) / 1000000)); }

# What a run said beyond the progress line that a catch-up longer than a second shows
# (a loaded machine makes the catch-up of --from slow enough for it).
said() { tr '\r' '\n' <"$scratch/errors" | grep -v -e '^$' -e ': catching up to [0-9]*: *[0-9]* %$'; }

# The whole first scene: two orders of the music, 2 x 64 x 6 ticks at 47 a second,
# 16.3 s. Ending sooner would mean it did not play them.
start=$(milliseconds)
run "$demo" --to 200 >/dev/null 2>"$scratch/errors"
status=$?
took=$(($(milliseconds) - start))
[ $status = 0 ] || fail "the installed demo ended with status $status: $(cat "$scratch/errors")"
[ -s "$scratch/errors" ] && fail "the installed demo said: $(cat "$scratch/errors")"
echo "first scene played to its end in $took ms" >&2
[ $took -ge 15000 ] || fail "the first scene ended after $took ms, not about 16300"

# The same from a data/ of unrelated files, one of them named like a data file: the
# last order only, 8.2 s.
echo notes >data/notes.txt
echo "not a module" >data/da_wobble.mod
run "$demo" --from 2463 >/dev/null 2>"$scratch/errors" ||
  fail "from a data/ of other files: status $?: $(cat "$scratch/errors")"
said >/dev/null && fail "from a data/ of other files it said: $(said)"

# The contact sheet of the installed data, from here: a 16-cell PNG, 1300 x 820.
run "$prefix/bin/tinkettles-picture-sheet" sheet.png 2>"$scratch/errors" ||
  fail "the installed picture sheet: $(cat "$scratch/errors")"
[ "$(od -An -tx1 -j16 -N8 sheet.png 2>/dev/null | tr -d ' ')" = 0000051400000334 ] ||
  fail "the picture sheet is not a 1300 x 820 PNG"

if [ "$mode" = install ]; then
  # The last order only: 8.2 s, where from the start it would be 204 s.
  start=$(milliseconds)
  run "$demo" --from 2400 >/dev/null 2>"$scratch/errors" ||
    fail "--from 2400 ended with status $?: $(cat "$scratch/errors")"
  took=$(($(milliseconds) - start))
  echo "--from 2400 played to the end in $took ms" >&2
  [ $took -ge 7500 ] && [ $took -lt 60000 ] || fail "--from 2400 took $took ms, not about 8200"

  # The capture finds the installed data the same way.
  run "$prefix/bin/tinkettles-capture" --fps 2 --log log.txt 2>"$scratch/errors" ||
    fail "the installed capture failed: $(cat "$scratch/errors")"
  last=$(tail -1 log.txt 2>/dev/null)
  [ "$(echo "$last" | cut -d' ' -f3)" -ge 2500 ] 2>/dev/null || fail "capture log ends with: $last"

  # Without any data folder: one line that says where to run it, status 1.
  mv "$data" "$scratch/moved"
  run "$demo" >/dev/null 2>"$scratch/errors"
  status=$?
  [ $status = 1 ] || fail "without data: status $status"
  [ "$(wc -l <"$scratch/errors")" = 1 ] && grep -q "folder that holds data/" "$scratch/errors" &&
    grep -qF "data/afrogirl.txt" "$scratch/errors" && grep -qF "no folder $data" "$scratch/errors" ||
    fail "without data: $(cat "$scratch/errors")"
  # ...and TINKETTLES_DATA names one.
  TINKETTLES_DATA=$scratch/moved SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
    "$demo" --from 2463 </dev/null >/dev/null 2>"$scratch/errors" ||
    fail "TINKETTLES_DATA: $(cat "$scratch/errors")"
fi

[ $failures = 0 ] && echo "$mode: the installed demo runs from anywhere" >&2
[ $failures = 0 ]
