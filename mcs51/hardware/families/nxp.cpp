// NXP's P89LPC9xx: the baud-rate generator, and Timers 0 and 1 at PCLK
// (CCLK / 2) on a faster core.
#include "mcs51/hardware/families/core_timers.h"

namespace mcs51::families {
namespace {

// CCLK / (BRGR1:BRGR0 + 16). BRGCON: SBRGS 0x02 (the UART on the
// generator), BRGEN 0x01; BRGR is written while BRGEN is 0.
constexpr double kK1[] = {1};
constexpr Write kBrgBaud[] = {
    kScon,
    {.reg = "BRGCON", .value = 0x00, .comment = kStoppedLoadingText},
    {.reg = "BRGR0", .source = S::kReloadLow},
    {.reg = "BRGR1", .source = S::kReloadHigh},
    {.reg = "BRGCON", .value = 0x03, .comment = {"SBRGS, BRGEN"}}};
constexpr BaudMode kBrgBauds[] = {
    {"brg", kGeneratorText, 65536, &kinds::kOffset, false, kK1, kBrgBaud, 16}};
constexpr Unit kBrg{
    .key = "brg", .number = 0, .clocks = kAt1, .bauds = kBrgBauds};
// Its instructions' cycles differ from the 8051's: mode 2 only.
constexpr Unit kT0 = TIMER_01(0, kAt2, {}, t0_12::kMode2Only);
constexpr Unit kT1 = TIMER_01(1, kAt2, {}, t1_12::kMode2Only);
constexpr Fitted kUnits[] = {{&kBrg}, {&kT0}, {&kT1}};
constexpr Register kRegisters[] = {
    {"BRGCON", 0xBD}, {"BRGR0", 0xBE}, {"BRGR1", 0xBF}};

}  // namespace

// The cores its parts run, for delays and the code's named core.
constexpr Core kLpc900Core = RefusedCore("lpc900", "NXP LPC900 core", 2);
constexpr const Core* kLpc900Cores[] = {&kLpc900Core};

extern const Chip kLpc900;
constexpr Chip kLpc900{
    .name = "lpc900",
    .family = {"NXP P89LPC9xx"},
    .document =
        "P89LPC9xx user manuals' baud-rate generator, CCLK / "
        "(BRGR1:BRGR0 + 16) with BRGCON",
    .evidence = Evidence::kFormulaOnly,
    .units = kUnits,
    .registers = kRegisters,
    .clock = "CCLK, the CPU clock after DIVM",
    .cores = kLpc900Cores};

}  // namespace mcs51::families
