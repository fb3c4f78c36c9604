// Silicon Labs' EFM8 (CKCON0) and C8051F3xx and later (CKCON): Timer 0
// and 1 at SYSCLK through T0M/T1M, or through the shared SCA prescaler.
#include "timers/families/core_timers.h"

namespace timers::families {
namespace {

// CKCON0 / CKCON: T1M 0x08, T0M 0x04, SCA 0x03 (0 /12, 1 /4, 2 /48).
constexpr std::uint8_t kT1m = 0x08, kT0m = 0x04, kSca4 = 0x01, kSca48 = 0x02;
#define SILABS_CLOCKS(TXM)                 \
  {                                        \
    {1, {TXM}}, {4, {kSca4}}, {12, {0}}, { \
      48, { kSca48 }                       \
    }                                      \
  }
constexpr Clock kT0Clocks[] = SILABS_CLOCKS(kT0m);
constexpr Clock kT1Clocks[] = SILABS_CLOCKS(kT1m);
#undef SILABS_CLOCKS

// The UART halves Timer 1's overflow: T1CLK/(2 * (256 - TH1)).
constexpr double kT1K[] = {2, 8, 24, 96};

#define SILABS_UNITS(CKCON)                                                   \
  constexpr Write kT0Clock =                                                  \
      CLOCK_WRITE(CKCON, kT0m | kSca4 | kSca48, "T0M, SCA (shared)");         \
  constexpr Write kT1Clock =                                                  \
      CLOCK_WRITE(CKCON, kT1m | kSca4 | kSca48, "T1M, SCA (shared)");         \
  MODE2_ONLY(t0, 0, kT0Clock)                                                 \
  MODE2_ONLY(t1, 1, kT1Clock)                                                 \
  constexpr Write kT1Baud[] = {                                               \
      {.reg = "SCON0", .value = 0x10, .comment = "8-bit UART, receiver on"},  \
      CLOCK_WRITE(CKCON, kT1m | kSca4 | kSca48, "T1M, SCA: Timer 1's clock"), \
      kTmodMode2,                                                             \
      kTh1,                                                                   \
      kTl1,                                                                   \
      kTr1};                                                                  \
  constexpr BaudMode kT1Bauds[] = {{"t1", "UART0 on Timer 1 in mode 2", 256,  \
                                    Counting::kUp, false, kT1K, kT1Baud}};    \
  constexpr Unit kT0 = TIMER_01(0, kT0Clocks, {}, t0::kModes);                \
  constexpr Unit kT1 = TIMER_01(1, kT1Clocks, kT1Bauds, t1::kModes);          \
  constexpr Fitted kUnits[] = {{&kT0}, {&kT1}};

namespace efm8 {
SILABS_UNITS("CKCON0")
constexpr Register kRegisters[] = {{"CKCON0", 0x8E}, {"SCON0", 0x98}};
}  // namespace efm8
namespace c8051 {
SILABS_UNITS("CKCON")
constexpr Register kRegisters[] = {{"CKCON", 0x8E}, {"SCON0", 0x98}};
}  // namespace c8051
#undef SILABS_UNITS

constexpr double kIrc[] = {24.5};

}  // namespace

// The cores its parts run, for delays and the code's named core.
constexpr Core kCip51Core = RefusedCore("cip-51", "Silicon Labs CIP-51", 1);
constexpr const Core* kCip51Cores[] = {&kCip51Core};

extern const Chip kEfm8;
constexpr Chip kEfm8{
    .name = "efm8",
    .family = "Silicon Labs EFM8",
    .document =
        "EFM8BB1 reference manual, UART0 baud rate and CKCON0; "
        "Silicon Labs' serial-communication training (57600 baud, "
        "TH1 0x2B)",
    .evidence = Evidence::kMakersExample,
    .units = efm8::kUnits,
    .registers = efm8::kRegisters,
    .internal_mhz = kIrc,
    .cores = kCip51Cores};

extern const Chip kC8051f;
constexpr Chip kC8051f{
    .name = "c8051f",
    .family = "Silicon Labs C8051F3xx and later",
    .document =
        "C8051F33x datasheet, UART0 baud rate; Silicon Labs' register "
        "header for CKCON (SCA 0x03, T1M 0x08)",
    .evidence = Evidence::kFormulaOnly,
    .units = c8051::kUnits,
    .registers = c8051::kRegisters,
    .internal_mhz = kIrc,
    .cores = kCip51Cores};

}  // namespace timers::families
