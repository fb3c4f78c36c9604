#!/usr/bin/env bash
# drift_test.sh CLI COMPLETION MAN_PAGE README
# Every family `chips` lists must be named where a user looks for it: in
# --chip's text of --help and of the manual page, among the completion's
# values of --chip, and in the README's Chips table.
set -uo pipefail
cli=$1 completion=$2 man=$3 readme=$4
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

families=$("$cli" chips | awk '/^[^ ]/ {print $1}')
[ -n "$families" ] || { echo "FAIL: chips lists no family" >&2; exit 1; }
help=$("$cli" --help | awk '/^  --chip / {on = 1; print; next}
  /^  -/ {on = 0} on')
values=$(grep -E '^ *--chip\)' "$completion")
page=$(sed 's/\\-/-/g' "$man" | awk '/^\\fB--chip\\fR/ {on = 1; next}
  /^\.TP/ {on = 0} on')
table=$(awk '/^### Chips/ {on = 1; next} /^#/ {on = 0} on && /^\|/' "$readme")

for family in $families; do
  grep -qw -- "$family" <<<"$help" || fail "--help does not name $family"
  grep -qw -- "$family" <<<"$values" || fail "the completion lacks $family"
  grep -qw -- "$family" <<<"$page" || fail "the manual page lacks $family"
  grep -qF -- "\`$family\`" <<<"$table" ||
    fail "the README's Chips table lacks $family"
done
[ "$failures" -eq 0 ] && echo "drift: $(wc -w <<<"$families") families named everywhere"
exit "$failures"
