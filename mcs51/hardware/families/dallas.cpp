// The Dallas (Maxim) high-speed core: the DS80C320, the DS89C430/450 and
// the Cypress EZ-USB FX2LP built on it. Timers count at 12 clocks, or at 4
// with CKCON's TxM; the DS89C4x0's Timer 1 also at 1 with CKMOD's T1MH.
#include "mcs51/hardware/families/core_timers.h"

namespace mcs51::families {
namespace {

// CKCON: T0M 0x08, T1M 0x10, T2M 0x20. CKMOD: T1MH 0x10.
constexpr std::uint8_t kT0m = 0x08, kT1m = 0x10, kT2m = 0x20, kT1mh = 0x10;
constexpr Clock kT0Clocks[] = {{12}, {4, {kT0m}}};
constexpr Clock kT1Clocks[] = {{12}, {4, {kT1m}}};
constexpr Clock kT2Clocks[] = {{12}, {4, {kT2m}}};
constexpr Clock kDs89T1Clocks[] = {{12}, {4, {kT1m}}, {1, {kT1m, kT1mh}}};

constexpr Write kT0Clock = CLOCK_WRITE("CKCON", kT0m, "T0M");
constexpr Write kT1Clock = CLOCK_WRITE("CKCON", kT1m, "T1M");
constexpr Write kT2Clock = CLOCK_WRITE("CKCON", kT2m, "T2M");
constexpr Write kT1Fast{.reg = "CKMOD",
                        .mask = kT1mh,
                        .value = 0x00,
                        .choice_slot = 1,
                        .comment = {"T1MH"}};
MODE2_ONLY(t0, 0, kT0Clock)
MODE2_ONLY(t1, 1, kT1Clock)
// The ticks leave CKMOD alone: 12 and 4 clocks only.
constexpr TickMode kDs89T1Ticks[] = {
    {"2", kMode2Text, 256, Reload::kHardware, t1::kM2, 8, 2}};
constexpr Write kT2Tick[] = {T2_AUTO_RELOAD(kT2Clock, )};
constexpr TickMode kT2Ticks[] = {
    {"ar", kAutoReloadText, 65536, Reload::kHardware, kT2Tick}};

constexpr double kT1K[] = {384, 128, 32};
constexpr Write kT1Baud[] = {TIMER1_MODE2(kT1Clock, )};
constexpr Write kDs89T1Baud[] = {TIMER1_MODE2(kT1Clock, kT1Fast, )};
constexpr BaudMode kT1Bauds[] = {{"t1", kTimer1Mode2Text, 256, &kinds::kUp,
                                  true, std::span(kT1K).first<2>(), kT1Baud}};
constexpr BaudMode kDs89T1Bauds[] = {
    {"t1", kTimer1Mode2Text, 256, &kinds::kUp, true, kT1K, kDs89T1Baud}};

constexpr Unit kT0 = TIMER_01(0, kT0Clocks, {}, t0::kModes);
constexpr Unit kT1 = TIMER_01(1, kT1Clocks, kT1Bauds, t1::kModes);
constexpr Unit kDs89T1 = TIMER_01(1, kDs89T1Clocks, kDs89T1Bauds, kDs89T1Ticks);
// As a baud-rate generator Timer 2 counts at f/2 whatever T2M says.
constexpr Unit kT2 = TIMER_2(kT2Clocks, kClassicT2Bauds, kT2Ticks);
constexpr Fitted kUnits[] = {{&kT0}, {&kT1}, {&kT2}};
constexpr Fitted kDs89Units[] = {{&kT0}, {&kDs89T1}, {&kT2}};

constexpr Register kRegisters[] = {{"CKCON", 0x8E}, {"CKMOD", 0x96}};
constexpr Register kFx2Registers[] = {{"CKCON", 0x8E}};
constexpr double kFx2Clkout[] = {12, 24, 48};

}  // namespace

// The cores its parts run, for delays and the code's named core.
// LCALL, RET, NOP, MOV Rn,#, DJNZ taken and not, SJMP, MOV A,dir, ADD A,#,
// ADDC A,#, MOV dir,A, ORL A,dir, JNZ taken and not, MOV dir,Rn: the
// table's oscillator cycles over 4. A branch takes as long either way.
constexpr Core kDallasCore = {
    .key = "dallas-4-clock",
    .text = {"Dallas/Maxim high-speed core, 4 clocks per machine cycle",
             "Dallas/Maxim 高速内核，每机器周期 4 个时钟"},
    .clocks = 4,
    .source = {"Maxim, DS80C320/DS80C323 data sheet, Instruction Set Summary "
               "(p. 9 on), oscillator cycles, 4 a machine cycle",
               "Maxim《DS80C320/DS80C323 数据手册》，指令集摘要（第 9 "
               "页起）的振荡周期数，每机器周期 4 个"},
    .cycles = {4, 4, 1, 2, 3, 3, 3, 2, 2, 2, 2, 2, 3, 3, 2},
};
constexpr Core kDs89Core =
    RefusedCore("ds89c4x0", "Maxim DS89C4x0 single-cycle core", 1);
constexpr Core kFx2Core = RefusedCore("fx2", "Cypress FX2 core", 4);
constexpr const Core* kDallasCores[] = {&kDallasCore};
constexpr const Core* kDs89Cores[] = {&kDs89Core};
constexpr const Core* kFx2Cores[] = {&kFx2Core};

extern const Chip kDs80c320;
constexpr Chip kDs80c320{
    .name = "ds80c320",
    .family = {"Maxim DS80C320"},
    .document =
        "High-Speed Microcontroller User's Guide, Serial I/O baud "
        "rates; Cypress EZ-USB TRM, Table C-10 (the same core's "
        "CKCON.T1M)",
    .evidence = Evidence::kPrintedTable,
    .units = kUnits,
    .registers = kRegisters,
    .cores = kDallasCores};

extern const Chip kDs89c4x0;
constexpr Chip kDs89c4x0{
    .name = "ds89c4x0",
    .family = {"Maxim DS89C430/450"},
    .document =
        "Ultra-High-Speed Flash Microcontroller User's Guide, Serial "
        "I/O; Keil's DS89C4xx.H for CKMOD (0x96); FREQ is the system "
        "clock after the crystal multiplier or divider",
    .evidence = Evidence::kFormulaOnly,
    .units = kDs89Units,
    .registers = kRegisters,
    .cores = kDs89Cores};

extern const Chip kFx2lp;
constexpr Chip kFx2lp{
    .name = "fx2lp",
    .family = {"Cypress EZ-USB FX2LP"},
    .document =
        "Cypress EZ-USB TRM v1.9, Appendix C, Table C-11: the first "
        "EZ-USB's (AN2131, a fixed 24 MHz) Timer 2 rates, the same core's "
        "CLK / 32 / (65536 - RCAP2); no FX2LP table found",
    .evidence = Evidence::kPrintedTable,
    .units = kUnits,
    .registers = kFx2Registers,
    .internal_mhz = kFx2Clkout,
    .clock = "CLKOUT, the CPU clock CPUCS.CLKSPD selects: 12, 24 or 48 MHz",
    .cores = kFx2Cores,
    .not_modelled =
        "UART230 (XDATA 0xE608, the 230 Kbaud clock for Timers 0, 1 and 2 "
        "in Cypress's fx2regs.h): no document found gives its exact rate at "
        "each CLKOUT or how it combines with SMOD"};

}  // namespace mcs51::families
