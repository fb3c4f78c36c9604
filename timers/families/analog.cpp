// Analog Devices' ADuC84x (single-cycle core) and ADuC83x (12 clocks):
// Timer 3, the fractional baud-rate divider, and the classic timers.
#include "timers/families/core_timers.h"

namespace timers::families {
namespace {

// Timer 3, 2 * fCORE / (2^(DIV - 1) * (T3FD + 64)), that is fCORE /
// (2^DIV / 4 * n) with n = T3FD + 64. DIV 0 ... 7 is the binary divider,
// the clocks per count here; the maker's DIV (rounded down) keeps T3FD
// within 0 ... 63, as R = 64 does. T3CON: T3BAUDEN 0x80, DIV 0x07.
constexpr Clock kDiv[] = {{1, {0}},  {2, {1}},  {4, {2}},  {8, {3}},
                          {16, {4}}, {32, {5}}, {64, {6}}, {128, {7}}};
constexpr double kDivK[] = {0.25, 0.5, 1, 2, 4, 8, 16, 32};
constexpr Write kT3Baud[] = {kScon,
                             {.reg = "T3FD", .source = S::kReloadLow},
                             {.reg = "T3CON",
                              .value = 0x80,
                              .choice_slot = 0,
                              .comment = "T3BAUDEN, DIV: the UART on Timer 3"}};
constexpr BaudMode kT3Bauds[] = {{"t3", "Timer 3, the fractional divider", 64,
                                  Counting::kOffset, false, kDivK, kT3Baud,
                                  64}};
constexpr Unit kT3{.key = "t3", .number = 3, .clocks = kDiv, .bauds = kT3Bauds};

// The ADuC84x's single-cycle core has no divide-by-12 before its timers
// (the ADuC83x's 12-clock core has, and takes the classic records).
constexpr Unit kT0 = TIMER_01(0, kAt1, {}, t0_12::kMode2Only);
constexpr Unit kT1 = TIMER_01(1, kAt1, {}, t1_12::kMode2Only);
constexpr Unit kT2 = TIMER_2(kAt1, {}, kT2Modes12);
constexpr Fitted kUnits[] = {{&kT3},
                             {&kT0},
                             {&kT1},
                             {&kT2},
                             {&kClassicT0},
                             {&kClassicT1, View::kTick},
                             {&kClassicT2, View::kTick}};
constexpr Register kRegisters[] = {{"T3FD", 0x9D}, {"T3CON", 0x9E}};

}  // namespace

// The cores its parts run, for delays and the code's named core.
constexpr Core kAducCore =
    RefusedCore("aduc84x", "ADuC84x single-cycle core", 1);
constexpr const Core* kAducCores[] = {&kAducCore};

extern const Chip kAduc84x;
constexpr Chip kAduc84x{
    .name = "aduc84x",
    .family = "Analog Devices ADuC841/842/843, ADuC83x",
    .document =
        "ADuC841/ADuC842/ADuC843 datasheet Rev. 0, Timer 3 Generated "
        "Baud Rates (T3CON, T3FD), p. 68",
    .evidence = Evidence::kFormulaOnly,
    .units = kUnits,
    .registers = kRegisters,
    .clock = "fCORE, the core clock PLLCON sets (the crystal on the ADuC841)",
    .cores = kAducCores};

}  // namespace timers::families
