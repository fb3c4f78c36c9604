// Nuvoton's N76E003 and MS51: Timer 0 and 1 at Fsys/12 or Fsys (CKCON's
// T0M, T1M), UART0 on Timer 1 or Timer 3, UART1 on Timer 3.
#include "timers/families/core_timers.h"

namespace timers::families {
namespace {

// CKCON: T0M 0x08, T1M 0x10. T3CON: SMOD_1 0x80, BRCK 0x20, TR3 0x08,
// T3PS 0x07.
constexpr std::uint8_t kT0m = 0x08, kT1m = 0x10;
constexpr Clock kT0Clocks[] = {{12}, {1, {kT0m}}};
constexpr Clock kT1Clocks[] = {{12}, {1, {kT1m}}};
// Timer 3's prescaler, 1 ... 128 by T3PS 0 ... 7.
constexpr Clock kT3Clocks[] = {{1, {0}},  {2, {1}},  {4, {2}},  {8, {3}},
                               {16, {4}}, {32, {5}}, {64, {6}}, {128, {7}}};

constexpr Write kT0Clock = CLOCK_WRITE("CKCON", kT0m, "T0M");
constexpr Write kT1Clock = CLOCK_WRITE("CKCON", kT1m, "T1M");
MODE2_ONLY(t0, 0, kT0Clock)
MODE2_ONLY(t1, 1, kT1Clock)

constexpr Write kBrckOff{.reg = "T3CON",
                         .mask = 0x20,
                         .value = 0x00,
                         .comment = "BRCK = 0: UART0 on Timer 1"};
constexpr Write kT1Baud[] = {TIMER1_MODE2(kT1Clock, kBrckOff, )};
constexpr BaudMode kT1Bauds[] = {{"t1", "UART0 on Timer 1 in mode 2", 256,
                                  Counting::kUp, true, kK384or32, kT1Baud}};

// 2^SMOD/32 * Fsys/prescale/(65536 - RH3:RL3).
constexpr double kT3K[] = {32, 64, 128, 256, 512, 1024, 2048, 4096};
constexpr Write kT3Baud[] = {kScon,
                             {.reg = "RL3", .source = S::kReloadLow},
                             {.reg = "RH3", .source = S::kReloadHigh},
                             {.reg = "T3CON",
                              .mask = 0x2F,
                              .value = 0x28,
                              .choice_slot = 0,
                              .comment = "BRCK, TR3, T3PS"},
                             kSmod};
constexpr Write kT3Uart1Baud[] = {
    {.reg = "SCON_1", .value = 0x50, .comment = "UART1 mode 1, receiver on"},
    {.reg = "RL3", .source = S::kReloadLow},
    {.reg = "RH3", .source = S::kReloadHigh},
    {.reg = "T3CON",
     .mask = 0x8F,
     .value = 0x08,
     .choice_slot = 0,
     .smod_bits = 0x80,
     .comment = "SMOD_1, TR3, T3PS"}};
constexpr BaudMode kT3Bauds[] = {
    {"t3", "UART0 on Timer 3", 65536, Counting::kUp, true, kT3K, kT3Baud},
    {"u1t3", "UART1 on Timer 3", 65536, Counting::kUp, true, kT3K,
     kT3Uart1Baud}};

constexpr Unit kT0 = TIMER_01(0, kT0Clocks, {}, t0::kModes);
constexpr Unit kT1 = TIMER_01(1, kT1Clocks, kT1Bauds, t1::kModes);
constexpr Unit kT3{
    .key = "t3", .number = 3, .clocks = kT3Clocks, .bauds = kT3Bauds};
constexpr Fitted kUnits[] = {{&kT0}, {&kT1}, {&kT3}};

constexpr Register kRegisters[] = {{"CKCON", 0x8E},
                                   {"T3CON", 0xC4},
                                   {"RL3", 0xC5},
                                   {"RH3", 0xC6},
                                   {"SCON_1", 0xF8}};
constexpr double kN76Irc[] = {16};
constexpr double kMs51Irc[] = {16, 24};

}  // namespace

// The cores its parts run, for delays and the code's named core.
constexpr Core kNuvotonCore = RefusedCore("nuvoton", "Nuvoton 1T core", 1);
constexpr const Core* kNuvotonCores[] = {&kNuvotonCore};

extern const Chip kN76e003;
constexpr Chip kN76e003{
    .name = "n76e003",
    .family = "Nuvoton N76E003",
    .document =
        "N76E003 datasheet, Serial Port: UART0/UART1 baud-rate "
        "formulas; Nuvoton's N76E003.h and SFR_Macro.h for CKCON and "
        "T3CON",
    .evidence = Evidence::kFormulaOnly,
    .units = kUnits,
    .registers = kRegisters,
    .internal_mhz = kN76Irc,
    .cores = kNuvotonCores};

extern const Chip kMs51;
constexpr Chip kMs51{
    .name = "ms51",
    .family = "Nuvoton MS51",
    .document =
        "MS51 technical reference manual, UART baud-rate formulas; "
        "Nuvoton's SFR_Macro.h for CKCON and T3CON",
    .evidence = Evidence::kFormulaOnly,
    .units = kUnits,
    .registers = kRegisters,
    .internal_mhz = kMs51Irc,
    .cores = kNuvotonCores};

}  // namespace timers::families
