#pragma once
// Tick code: tick_init(), which starts a timer interrupting every period or
// every part of it, and the handler, which counts `volatile unsigned int
// ticks` up once per period. In C for SDCC and Keil C51 alike, and as an
// sdas8051 module; one writer of each for every timer record.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "mcs51/code/init_code.h"
#include "mcs51/settings/ticks.h"

namespace mcs51 {

// The machine cycles a software reload keeps the timer stopped, from
// clearing its run bit to setting it again, counted as the timer misses
// them; the handler adds them to the reload. The C's are those of SDCC's
// code for it (Keil C51's may differ, which the code says).
//   StoppedCycles(mode 1, asm) -> 7
int StoppedCycles(const TickMode& mode, bool assembly);

// The setting the code is written for: the best of `settings` (not empty)
// as RankTicks orders them, and why it is refused, if it is.
//   ChooseTick(TickMatching({}), 12, 1e-3, 2) -> {T2 ar/12 FC18, kNone}
//   ChooseTick(TickMatching({}), 12, 1e3, 2)  -> {.., kOutOfRange}
struct TickChoice {
  TickOutcome best;
  Refusal refusal;
};
TickChoice ChooseTick(std::span<const TickSetting* const> settings,
                      double frequency_mhz, double period_s,
                      double tolerance_percent);

// The C code for `outcome` (which fits) at `frequency_mhz` and `period_s`:
// a comment with clock, period, setting, reload, interrupts per period,
// actual period and error, how a software reload stays exact, and what
// the file with main() declares; then tick_init() and tick_isr(). The
// comments are in `language`; the code is the same in both.
//   TickCode(12, 1e-3, 8052 t0 mode 1/12, w) contains "TH0 = 0xFC;" and
//       "void tick_isr(void) TICK_INTERRUPT(1)"
//   TickCode(12, 1e-3, 8052 t0 mode 1/12, w, kChinese)
//       contains "/* 每 1 ms 一个节拍，时钟 12 MHz。"
std::string TickCode(double frequency_mhz, double period_s,
                     const TickOutcome& outcome, std::string_view writer,
                     Tongue language = Tongue::kEnglish);

// The same as an ASxxxx module for sdas8051, exporting _tick_init,
// _tick_isr and _ticks.
//   AsmTickCode(12, 1e-3, 8052 t0 mode 1/12, w) contains "_tick_isr:"
std::string AsmTickCode(double frequency_mhz, double period_s,
                        const TickOutcome& outcome, std::string_view writer,
                        Tongue language = Tongue::kEnglish);

// Each register tick_init() writes, in the order first written, and its
// value after it, the bits it leaves alone counted as 0.
//   TickRegisterValues(8052 t0 mode 1 at 12 MHz, 1 ms)
//       -> TMOD 0x01, TH0 0xFC, TL0 0x18, IE 0x82, TCON 0x10
std::vector<RegisterValue> TickRegisterValues(const TickOutcome& outcome);

// Inside the library: what the C and the assembly share.
namespace tick_parts {
// The comment's sentences in `language`, without comment marks and not
// yet wrapped; `assembly` picks the declarations the file with main()
// needs.
std::vector<std::string> HeaderLines(double frequency_mhz, double period_s,
                                     const TickOutcome& outcome,
                                     std::string_view writer, bool assembly,
                                     Tongue language);
}  // namespace tick_parts

}  // namespace mcs51
