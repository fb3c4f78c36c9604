#!/usr/bin/env bash
# delay.sh CLI SCRATCH
# The delays baud51-cli writes, every row of a grid below in one program
# and one s51 run: the classic core's on the 12-clock 8052, the DS80C320's
# on s51's DS320 model, which counts 4 clocks a machine cycle. From the
# start of the LCALL to the first instruction after it there must be
# exactly the cycles the JSON claims (times n, n = 0 counting as 65536),
# not one clock more or less. A row paced by a timer (--timer) must take
# from its counts less early_s to its counts plus bound_s, as the JSON
# states them.
# The caller loads n before its labelled LCALL, so n is not counted. The C
# is compiled by SDCC and the modules assembled by sdas8051, and the tools
# must say nothing. s51 has no X2 model: the 6-clock rows run there at 12
# clocks a cycle, which proves their cycles, and X2 changes nothing but
# the clocks a cycle takes.
set -euo pipefail
cli=$1 scratch=$2
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

for tool in sdcc sdas8051 s51; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
done
rm -rf "$scratch" && mkdir -p "$scratch"
scratch=$(cd "$scratch" && pwd)

# lang time crystal n ("-" for a call without --times) [clocks a cycle,
# or tN: paced by Timer N]
grid_8052=(
  "c 1ms 12 -" "c 1ms 11.0592 -" "c 250us 12 -" "c 2.5ms 24 -"
  "c 4us 12 -" "c 5us 12 -" "c 6us 12 -" "c 7us 12 -" "c 9us 12 -"
  "c 100us 11.0592 -" "c 10ms 22.1184 -" "c 1s 12 -" "c 33.3us 16 -"
  "asm 1ms 12 -" "asm 4us 12 -" "asm 777us 11.0592 -" "asm 50ms 24 -"
  "c 1ms 12 1" "c 1ms 12 3" "c 100us 11.0592 7" "c 20us 12 2"
  "c 19us 12 1" "c 19us 12 300" "c 1ms 12 256" "c 50us 24 0"
  "asm 15us 12 1" "asm 15us 12 2" "asm 1ms 11.0592 5" "asm 16us 12 257"
  "asm 40us 12 0"
  "c 1ms 11.0592 - 6" "asm 250us 12 - 6" "c 100us 24 3 6" "asm 1ms 12 2 6"
  "c 1ms 12 - t0" "asm 1ms 11.0592 - t0" "c 10ms 12 - t2" "asm 2s 12 - t0"
  "c 100ms 22.1184 - t0" "c 12us 12 - t0" "asm 1ms 12 3 t0" "c 250us 12 2 t2"
  "c 30us 12 1 t0" "asm 1ms 11.0592 300 t0" "c 40us 12 0 t0"
)
# The DS80C320's: its shortest (8 cycles; with n 28, or 32 in C, which
# also suits Keil) and a few beyond.
grid_DS320=(
  "c 1ms 12 -" "c 1ms 11.0592 -" "c 2.7us 12 -" "c 250us 16 -"
  "asm 100us 33 -" "asm 50ms 24 -"
  "c 1ms 12 3" "c 11us 12 1" "c 20us 12 0"
  "asm 9.4us 12 2" "asm 1ms 22.1184 257"
)

