// WCH's CH552 and CH554: Timers 0, 1 and 2 at Fsys/12, Fsys/4 or Fsys
// (T2MOD), UART0 on Timer 1, UART1 on its own SBAUD1.
#include "mcs51/hardware/families/core_timers.h"

namespace mcs51::families {
namespace {

// T2MOD: bTMR_CLK 0x80 picks Fsys over Fsys/4 for every timer whose own
// bT2_CLK 0x40, bT1_CLK 0x20 or bT0_CLK 0x10 is set. SCON1: U1SMOD 0x20.
constexpr std::uint8_t kTmrClk = 0x80;
#define WCH_CLOCKS(TX_CLK)      \
  {                             \
    {12}, {4, {TX_CLK}}, {      \
      1, { (TX_CLK) | kTmrClk } \
    }                           \
  }
constexpr Clock kT0Clocks[] = WCH_CLOCKS(0x10);
constexpr Clock kT1Clocks[] = WCH_CLOCKS(0x20);
constexpr Clock kT2Clocks[] = WCH_CLOCKS(0x40);
#undef WCH_CLOCKS

constexpr Write kT0Clock =
    CLOCK_WRITE("T2MOD", 0x10 | kTmrClk, "bT0_CLK, bTMR_CLK (shared)",
                "bT0_CLK、bTMR_CLK（共用）");
constexpr Write kT1Clock =
    CLOCK_WRITE("T2MOD", 0x20 | kTmrClk, "bT1_CLK, bTMR_CLK (shared)",
                "bT1_CLK、bTMR_CLK（共用）");
constexpr Write kT2Clock =
    CLOCK_WRITE("T2MOD", 0x40 | kTmrClk, "bT2_CLK, bTMR_CLK (shared)",
                "bT2_CLK、bTMR_CLK（共用）");
MODE2_ONLY(t0, 0, kT0Clock)
MODE2_ONLY(t1, 1, kT1Clock)
constexpr Write kT2Tick[] = {T2_AUTO_RELOAD(kT2Clock, )};
constexpr TickMode kT2Ticks[] = {
    {"ar", kAutoReloadText, 65536, Reload::kHardware, kT2Tick}};

constexpr double kT1K[] = {384, 128, 32};
constexpr Write kT1Baud[] = {
    TIMER1_MODE2(Commented(kT1Clock, {"bTMR_CLK, bT1_CLK"}), )};
constexpr BaudMode kT1Bauds[] = {
    {"t1", kUart0Timer1Text, 256, &kinds::kUp, true, kT1K, kT1Baud}};
// SCON1's U1REN and U1SMOD.
constexpr Field kU1REN{"U1REN", "SCON1", 0x10};
constexpr Write kSbaud1Baud[] = {
    {.reg = kU1REN.reg,
     .value = kU1REN.mask,
     .smod_bits = 0x20,
     .comment = {"8-bit, U1REN, U1SMOD", "8 位，U1REN、U1SMOD"}},
    {.reg = "SBAUD1", .source = S::kReloadLow}};
constexpr BaudMode kSbaud1Bauds[] = {
    {"sbaud1",
     {"UART1 on its own SBAUD1", "串口 1 用它自己的 SBAUD1"},
     256,
     &kinds::kUp,
     true,
     kK32,
     kSbaud1Baud,
     0,
     "STEP",
     kU1REN}};

constexpr Unit kT0 = TIMER_01(0, kT0Clocks, {}, t0::kModes);
constexpr Unit kT1 = TIMER_01(1, kT1Clocks, kT1Bauds, t1::kModes);
constexpr Unit kT2 = TIMER_2(kT2Clocks, {}, kT2Ticks);
constexpr Unit kSbaud1{
    .key = "sbaud1", .number = 0, .clocks = kAt1, .bauds = kSbaud1Bauds};
constexpr Fitted kUnits[] = {{&kT0}, {&kT1}, {&kT2}, {&kSbaud1}};

// WCH's CH554.H (W.ch 1999-2014) and CH552.H (W.ch 1999-2016), no version
// line: the bit masks their examples write TMOD, PCON and T2MOD with
// (Debug.C V1.2's mInitSTDIO: "PCON |= SMOD", "T2MOD |= bTMR_CLK |
// bT1_CLK"). PCON's mask is SMOD, T2MOD's output bit T2OE: no b prefix.
constexpr HeaderMacro kCh55xMasks[] = {
    {"bT1_GATE", "0x80"},    {"bT1_CT", "0x40"},         {"bT1_M1", "0x20"},
    {"bT1_M0", "0x10"},      {"MASK_T1_MOD", "0x30"},    {"bT0_GATE", "0x08"},
    {"bT0_CT", "0x04"},      {"bT0_M1", "0x02"},         {"bT0_M0", "0x01"},
    {"MASK_T0_MOD", "0x03"}, {"SMOD", "0x80"},           {"bTMR_CLK", "0x80"},
    {"bT2_CLK", "0x40"},     {"bT1_CLK", "0x20"},        {"bT0_CLK", "0x10"},
    {"T2OE", "0x02"},        {"MASK_UART0_MOD", "0xE0"},
};
constexpr HeaderMacros kCh55xMacroSets[] = {kCh55xMasks};
constexpr std::string_view kCh55xFiles[] = {"CH552.H", "CH554.H"};
constexpr Header kCh55xHeaders[] = {
    {kCh55xFiles,
     "WCH CH554.H (Copyright W.ch 1999-2014) and CH552.H (1999-2016), no "
     "version line",
     kCh55xMacroSets}};

constexpr Register kRegisters[] = {
    {"T2MOD", 0xC9}, {"SCON1", 0xC0}, {"SBAUD1", 0xC2}};
constexpr double kFsys[] = {6, 12, 16, 24, 32};

}  // namespace

// The cores its parts run, for delays and the code's named core. Where a
// CH55x branch lands decides its cycles, and the linker, not this code,
// places it: no delay can be counted for it even with the table in hand.
constexpr std::string_view kCh55xPlacement =
    "a taken branch takes a cycle more when its target's address is odd, "
    "and DJNZ one more when its own is (WCH, CH55x assembly instruction "
    "description, the instruction-cycle overview and the control-transfer "
    "table: DJNZ Rn,rel 2, or 4, 5 or 6 when it jumps; SJMP 4 or 5), and the "
    "linker places the code";
constexpr Core kCh55xCore =
    RefusedCore("ch55x", "WCH CH55x core", 1, kCh55xPlacement);
constexpr const Core* kCh55xCores[] = {&kCh55xCore};

extern const Chip kCh552;
constexpr Chip kCh552{
    .name = "ch552",
    .family = {"WCH CH552, CH554"},
    .document =
        "CH552/CH554 datasheet, UART0 (T2MOD) and UART1 (SBAUD1); "
        "WCH's CH552.H",
    .evidence = Evidence::kFormulaOnly,
    .units = kUnits,
    .registers = kRegisters,
    .internal_mhz = kFsys,
    .cores = kCh55xCores,
    .headers = kCh55xHeaders};

}  // namespace mcs51::families
