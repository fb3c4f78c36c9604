#!/usr/bin/env bash
# readme_tables_test.sh CLI README
# The README's family tables are `chips --format markdown`'s output, pasted
# between two marker comments; this fails, showing the difference, when
# the catalogue and the README part.
set -uo pipefail
cli=$1 readme=$2
begin='<!-- baud51-cli chips --format markdown -->'
end='<!-- end of baud51-cli chips --format markdown -->'

grep -qxF -- "$begin" "$readme" || { echo "FAIL: no '$begin' in $readme" >&2; exit 1; }
grep -qxF -- "$end" "$readme" || { echo "FAIL: no '$end' in $readme" >&2; exit 1; }
pasted=$(awk -v b="$begin" -v e="$end" '$0 == e {on = 0} on; $0 == b {on = 1}' "$readme")
printed=$("$cli" chips --format markdown) || { echo "FAIL: chips --format markdown failed" >&2; exit 1; }
if [ "$pasted" != "$printed" ]; then
  echo "FAIL: the README's family tables differ from chips --format markdown;" >&2
  echo "paste its output between the markers again:" >&2
  diff <(echo "$pasted") <(echo "$printed") >&2
  exit 1
fi
echo "readme: the family tables are chips --format markdown's"
