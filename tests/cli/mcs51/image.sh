#!/usr/bin/env bash
# image.sh CLI SCRATCH
# explain of a built image: each row a small C file built by Debian's SDCC
# and its .ihx run on s51 by baud51-cli, one run a row; the faults get a
# named message and status 2, and nothing waits past the guard.
set -euo pipefail
cli=$1 scratch=$2
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

for tool in sdcc s51 python3; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
done
rm -rf "$scratch" && mkdir -p "$scratch"

# Builds $scratch/NAME/NAME.ihx from the C on standard input.
build() {
  local dir=$scratch/$1
  mkdir -p "$dir" && cat >"$dir/$1.c"
  (cd "$dir" && sdcc -mmcs51 --Werror "$1.c") >"$dir/build.log" 2>&1 ||
    { cat "$dir/build.log" >&2; return 1; }
}

# ROW NAME STATUS PATTERN ARGS...: explain's status and a line matching
# PATTERN in what it says.
row() {
  local name=$1 status=$2 pattern=$3; shift 3
  local out code=0
  out=$("$cli" explain "$@" 2>&1) || code=$?
  if [ "$code" -ne "$status" ]; then
    fail "$name: status $code, expected $status: $out"
  elif ! grep -qE -- "$pattern" <<<"$out"; then
    fail "$name: no line matching $pattern in: $out"
  else
    echo "ok: $name"
  fi
}

build uart <<'C'
#include <8052.h>
#define FOSC 11059200L
#define BAUD 9600
#define USE_TIMER2 0
void main(void)
{
#if USE_TIMER2
    T2CON = 0x34;
#else
    SCON = 0x50;
    TMOD = (TMOD & 0x0F) | 0x20;
    TH1 = (unsigned char)(256 - FOSC / 384 / BAUD);
    TR1 = 1;
#endif
    for (;;) {
    }
}
C
row uart-behind-if 0 'reload FD: 9600.00 baud' 11.0592 "$scratch/uart/uart.ihx" --sim-time 20ms

build timer2 <<'C'
#include <8052.h>
void main(void)
{
    SCON = 0x50;
    RCAP2H = 0xFF;
    RCAP2L = 0xDC;
    TH2 = 0xFF;
    TL2 = 0xDC;
    T2CON = 0x34;
    for (;;) {
    }
}
C
row timer2-baud 0 't2: .*|reload FFDC: 9600.00 baud' 11.0592 "$scratch/timer2/timer2.ihx" --sim-time 20ms

build stopped <<'C'
#include <8052.h>
void main(void)
{
    SCON = 0x50;
    TMOD = 0x20;
    TH1 = 0xFD;
    for (;;) {
    }
}
C
row never-started 0 'stopped.c:6: not-started' 11.0592 "$scratch/stopped/stopped.ihx" --sim-time 20ms

# Idle mode asked for before any set-up: s51 runs on into the loop.
build idle <<'C'
#include <8052.h>
void main(void)
{
    PCON |= 0x01;
    for (;;) {
    }
}
C
row nothing-set-up 2 'set up no serial port or timer .*waits in a loop at 0x' 12 "$scratch/idle/idle.ihx"

# A record's checksum off by one.
sed '2s/..$/00/' "$scratch/uart/uart.ihx" >"$scratch/corrupt.ihx"
row corrupt-record 2 'line 2: .*checksum' 12 "$scratch/corrupt.ihx"
row simulator-missing 2 'sdcc-ucsim' 12 "$scratch/uart/uart.ihx" --simulator /no/such/s51
# A simulator that never answers: stopped by the guard, 3 s at 10 ms.
printf '#!/bin/sh\nexec sleep 60\n' >"$scratch/silent" && chmod +x "$scratch/silent"
started=$(date +%s)
row silent-simulator 2 'took longer than' 12 "$scratch/uart/uart.ihx" --simulator "$scratch/silent" --sim-time 10ms
[ $(($(date +%s) - started)) -le 6 ] || fail "silent-simulator: not stopped by the guard"

# The tick reloaded in its handler: the measured period is the reload's
# 922 counts plus the cycles from the overflow to the reload, which are
# the handler's instructions up to the write of TL0 as the listing counts
# them, the vector's jump, and the interrupt's response: 3 to 8 cycles by
# Intel's MCS-51 User's Manual (Interrupt Response Time), where s51 counts
# 1 (its write of TL0 lands within the instruction), so 1 to 8.
build tick <<'C'
#include <8052.h>
volatile unsigned int ticks;
void t0_isr(void) __interrupt(1)
{
    TH0 = 0xFC;
    TL0 = 0x66;
    ticks++;
}
void main(void)
{
    TMOD = 0x01;
    TH0 = 0xFC;
    TL0 = 0x66;
    ET0 = 1;
    EA = 1;
    TR0 = 1;
    for (;;) {
    }
}
C
row tick-reload-in-handler 0 'tick.c:5: reload-in-handler: .*measured on s51' 11.0592 "$scratch/tick/tick.ihx" --sim-time 50ms
measured=$("$cli" explain 11.0592 "$scratch/tick/tick.ihx" --sim-time 50ms --format json |
  python3 -c 'import json, sys; print(json.load(sys.stdin)["timers"][0]["measured_period_s"])')
# The handler's clocks up to the write of TL0, as the listing has them.
listed=$(awk '/_t0_isr:/ {on = 1} on && /\[[0-9]+\]/ {
    last = /mov\t_TL0/; sub(/.*\[/, ""); sub(/\].*/, ""); sum += $0
    if (last) {print sum; exit}}' "$scratch/tick/tick.rst")
if python3 - "$measured" "$listed" <<'PY'
import sys
measured, listed = float(sys.argv[1]), int(sys.argv[2])
cycles = round(measured * 11.0592e6 / 12)
response = cycles - 922 - 2 - listed // 12
print(f"  {cycles} cycles: 922 counts, the vector's 2, the handler's {listed // 12}, response {response}")
sys.exit(0 if 1 <= response <= 8 else 1)
PY
then echo "ok: tick-measured-against-listing"; else fail "tick-measured-against-listing"; fi

[ "$failures" -eq 0 ] && echo "image: all checks passed"
exit "$failures"
