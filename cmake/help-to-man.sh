#!/bin/sh
# Writes a tool's manual page from its own --help, so the page cannot drift from the
# program. The usage line (with its indented continuation lines) becomes the synopsis
# and the rest of the help the description, both kept as the program lays them out,
# with roff's special characters escaped.
# Usage: help-to-man.sh PROGRAM NAME SUMMARY VERSION OUT.1
set -eu
program=$1 name=$2 summary=$3 version=$4 out=$5

help=$(SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$program" --help)
[ -n "$help" ] || { echo "help-to-man: $program --help said nothing" >&2; exit 1; }

# roff: a backslash is \e, a minus \-, and no line may begin with . or '.
escape() { sed -e 's/\\/\\e/g' -e 's/-/\\-/g' -e "s/^\([.']\)/\\\\\&\1/"; }
# The usage: its first line without "usage: ", and the lines indented under it.
synopsis() { awk 'NR == 1 { sub(/^usage: /, ""); print; next } /^        +/ { sub(/^ +/, ""); print; next } { exit }'; }
description() { awk 'NR == 1 { next } started || !/^        +/ { started = 1; print }'; }

{
  printf '.TH %s 1 "2026" "%s %s" "Tin Kettles"\n' \
    "$(printf '%s\n' "$name" | tr '[:lower:]' '[:upper:]' | escape)" "$(printf '%s\n' "$name" | escape)" "$version"
  printf '.SH NAME\n%s \\- %s\n' "$(printf '%s\n' "$name" | escape)" "$(printf '%s\n' "$summary" | escape)"
  printf '.SH SYNOPSIS\n.nf\n'
  printf '%s\n' "$help" | synopsis | escape
  printf '.fi\n.SH DESCRIPTION\n.nf\n'
  printf '%s\n' "$help" | description | escape
  printf '.fi\n.SH SEE ALSO\n.BR tinkettles (6)\n'
} >"$out"
