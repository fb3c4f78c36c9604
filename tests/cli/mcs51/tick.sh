#!/usr/bin/env bash
# tick.sh CLI SCRATCH
# The tick code baud51-cli writes, compiled with Debian's SDCC (or
# assembled with sdas8051) and timed on its s51 simulator at 12 MHz and 12
# clocks: from the 1st to the 101st entry of the handler's vector there
# must be exactly 100 periods, give or take the few cycles an interrupt
# waits for the instruction under way to end. Each image, explained, reads
# back as its source does.
set -euo pipefail
cli=$1 scratch=$2
# shellcheck source=same_reading.sh
source "$(dirname "${BASH_SOURCE[0]}")/same_reading.sh"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

for tool in sdcc sdas8051 s51; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
done
rm -rf "$scratch" && mkdir -p "$scratch"

# Builds the tick code of PERIOD and filters in $dir into tick.ihx: the C
# included by a main() that only waits, or the module linked with one that
# declares the handler. The tools must say nothing.
build() {
  local dir=$1 lang=$2; shift 2
  mkdir -p "$dir"
  if [ "$lang" = asm ]; then
    "$cli" tick-code "$@" --lang asm >"$dir/tick.asm" || return 1
    local vector
    vector=$(sed -n 's/.*__interrupt(\([0-9]*\)).*/\1/p' "$dir/tick.asm" | head -1)
    printf '#include <8052.h>\nvoid tick_init(void);\nvoid tick_isr(void) __interrupt(%s);\nvoid main(void)\n{\n    tick_init();\n    for (;;) {\n    }\n}\n' \
      "$vector" >"$dir/main.c"
    (cd "$dir" && sdas8051 -plosff tick.asm && sdcc -mmcs51 --Werror -c main.c &&
      sdcc -mmcs51 -o tick.ihx main.rel tick.rel) >"$dir/build.log" 2>&1
  else
    "$cli" tick-code "$@" >"$dir/tick.c" || return 1
    printf '#include "tick.c"\nvoid main(void)\n{\n    tick_init();\n    for (;;) {\n    }\n}\n' \
      >"$dir/main.c"
    (cd "$dir" && sdcc -mmcs51 --Werror -o tick.ihx main.c) >"$dir/build.log" 2>&1
  fi
  local status=$?
  [ "$status" -eq 0 ] && [ ! -s "$dir/build.log" ] || { cat "$dir/build.log" >&2; return 1; }
}

# The oscillator clocks from the 1st to the 101st stop at ADDRESS.
clocks_between() {
  local dir=$1 address=$2
  {
    echo "break $address"
    echo run
    echo state
    for _ in $(seq 100); do echo run; done
    echo state
    echo quit
  } >"$dir/commands"
  (cd "$dir" && timeout 120 s51 -t 8052 -X 12M tick.ihx <commands >s51.log 2>&1) || true
  grep -a 'Total time since last reset' "$dir/s51.log" |
    sed -n 's/.*(\([0-9]*\) clks).*/\1/p' |
    awk 'NR == 1 {first = $1} END {if (NR == 2) print $1 - first}'
}

for row in "t0-mode1-1ms c 1ms 0 1" "t0-mode1-10ms c 10ms 0 1" \
    "t1-mode2-250us c 250us 1 2" "t2-ar-10ms c 10ms 2 ar" \
    "t0-mode1-1s c 1s 0 1" "t1-mode0-5ms c 5ms 1 0" \
    "asm-t0-mode1-1ms asm 1ms 0 1" "asm-t1-mode0-5ms asm 5ms 1 0"; do
  set -- $row
  name=$1 lang=$2 period=$3 timer=$4 mode=$5
  args=(12 "$period" --timer "$timer" --mode "$mode" --clock 12)
  build "$scratch/$name" "$lang" "${args[@]}" || { fail "$name: build"; continue; }
  # Two overflows of the longest row, 62.5 ms, and its handler's reload.
  if sim_time=200ms same_reading "$cli" timers "$scratch/$name/tick.$lang" \
      "$scratch/$name/tick.ihx" 12; then
    echo "ok: $name: its image reads back as its source"
  else
    fail "$name: its image reads back otherwise"
  fi
  # The vector's address is 3 + 8 * its number; the handler is entered
  # there every interrupt, several a period where one overflow is short.
  vector=$("$cli" tick-code "${args[@]}" | sed -n 's/.*__interrupt(\([0-9]*\)).*/\1/p' | head -1)
  interrupts=$("$cli" tick "${args[@]}" --format csv | awk -F, 'NR == 2 {print $9}')
  actual=$("$cli" tick "${args[@]}" --format csv | awk -F, 'NR == 2 {print $7}')
  address=$(printf '0x%04x' $((3 + 8 * vector)))
  # 100 interrupts, in oscillator clocks of 12 per cycle.
  expected=$(awk -v a="$actual" -v n="$interrupts" 'BEGIN {printf "%.0f", 100 * a * 12e6 / n}')
  measured=$(clocks_between "$scratch/$name" "$address")
  [ -n "$measured" ] || { fail "$name: s51 gave no timing"; continue; }
  # An interrupt waits for the instruction under way: at most 4 cycles.
  if awk -v m="$measured" -v e="$expected" 'BEGIN {d = m - e; exit !(d >= -48 && d <= 48)}'; then
    echo "ok: $name: 100 interrupts in $measured clocks, $expected expected"
  else
    fail "$name: 100 interrupts in $measured clocks, expected $expected"
  fi
done
# Every family's tick timers, 12 MHz and 1 ms, built in C and in assembly
# (not timed: s51 simulates none of their clock bits). The families are the
# program's own list, so that a new one is built here too.
chips=$("$cli" chips --format csv | awk -F, 'NR > 1 {print $1}')
[ -n "$chips" ] || { fail "chips lists no family"; exit 1; }
for chip in $chips; do
  for timer in 0 1 2 3 4; do
    "$cli" tick 12 1ms --chip "$chip" --timer "$timer" >/dev/null 2>&1 || continue
    for lang in c asm; do
      name="$chip-t$timer-$lang"
      if build "$scratch/$name" "$lang" 12 1ms --chip "$chip" --timer "$timer"; then
        echo "ok: $name builds"
      else
        fail "$name: build"
      fi
    done
  done
done
[ "$failures" -eq 0 ] && echo "tick: all checks passed"
exit "$failures"
