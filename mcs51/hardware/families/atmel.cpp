// Atmel (Microchip): the AT89LP3240/6440, whose timers share one
// prescaler, and the AT89C51RD2 and kin with their internal baud-rate
// generator and the classic timers at 12 clocks (X1) or 6 (X2).
#include "mcs51/hardware/families/core_timers.h"

namespace mcs51::families {
namespace {

// ---- AT89LP3240/6440 ----

// Every timer counts at Fosc/(TPS + 1), TPS 0 ... 15 in CLKREG's bits
// 7 ... 4; `uart` the UART's own divider.
constexpr auto LpClocks() {
  std::array<Clock, 16> clocks{};
  for (int tps = 0; tps < 16; ++tps) {
    clocks[tps] = {tps + 1, {static_cast<std::uint8_t>(tps << 4)}};
  }
  return clocks;
}
constexpr auto LpK(double uart) {
  std::array<double, 16> k{};
  for (int tps = 0; tps < 16; ++tps) k[tps] = uart * (tps + 1);
  return k;
}
constexpr auto kLpClocks = LpClocks();
constexpr auto kLpT1K = LpK(32);
constexpr auto kLpT2K = LpK(16);
constexpr Write kTps{.reg = "CLKREG",
                     .mask = 0xF0,
                     .value = 0x00,
                     .choice_slot = 0,
                     .comment = {"TPS"}};

constexpr Write kLpT1Mode1Baud[] = {
    kScon,
    kTps,
    TIMER_MODE(1, 1, ", 16-bit auto-reload", "，16 位自动重装"),
    {.reg = "RH1", .source = S::kReloadHigh},
    {.reg = "RL1", .source = S::kReloadLow},
    {.reg = "TH1", .source = S::kReloadHigh},
    {.reg = "TL1", .source = S::kReloadLow},
    kSmod,
    kTr1};
constexpr Write kLpT1Mode2Baud[] = {TIMER1_MODE2(kTps, )};
constexpr Write kLpT2Baud[] = {TIMER2_8052(kTps, )};
constexpr BaudMode kLpT1Bauds[] = {
    {"t1", kTimer1Mode2Text, 256, &kinds::kUp, true, kLpT1K, kLpT1Mode2Baud},
    {"t1m1",
     {"Timer 1 in mode 1, 16-bit auto-reload",
      "定时器 1 方式 1，16 位自动重装"},
     65536,
     &kinds::kUp,
     true,
     kLpT1K,
     kLpT1Mode1Baud}};
constexpr BaudMode kLpT2Bauds[] = {
    {"t2", kTimer2GeneratorText, 65536, &kinds::kUp, false, kLpT2K, kLpT2Baud}};

MODE2_ONLY(lp_t0, 0, kTps)
MODE2_ONLY(lp_t1, 1, kTps)
// Its Timer 1's mode 1 reloads by hardware from RH1:RL1.
constexpr Write kLpT1Mode1Tick[] = {
    kTps,
    TIMER_MODE(1, 1, ", 16-bit auto-reload", "，16 位自动重装"),
    {.reg = "RH1", .source = S::kReloadHigh},
    {.reg = "RL1", .source = S::kReloadLow},
    {.reg = "TH1", .source = S::kReloadHigh},
    {.reg = "TL1", .source = S::kReloadLow, .comment = kFirstTickText},
    TICK_ENABLE(1)};
constexpr TickMode kLpT1Ticks[] = {
    {"1",
     {"mode 1, 16-bit auto-reload", "方式 1，16 位自动重装"},
     65536,
     Reload::kHardware,
     kLpT1Mode1Tick},
    lp_t1::kModes[0]};
constexpr Write kLpT2Tick[] = {T2_AUTO_RELOAD(kTps, )};
constexpr TickMode kLpT2Ticks[] = {
    {"ar", kAutoReloadText, 65536, Reload::kHardware, kLpT2Tick}};

constexpr Unit kLpT0 = TIMER_01(0, kLpClocks, {}, lp_t0::kModes);
constexpr Unit kLpT1 = TIMER_01(1, kLpClocks, kLpT1Bauds, kLpT1Ticks);
constexpr Unit kLpT2 = TIMER_2(kLpClocks, kLpT2Bauds, kLpT2Ticks);
// Timer 2 first among the baud settings, as the maker's tables are.
constexpr Fitted kLpUnits[] = {{&kLpT2, View::kBaud},
                               {&kLpT1, View::kBaud},
                               {&kLpT0},
                               {&kLpT1, View::kTick},
                               {&kLpT2, View::kTick}};
// AT89LP3240/6440: TCONB 0x91, RL0 0x92, RL1 0x93, RH0 0x94, RH1 0x95.
constexpr Register kLpRegisters[] = {
    {"CLKREG", 0x8F}, {"RL1", 0x93}, {"RH1", 0x95}};

// ---- AT89C51RB2/RC2/RD2/ED2/ID2, IC2, 5131 ----

// 2^SMOD1 * FPER / (6^(1 - SPD) * 32 * (256 - BRL)), FPER = FOSC/2 in X1
// and FOSC in X2: 12, 6, 2 or 1 clocks of FOSC per count. BDRCON: BRR
// 0x10, TBCK 0x08, RBCK 0x04, SPD 0x02; CKCON0's X2 (core_timers.h).
constexpr std::uint8_t kSpd = 0x02;
constexpr Clock kBrgClocks[] = {
    {12}, {6, {0, kX2Bit}}, {2, {kSpd, 0}}, {1, {kSpd, kX2Bit}}};
constexpr double kBrgK[] = {384, 192, 64, 32};
constexpr Write kBrgBaud[] = {
    kScon,
    {.reg = "BDRCON", .value = 0x00, .comment = kStoppedLoadingText},
    {.reg = "BRL", .source = S::kReloadLow},
    kSmod,
    {.reg = "CKCON0",
     .mask = kX2Bit,
     .value = 0x00,
     .choice_slot = 1,
     .comment = {"X2"}},
    {.reg = "BDRCON",
     .value = 0x1C,
     .choice_slot = 0,
     .comment = {"BRR, TBCK, RBCK, SPD: the UART on the generator",
                 "BRR、TBCK、RBCK、SPD：串口用该发生器"}}};
constexpr BaudMode kBrgBauds[] = {
    {"brg",
     {"the internal baud-rate generator", "内部波特率发生器"},
     256,
     &kinds::kUp,
     true,
     kBrgK,
     kBrgBaud}};
constexpr Unit kBrg{
    .key = "brg", .number = 0, .clocks = kBrgClocks, .bauds = kBrgBauds};
// The generator covers X2; the classic timers' baud settings are X1's.
constexpr Fitted kRd2Units[] = {
    {&kBrg},       {&kClassicT1, View::kBaud}, {&kClassicT2, View::kBaud},
    {&kClassicT0}, {&kClassicT1, View::kTick}, {&kClassicT2, View::kTick},
    {&kX2T0},      {&kX2T1, View::kTick},      {&kX2T2, View::kTick}};
constexpr Register kRd2Registers[] = {kCkcon0, {"BRL", 0x9A}, {"BDRCON", 0x9B}};
constexpr std::string_view kRd2Names[] = {"at89c51rb2", "at89c51rc2",
                                          "at89c51ed2", "at89c51id2",
                                          "at89c51ic2", "at89c5131"};

}  // namespace

// The cores its parts run, for delays and the code's named core.
constexpr Core kAt89lpCore =
    RefusedCore("at89lp", "Atmel AT89LP single-cycle core", 1);
constexpr const Core* kAt89lpCores[] = {&kAt89lpCore};
// X1 at reset, X2 when CKCON0.X2 is set.
constexpr const Core* kX1X2Cores[] = {&kClassicCore, &kX2Core};

extern const Chip kAt89lp;
constexpr Chip kAt89lp{
    .name = "at89lp",
    .family = {"Atmel/Microchip AT89LP3240/6440"},
    .document =
        "AT89LP3240/6440 datasheet 3706C, 16.2 Baud Rates, Tables "
        "16-2 and 16-3 (p. 88)",
    .evidence = Evidence::kPrintedTable,
    .units = kLpUnits,
    .registers = kLpRegisters,
    .cores = kAt89lpCores};

// Atmel's AT89C51XD2.h (as Keil ships it, also REG51XD2.H; no version
// line) declares the registers only; SDCC's at89c51ed2.h (Copyright 2005
// Jesus Calvino-Fraga) adds the masks, PCON's SMOD1 among them.
constexpr HeaderMacro kEd2Masks[] = {
    {"BRR", "0x10"},  {"TBCK", "0x08"},  {"RBCK", "0x04"},  {"SPD", "0x02"},
    {"SRC", "0x01"},  {"SMOD1", "0x80"}, {"SMOD0", "0x40"}, {"T2OE", "0x02"},
    {"DCEN", "0x01"}, {"X2", "0x01"},    {"T0X2", "0x02"},  {"T1X2", "0x04"},
    {"T2X2", "0x08"}, {"SIX2", "0x10"},
};
constexpr HeaderMacros kEd2MacroSets[] = {kEd2Masks};
constexpr std::string_view kXd2Files[] = {"AT89C51XD2.h", "REG51XD2.H"};
constexpr std::string_view kEd2Files[] = {"at89c51ed2.h"};
constexpr Header kRd2Headers[] = {
    {kXd2Files, "Atmel AT89C51XD2.h for Keil, no version line"},
    {kEd2Files, "SDCC 4.5.2 at89c51ed2.h (Copyright 2005 Jesus Calvino-Fraga)",
     kEd2MacroSets}};

extern const Chip kAt89c51rd2;
constexpr Chip kAt89c51rd2{
    .name = "at89c51rd2",
    .family = {"Atmel AT89C51RB2/RC2/RD2/ED2/ID2, AT89C51IC2, AT89C5131"},
    .document =
        "AT89C51RD2/ED2 datasheet 4235K, 14.4.1 Internal Baud Rate "
        "Generator (BRL, BDRCON, SPD, SMOD1); AT8xC51SND1C datasheet, "
        "Table 124 (the same generator's rates)",
    .evidence = Evidence::kPrintedTable,
    .units = kRd2Units,
    .registers = kRd2Registers,
    .aliases = kRd2Names,
    .cores = kX1X2Cores,
    .headers = kRd2Headers};

}  // namespace mcs51::families
