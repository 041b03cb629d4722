#!/bin/sh
# The whole demo's flash analysis against what docs/flashes.md reports: the per-second
# table (docs/flashes.csv) and the plot (docs/flashes.png) made again must be the same
# bytes, every failing second must be in the document's table and its summary line
# must be the tool's; then the whole demo through --calm must pass every second, and a
# part that does not flash must come through it unchanged.
#   flash_whole_demo_test.sh TINKETTLES-CAPTURE   (run in the repository's root)
set -eu
tool=$1
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tk-flash-XXXXXX")
trap 'rm -rf "$scratch"' EXIT

"$tool" --fps 60 --flash-report "$scratch/flashes.csv" --flash-plot "$scratch/flashes.png" \
  2>"$scratch/errors.txt"
if ! cmp -s docs/flashes.csv "$scratch/flashes.csv"; then
  echo "The demo's flashes are no longer what docs/flashes.csv says; the changed seconds:"
  diff docs/flashes.csv "$scratch/flashes.csv" | head -40
  echo "Make the files again (docs/flashes.md says how) and update the document."
  exit 1
fi
cmp docs/flashes.png "$scratch/flashes.png" || { echo "docs/flashes.png is not the plot of docs/flashes.csv"; exit 1; }

summary=$(tr '\r' '\n' <"$scratch/errors.txt" | sed -n 's/^tinkettles-capture: \([0-9a-z].* the flash limits.*\)$/\1/p')
[ -n "$summary" ] || { echo "no summary line in:"; cat "$scratch/errors.txt"; exit 1; }
grep -qF "$summary" docs/flashes.md || { echo "docs/flashes.md lacks the summary: $summary"; exit 1; }
for second in $(awk -F, 'NR > 1 && $9 != "pass" { print $1 }' docs/flashes.csv); do
  grep -q "^| $second |" docs/flashes.md || { echo "docs/flashes.md's table lacks failing second $second"; exit 1; }
done

"$tool" --fps 60 --calm --flash-report "$scratch/calm.csv" 2>"$scratch/calm-errors.txt"
rows=$(awk 'END { print NR }' "$scratch/calm.csv")
[ "$rows" -eq "$(awk 'END { print NR }' docs/flashes.csv)" ] || { echo "--calm analysed $rows rows"; exit 1; }
failing=$(awk -F, 'NR > 1 && $9 != "pass"' "$scratch/calm.csv")
[ -z "$failing" ] || { echo "seconds failing with --calm:"; echo "$failing"; exit 1; }

# Scene 3 from position 500 to 650 flashes nowhere (six transitions a second at most):
# --calm shows it to the byte as without.
plain=$("$tool" --from 500 --to 650 --fps 30 --y4m - 2>/dev/null | cksum)
calm=$("$tool" --from 500 --to 650 --fps 30 --y4m - --calm 2>/dev/null | cksum)
[ "$plain" = "$calm" ] || { echo "--calm changed frames that do not flash"; exit 1; }
echo "flashes as documented; --calm passes all $((rows - 1)) seconds and leaves still frames alone"
