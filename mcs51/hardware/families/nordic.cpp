// Nordic's nRF24LE1: the S0REL generator of the C517A, and Timers 0 and 1
// at CCLK / 12 on a faster core.
#include "mcs51/hardware/families/core_timers.h"

namespace mcs51::families {
namespace {

constexpr Write kBaud[] = {S0REL_WRITES("ADCON")};
constexpr BaudMode kBauds[] = S0REL_BAUDS(kBaud);
constexpr Unit kS0rel{
    .key = "s0rel", .number = 0, .clocks = kS0relClocks, .bauds = kBauds};
// Its instructions' cycles differ from the 8051's: mode 2 only.
constexpr Unit kT0 = TIMER_01(0, kAt12, {}, t0_12::kMode2Only);
constexpr Unit kT1 = TIMER_01(1, kAt12, {}, t1_12::kMode2Only);
constexpr Fitted kUnits[] = {{&kS0rel}, {&kT0}, {&kT1}};
constexpr Register kRegisters[] = {
    kS0relRegisters[0], kS0relRegisters[1], {"ADCON", 0xD8}};
constexpr double kClock[] = {16};

}  // namespace

// The cores its parts run, for delays and the code's named core.
constexpr Core kNrfCore = RefusedCore("nrf24le1", "Nordic nRF24LE1 core", 1);
constexpr const Core* kNrfCores[] = {&kNrfCore};

extern const Chip kNrf24le1;
constexpr Chip kNrf24le1{.name = "nrf24le1",
                         .family = {"Nordic nRF24LE1"},
                         .document =
                             "Nordic's nRF24LE1 data sheet, Table 28 (SFR map: "
                             "S0RELL, S0RELH, ADCON); the C517A's formula",
                         .evidence = Evidence::kFormulaOnly,
                         .units = kUnits,
                         .registers = kRegisters,
                         .internal_mhz = kClock,
                         .cores = kNrfCores};

}  // namespace mcs51::families
