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

constexpr Write kC517Baud[] = {S0REL_WRITES("ADCON0")};
constexpr BaudMode kC517Bauds[] = S0REL_BAUDS(kC517Baud);
constexpr Unit kS0rel{
    .key = "s0rel", .number = 0, .clocks = kS0relClocks, .bauds = kC517Bauds};
constexpr Fitted kC517Units[] = {{&kS0rel}};
constexpr Register kC517Registers[] = {
    kS0relRegisters[0], kS0relRegisters[1], {"ADCON0", 0xD8}};
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
    .cores = kXc800Cores};

extern const Chip kC517a;
constexpr Chip kC517a{
    .name = "c517a",
    .family = {"Infineon C517A, C509"},
    .document =
        "C517A user's manual, Serial interface 0 baud-rate generator "
        "(S0RELH, S0RELL, ADCON0.BD), p. 6-76; C509-L user's manual, "
        "p. 6-88",
    .evidence = Evidence::kMakersExample,
    .units = kC517Units,
    .registers = kC517Registers,
    .aliases = kC517Names,
    .cores = kC500Cores};

// The C515C's generator divides by 32 where the C517A's divides by 64:
// 2^SMOD * fOSC / (32 * (1024 - S0REL)), its 6-clock core's counterpart.
// Same SFRs and BD bit as the C517A's.
namespace {
constexpr Clock kC515cClocks[] = {{1}};
constexpr double kC515cK[] = {32};
constexpr BaudMode kC515cBauds[] = {
    {"s0rel", kS0relText, 1024, &kinds::kUp, true, kC515cK, kC517Baud}};
constexpr Unit kC515cS0rel{
    .key = "s0rel", .number = 0, .clocks = kC515cClocks, .bauds = kC515cBauds};
constexpr Fitted kC515cUnits[] = {{&kC515cS0rel}};
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
    .registers = kC517Registers,
    .cores = kC515cCores};

}  // namespace mcs51::families
