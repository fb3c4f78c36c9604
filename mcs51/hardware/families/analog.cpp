// Analog Devices' ADuC84x (single-cycle core) and ADuC83x (12 clocks):
// Timer 3, the fractional baud-rate divider, and the classic timers.
#include "mcs51/hardware/families/core_timers.h"

namespace mcs51::families {
namespace {

// Timer 3's divider 2^DIV, DIV 0 ... 7, is the clocks per count here; the
// maker's DIV (rounded down) keeps T3FD within 0 ... 63, as R = 64 does.
// T3CON: T3BAUDEN 0x80, DIV 0x07.
constexpr Clock kDiv[] = {{1, {0}},  {2, {1}},  {4, {2}},  {8, {3}},
                          {16, {4}}, {32, {5}}, {64, {6}}, {128, {7}}};
constexpr Write kT3Baud[] = {kScon,
                             {.reg = "T3FD", .source = S::kReloadLow},
                             {.reg = "T3CON",
                              .value = 0x80,
                              .choice_slot = 0,
                              .comment = {"T3BAUDEN, DIV: the UART on Timer 3",
                                          "T3BAUDEN、DIV：串口用定时器 3"}}};
// The ADuC84x's addresses, taken for the ADuC83x as well: its own SFR map
// is not checked here.
constexpr Register kRegisters[] = {{"T3FD", 0x9D}, {"T3CON", 0x9E}};

// ADuC84x: 2 * fCORE / (2^(DIV - 1) * (T3FD + 64)), that is fCORE /
// (2^DIV / 4 * n) with n = T3FD + 64.
constexpr double kDivK[] = {0.25, 0.5, 1, 2, 4, 8, 16, 32};
constexpr Words kT3Text = {"Timer 3, the fractional divider",
                           "定时器 3，小数分频器"};
constexpr BaudMode kT3Bauds[] = {
    {"t3", kT3Text, 64, &kinds::kOffset, false, kDivK, kT3Baud, 64}};
constexpr Unit kT3{.key = "t3", .number = 3, .clocks = kDiv, .bauds = kT3Bauds};

// The ADuC84x's single-cycle core has no divide-by-12 before its timers.
constexpr Unit kT0 = TIMER_01(0, kAt1, {}, t0_12::kMode2Only);
constexpr Unit kT1 = TIMER_01(1, kAt1, {}, t1_12::kMode2Only);
constexpr Unit kT2 = TIMER_2(kAt1, {}, kT2Modes12);
constexpr Fitted kUnits[] = {{&kT3}, {&kT0}, {&kT1}, {&kT2}};

// ADuC83x: a /2 before the binary divider, so 2 * fCORE / (2^DIV * (T3FD +
// 64)), twice the ADuC84x's divisor for the same DIV: fCORE / (2^DIV / 2 *
// n). At 11.0592 MHz, 9600 baud is DIV 5, T3FD 8 (T3CON 0x85) and 115200
// DIV 1, T3FD 32 (0x81). The 12-clock core takes the classic timers.
constexpr double k83xDivK[] = {0.5, 1, 2, 4, 8, 16, 32, 64};
constexpr BaudMode k83xT3Bauds[] = {
    {"t3", kT3Text, 64, &kinds::kOffset, false, k83xDivK, kT3Baud, 64}};
constexpr Unit k83xT3{
    .key = "t3", .number = 3, .clocks = kDiv, .bauds = k83xT3Bauds};
constexpr Fitted k83xUnits[] = {{&k83xT3},
                                {&kClassicT0},
                                {&kClassicT1, View::kTick},
                                {&kClassicT2, View::kTick}};
constexpr std::string_view k83xNames[] = {"aduc832", "aduc834", "aduc836"};

}  // namespace

// The cores its parts run, for delays and the code's named core.
constexpr Core kAducCore =
    RefusedCore("aduc84x", "ADuC84x single-cycle core", 1);
constexpr const Core* kAducCores[] = {&kAducCore};
constexpr Core kAduc83xCore =
    RefusedCore("aduc83x", "ADuC83x 12-clock core", 12);
constexpr const Core* kAduc83xCores[] = {&kAduc83xCore};

extern const Chip kAduc84x;
constexpr Chip kAduc84x{
    .name = "aduc84x",
    .family = {"Analog Devices ADuC841/842/843"},
    .document =
        "ADuC841/ADuC842/ADuC843 datasheet Rev. 0, Timer 3 Generated "
        "Baud Rates (T3CON, T3FD), p. 68",
    .evidence = Evidence::kFormulaOnly,
    .units = kUnits,
    .registers = kRegisters,
    .clock = "fCORE, the core clock PLLCON sets (the crystal on the ADuC841)",
    .cores = kAducCores};

extern const Chip kAduc831;
constexpr Chip kAduc831{
    .name = "aduc831",
    .family = {"Analog Devices ADuC831, ADuC832, ADuC834, ADuC836"},
    .document =
        "ADuC831 data sheet Rev. 0, Timer 3 Generated Baud Rates, p. 58, "
        "Figure 54 and Table XXVI (T3CON)",
    .evidence = Evidence::kFormulaOnly,
    .units = k83xUnits,
    .registers = kRegisters,
    .aliases = k83xNames,
    .clock =
        "fCORE: the crystal on the ADuC831, the core clock PLLCON sets on "
        "the ADuC832, ADuC834 and ADuC836",
    .cores = kAduc83xCores};

}  // namespace mcs51::families
