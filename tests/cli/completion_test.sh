#!/usr/bin/env bash
# completion_test.sh COMPLETION_FILE
# The generated bash completion, asked what a user's Tab would be: each
# row is a command line (the last word being completed, "" for a new word)
# and the words the completion must offer, or "none".
set -uo pipefail
source "$1"
failures=0

offer() {
  local line=$1
  read -ra COMP_WORDS <<<"$line"
  [[ $line == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _baud51_cli
  echo "${COMPREPLY[*]:-none}"
}

check() {
  local name=$1 line=$2 expected=$3 got
  got=$(offer "$line")
  if [ "$got" = "$expected" ]; then
    echo "ok: $name"
  else
    echo "FAIL: $name: '$line' offered '$got', expected '$expected'" >&2
    failures=$((failures + 1))
  fi
}

check commands_first   "baud51-cli ta"                 "table"
check crystal_first    "baud51-cli 11.0"               "11.0592"
check rate_after_freq  "baud51-cli 11.0592 1152"       "115200"
check nothing_after    "baud51-cli 11.0592 9600 "      "none"
check table_crystal    "baud51-cli table 22"           "22.1184"
check table_done       "baud51-cli table 12 "          "none"
check code_rate        "baud51-cli code 12 57"         "57600"
check crystals_rates   "baud51-cli crystals 9600 92"   "921600"
check option_values    "baud51-cli --format "          "text csv json markdown sarif"
check clock_values     "baud51-cli 12 9600 --clock "   "12 6 1"
check value_skipped    "baud51-cli --timer 2 ta"       "table"
check baud_for_table   "baud51-cli table 12 --b"       "--baud"
check no_baud_default  "baud51-cli 12 9600 --b"        "none"
check no_format_code   "baud51-cli code 12 9600 --f"   "none"
check command_as_value "baud51-cli crystals 9600 tab"  "none"
check lang_for_code    "baud51-cli code 12 9600 --l"   "--lang"
check lang_values      "baud51-cli code --lang "       "c asm"
check no_lang_default  "baud51-cli 12 9600 --l"        "none"
check lang_skipped     "baud51-cli --lang asm co"      "code"
check peer_values      "baud51-cli 12 9600 --peer "    "ft232r ft232bm ch340 cp2102 cp210x cp2104 cp2105-eci cp2105-sci cp2108 cp2102n pl2303 pl2303ta pl2303hxn exact"
check no_peer_code     "baud51-cli code 12 9600 --p"   "none"
check family_timers    "baud51-cli --chip n76e003 --timer "  "0 1 2 3"
# Bash hands "stc15:t2" over split at the colon.
check chip_generator   "baud51-cli --chip stc15 : t2 12 1152" "115200"

[ "$failures" -eq 0 ] && echo "completion: all checks passed"
exit "$failures"