# prove TYPE CLOCKS LATE CORE GRID: GRID's rows, written with CORE's
# options (a row's fifth field is its --clock instead), in one program run
# on s51 -t TYPE, which takes CLOCKS clocks a machine cycle. LATE is the
# cycles a span reads long: s51's DS320 model counts the instruction a
# breakpoint stops at before it stops (stepped, each instruction takes its
# table's clocks; run to a breakpoint on a NOP, the clocks read 4 more), so
# the span to the NOP after the LCALL reads that NOP's cycle too.
prove() {
  local type=$1 sim_clocks=$2 late=$3 core=$4
  local -n grid=$5
  mkdir -p "$scratch/$type" && cd "$scratch/$type"
  local calls="" expected=() i
  for i in "${!grid[@]}"; do
    set -- ${grid[$i]}
    local lang=$1 time=$2 crystal=$3 n=$4 name="d$i"
    local args=(delay "$crystal" "$time" --name "$name" --lang "$lang")
    case "${5:-}" in
      t*) args+=(--timer "${5#t}") ;;
      "") args+=($core) ;;
      *) args+=(--clock "$5") ;;
    esac
    [ "$n" = - ] || args+=(--times)
    if [ "$lang" = asm ]; then
      "$cli" "${args[@]}" >"$name.asm" || { fail "$type $name: ${args[*]}"; continue; }
      sdas8051 -plosff "$name.asm" >"$name.log" 2>&1 && [ ! -s "$name.log" ] ||
        { cat "$name.log" >&2; fail "$type $name: sdas8051"; continue; }
      if [ "$n" = - ]; then
        printf 'void %s(void);\n' "$name" >>decls.h
      else
        printf 'void %s(unsigned int n);\n' "$name" >>decls.h
      fi
    else
      "$cli" "${args[@]}" >"$name.c" || { fail "$type $name: ${args[*]}"; continue; }
      printf '#include "%s.c"\n' "$name" >>decls.h
    fi
    local json cycles count=$n load="" per lo hi
    json=$("$cli" "${args[@]}" --format json)
    field() { sed -n "s/^  \"$1\": \(.*\),\$/\1/p" <<<"$json"; }
    cycles=$(field cycles)
    [ "$n" = - ] && count=1
    [ "$n" = 0 ] && count=65536
    lo=$(((cycles * count + late) * sim_clocks)) hi=$lo
    if [ "$(field method)" = '"timer"' ]; then
      # The counts in clocks; the bound and the early count at the
      # crystal's clocks.
      per=$(field clocks_per_count)
      lo=$((cycles * count * per))
      hi=$((lo + $(awk -v s="$(field bound_s)" -v f="$crystal" 'BEGIN { printf "%.0f", s * f * 1e6 }')))
      lo=$((lo - $(awk -v s="$(field early_s)" -v f="$crystal" 'BEGIN { printf "%.0f", s * f * 1e6 }')))
    fi
    expected+=("$i $lo $hi")
    if [ "$n" != - ]; then
      load=$(printf '    mov dpl,#0x%02X\n    mov dph,#0x%02X\n' $((n & 255)) $((n >> 8)))
    fi
    # The NOP keeps each return's stop apart from the next call's.
    calls+=$(printf '%s\ncall_%s::\n    lcall _%s\nback_%s::\n    nop\n' "$load" "$i" "$name" "$i")
    calls+=$'\n'
  done
  touch decls.h
  printf '#include "decls.h"\nvoid main(void)\n{\n    __asm\n%s    __endasm;\n    for (;;) {\n    }\n}\n' \
    "$calls" >main.c
  {
    sdcc -mmcs51 --Werror -c main.c &&
      sdcc -mmcs51 -o delay.ihx main.rel $(ls d*.rel 2>/dev/null)
  } >build.log 2>&1 && [ ! -s build.log ] || { cat build.log >&2; fail "$type build"; return; }

  # Each label's address from the linker's map, a break at each, and the
  # clocks at every stop, in program order.
  address() { awk -v l="$1" '$3 == l {print "0x" substr($2, length($2) - 3); exit}' delay.map; }
  {
    for i in "${!grid[@]}"; do
      echo "break $(address "call_$i")"
      echo "break $(address "back_$i")"
    done
    for _ in $(seq $((2 * ${#grid[@]}))); do echo run; echo state; done
    echo quit
  } >commands
  timeout 600 s51 -t "$type" -X 12M delay.ihx <commands >s51.log 2>&1 || true
  local clocks
  mapfile -t clocks < <(grep -a 'Total time since last reset' s51.log |
    sed -n 's/.*(\([0-9]*\) clks).*/\1/p')

  local row lo hi start end took
  for row in "${expected[@]}"; do
    set -- $row
    i=$1 lo=$2 hi=$3
    start=${clocks[$((2 * i))]:-} end=${clocks[$((2 * i + 1))]:-}
    took=$((end - start - late * sim_clocks))
    if [ -z "$start" ] || [ -z "$end" ]; then
      fail "$type ${grid[$i]}: s51 gave no timing"
    elif [ $((end - start)) -ge "$lo" ] && [ $((end - start)) -le "$hi" ]; then
      echo "ok: $type ${grid[$i]}: $took clocks"
    elif [ "$lo" -eq "$hi" ]; then
      fail "$type ${grid[$i]}: $took clocks, expected $((lo - late * sim_clocks))"
    else
      fail "$type ${grid[$i]}: $took clocks, expected $lo to $hi"
    fi
  done
}

prove 8052 12 0 "--clock 12" grid_8052
prove DS320 4 1 "--chip ds80c320" grid_DS320

# Every family's delay, by cycles or by a timer, compiles with SDCC and
# assembles with sdas8051, silently; a family refused says why, status 2.
mkdir -p "$scratch/families" && cd "$scratch/families"
for chip in $("$cli" chips --format csv | awk -F, 'NR > 1 {print $1}'); do
  status=0
  "$cli" delay 24 1ms --chip "$chip" >"$chip.c" 2>"$chip.err" || status=$?
  if [ "$status" -eq 2 ] && grep -q "no timer" "$chip.err"; then
    echo "ok: $chip refused: $(cat "$chip.err")"
    continue
  fi
  [ "$status" -eq 0 ] || { fail "delay --chip $chip: status $status"; continue; }
  "$cli" delay 24 1ms --chip "$chip" --lang asm >"$chip.asm" ||
    { fail "delay --chip $chip --lang asm"; continue; }
  { sdcc -mmcs51 --Werror -c "$chip.c" && sdas8051 -plosff "$chip.asm"; } \
    >"$chip.log" 2>&1 && [ ! -s "$chip.log" ] ||
    { cat "$chip.log" >&2; fail "$chip: sdcc or sdas8051"; continue; }
  echo "ok: $chip builds"
done

# The refusals' status.
for bad in "12 3us" "12 0ms" "12 1" "12 10000s" "12 1ms --chip xc886" \
  "12 2us --chip ds80c320" "12 1ms --chip stc15 --timer 2"; do
  status=0
  "$cli" delay $bad >/dev/null 2>&1 || status=$?
  [ "$status" -eq 2 ] && echo "ok: delay $bad refused" || fail "delay $bad: status $status"
done
[ "$failures" -eq 0 ] && echo "delay: all checks passed"
exit "$failures"
