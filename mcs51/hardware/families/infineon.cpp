// Infineon: the XC886/XC888's baud-rate generator with its fractional
// divider, the C517A (C509) with its S0REL generator, and the C515C with
// the same generator at twice the rate.
#include "mcs51/hardware/families/core_timers.h"

namespace mcs51::families {
namespace {

// XC886: fPCLK/(16 * 2^BRPRE * (BR_VALUE + 1)), BRPRE 0 ... 5. BCON's BRPRE
// in bits 3 ... 1 and R (run) bit 0; FDCON's FDEN bit 0 with FDM bit 1 = 0,
// the fractional mode.
constexpr Clock kBrpre[] = {{1, {0x01}}, {2, {0x03}},  {4, {0x05}},
                            {8, {0x07}}, {16, {0x09}}, {32, {0x0B}}};
constexpr double kBrpreK[] = {16, 32, 64, 128, 256, 512};
constexpr Write kBconStop{
    .reg = "BCON", .value = 0x00, .comment = kStoppedLoadingText};
constexpr Write kBg{
    .reg = "BG", .source = S::kReloadLow, .comment = {"BR_VALUE"}};
constexpr Write kBconRun{
    .reg = "BCON", .value = 0x00, .choice_slot = 0, .comment = {"BRPRE, R"}};
constexpr Write kBgBaud[] = {
    kScon,
    kBconStop,
    kBg,
    {.reg = "FDCON",
     .mask = 0x01,
     .value = 0x00,
     .comment = {"no fractional divider", "不用小数分频器"}},
    kBconRun};
constexpr Write kFdBaud[] = {
    kScon,
    kBconStop,
    kBg,
    {.reg = "FDSTEP", .source = S::kStep, .comment = {"STEP"}},
    {.reg = "FDCON",
     .mask = 0x03,
     .value = 0x01,
     .comment = {"FDEN, fractional mode", "FDEN，小数分频方式"}},
    kBconRun};
constexpr BaudMode kBgBauds[] = {
    {"bg", kGeneratorText, 256, &kinds::kDivisorMinusOne, false, kBrpreK,
     kBgBaud},
    {"bgfd",
     {"the baud-rate generator behind the fractional divider",
      "经小数分频器的波特率发生器"},
     256,
     &kinds::kFractional,
     false,
     kBrpreK,
     kFdBaud}};
constexpr Unit kBgUnit{
    .key = "bg", .number = 0, .clocks = kBrpre, .bauds = kBgBauds};
constexpr Fitted kXcUnits[] = {{&kBgUnit}};
constexpr Register kXcRegisters[] = {
    {"BCON", 0xBD}, {"BG", 0xBE}, {"FDCON", 0xE9}, {"FDSTEP", 0xEA}};
constexpr double kXcPclk[] = {24};

// ADCON0's BD bit puts serial port 0 on S0REL, on both the C517A and the
// C515C.
constexpr Register kAdcon0{"ADCON0", 0xD8};
constexpr Write kC517Baud[] = {S0REL_WRITES("ADCON0")};
constexpr BaudMode kC517Bauds[] = S0REL_BAUDS(kC517Baud);
constexpr Unit kS0rel{
    .key = "s0rel", .number = 0, .clocks = kS0relClocks, .bauds = kC517Bauds};

// With ADCON0.BD clear, serial port 0 takes Timer 1's overflows as the
// 8051's does: 2^SMOD * fOSC / (32 * 12 * (256 - TH1)).
constexpr Write kBdClear{.reg = kAdcon0.name,
                         .mask = 0x80,
                         .value = 0x00,
                         .comment = {"BD clear: Timer 1 clocks the port",
                                     "BD 清零：由定时器 1 提供波特率"}};
constexpr Write kC517T1Baud[] = {TIMER1_MODE2(kBdClear, )};
constexpr BaudMode kC517T1Bauds[] = {
    {"t1", kTimer1Mode2Text, 256, &kinds::kUp, true, kK384, kC517T1Baud}};
constexpr Unit kC517T1 = TIMER_01(1, kAt12, kC517T1Bauds, t1_12::kModes);

// Serial port 1 in mode B (8-bit UART) on its own 10-bit generator, which
// counts at fOSC/2 as S0REL's does, with no SMOD: fOSC / (32 * (1024 -
// S1REL)). S1CON: SM 0x80 (mode B), REN1 0x10. S1RELL's write reloads
// the count, so it comes last.
constexpr Field kRen1{"REN1", "S1CON", 0x10};
constexpr double kS1relK[] = {32};
constexpr Write kS1relBaud[] = {{.reg = "S1CON",
                                 .value = 0x90,
                                 .comment = {"mode B, 8-bit UART, receiver on",
                                             "模式 B，8 位 UART，允许接收"}},
                                {.reg = "S1RELH", .source = S::kReloadHigh},
                                {.reg = "S1RELL", .source = S::kReloadLow}};
constexpr BaudMode kS1relBauds[] = {
    {"s1rel",
     {"serial port 1's baud-rate generator", "串口 1 的波特率发生器"},
     1024,
     &kinds::kUp,
     false,
     kS1relK,
     kS1relBaud,
     0,
     "STEP",
     kRen1}};
constexpr Unit kS1rel{
    .key = "s1rel", .number = 0, .clocks = kS0relClocks, .bauds = kS1relBauds};
constexpr Fitted kC517Units[] = {{&kS0rel}, {&kC517T1, View::kBaud}, {&kS1rel}};
constexpr Register kC517Registers[] = {
    kS0relRegisters[0], kS0relRegisters[1], kAdcon0,
    {"S1CON", 0x9B},    {"S1RELL", 0x9D},   {"S1RELH", 0xBB}};
constexpr std::string_view kC517Names[] = {"c509"};

}  // namespace

// The cores its parts run, for delays and the code's named core.
constexpr Core kXc800Core = RefusedCore("xc800", "Infineon XC800 core", 2);
constexpr Core kC500Core = RefusedCore("c500", "Infineon C500 core", 12);
constexpr const Core* kXc800Cores[] = {&kXc800Core};
constexpr const Core* kC500Cores[] = {&kC500Core};
constexpr Core kC515cCore = RefusedCore("c515c", "Infineon C515C core", 6);
constexpr const Core* kC515cCores[] = {&kC515cCore};

extern const Chip kXc886;
constexpr Chip kXc886{
    .name = "xc886",
    .family = {"Infineon XC886, XC888"},
    .document =
        "XC886/888 user's manual, UART baud-rate generator and "
        "fractional divider",
    .evidence = Evidence::kFormulaOnly,
    .units = kXcUnits,
    .registers = kXcRegisters,
    .internal_mhz = kXcPclk,
    .cores = kXc800Cores,
    .not_modelled =
        "Timer 2 and T21 as tick timers, so ticks and delays: no document "
        "found gives T2MOD's prescaler bits or the timers' count clock "
        "(SDCC's XC866.h has only their registers, at 0xC0-0xC5)"};

extern const Chip kC517a;
constexpr Chip kC517a{
    .name = "c517a",
    .family = {"Infineon C517A, C509"},
    .document =
        "C517A user's manual, Serial interface 0 baud-rate generator "
        "(S0RELH, S0RELL, ADCON0.BD), p. 6-76; C509-L user's manual, "
        "p. 6-88; C517A data sheet, Table 10 (Serial Interfaces - Baud "
        "Rate Dependencies: BD = 0 Timer 1; mode B fOSC / (32 * (2^10 - "
        "S1REL))); SDCC's mcs51reg.h (SAB80517) for S1CON 0x9B, S1RELL "
        "0x9D, S1RELH 0xBB",
    .evidence = Evidence::kMakersExample,
    .units = kC517Units,
    .registers = kC517Registers,
    .aliases = kC517Names,
    .cores = kC500Cores,
    .not_modelled =
        "Timers 0 and 1 as tick timers, so ticks and delays: "
        "not yet recorded"};

// The C515C's generator divides by 32 where the C517A's divides by 64:
// 2^SMOD * fOSC / (32 * (1024 - S0REL)), its 6-clock core's counterpart.
// Serial port 0's SFRs and BD bit are the C517A's.
namespace {
constexpr Clock kC515cClocks[] = {{1}};
constexpr double kC515cK[] = {32};
constexpr BaudMode kC515cBauds[] = {
    {"s0rel", kS0relText, 1024, &kinds::kUp, true, kC515cK, kC517Baud}};
constexpr Unit kC515cS0rel{
    .key = "s0rel", .number = 0, .clocks = kC515cClocks, .bauds = kC515cBauds};
constexpr Fitted kC515cUnits[] = {{&kC515cS0rel}};
constexpr Register kC515cRegisters[] = {kS0relRegisters[0], kS0relRegisters[1],
                                        kAdcon0};
}  // namespace

extern const Chip kC515c;
constexpr Chip kC515c{
    .name = "c515c",
    .family = {"Infineon C515C"},
    .document =
        "Siemens C515C data sheet 1997-07, p. 39, Table 8 (Serial "
        "Interface - Baud Rate Dependencies: BD = 1 divides by 32); the "
        "S0RELH, S0RELL and ADCON0.BD of the C517A user's manual, p. 6-76",
    .evidence = Evidence::kFormulaOnly,
    .units = kC515cUnits,
    .registers = kC515cRegisters,
    .cores = kC515cCores,
    .not_modelled =
        "Timers 0 and 1, so Timer 1 as a baud source, ticks "
        "and delays: not yet recorded"};

}  // namespace mcs51::families
