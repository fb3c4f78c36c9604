// The classic core's families: the 8051 and 8052 at 12 clocks per machine
// cycle, the X2 parts at 6 and the single-cycle parts' Timer 1 at 1. Their
// settings are the ones without --chip.
#include "mcs51/hardware/families/core_timers.h"

namespace mcs51::families {

constexpr Fitted k8051Units[] = {{&kClassicT0}, {&kClassicT1}};
constexpr Fitted k8052Units[] = {{&kClassicT0}, {&kClassicT1}, {&kClassicT2}};
constexpr Fitted kX2Units[] = {{&kX2T0}, {&kX2T1}, {&kX2T2}};
constexpr Fitted k1tUnits[] = {{&k1tT0}, {&k1tT1}};

// Registers outside <8052.h> and <reg52.h>, at the makers' addresses.
constexpr Register kX2Registers[] = {kCkcon0};
constexpr Register k1tRegisters[] = {kAuxr};

// The lines the code explains an extra register with.
constexpr Words kX2Note = {
    "Atmel AT89C51RD2/ED2-style parts: CKCON0 bit 0 (X2) runs the core at\n"
    "6 clocks per machine cycle, and the peripherals whose own CKCON0 bits\n"
    "stay 0 with it. NXP P89C51RD2/P89V51RD2-style parts choose 6 clocks by\n"
    "a programming option, set when the chip is programmed: leave CKCON0 out\n"
    "there.",
    "Atmel AT89C51RD2/ED2 类芯片：CKCON0 第 0 位（X2）使内核每机器周期\n"
    "6 个时钟，自身 CKCON0 位为 0 的外设随之加快。NXP P89C51RD2/P89V51RD2\n"
    "类芯片由编程选项选择 6 个时钟，在烧录芯片时设定：那里不写 CKCON0。"};
constexpr Words k1tNote = {
    "STC12/STC15-style single-cycle parts: AUXR bit 6 (T1x12) clocks Timer 1\n"
    "at the crystal's rate instead of a twelfth of it.",
    "STC12/STC15 类单周期芯片：AUXR 第 6 位（T1x12）使定时器 1 按晶振频率\n"
    "计数，而不是它的十二分之一。"};

// The cores its parts run, for delays and the code's named core.
constexpr const Core* kClassicCores[] = {&kClassicCore};
// X2 parts run their timers at 6 clocks; leaving X2 clear gives 12.
constexpr const Core* kX2Cores[] = {&kX2Core, &kClassicCore};
constexpr const Core* kSingleCycleCores[] = {&kSingleCycleCore};

// The compilers' own headers. Keil's REG51.H and REG52.H (Copyright
// 1988-2001 Keil, no version line) declare registers and bits only; SDCC's
// 8051.h (Copyright 2000 Bela Torok, SDCC 4.5.2's device/include) adds
// the masks PCON and TMOD are written with, which 8052.h includes.
constexpr HeaderMacro kSdcc8051Masks[] = {
    {"SMOD", "0x80"},    {"T0_M0", "0x01"},   {"T0_M1", "0x02"},
    {"T0_CT", "0x04"},   {"T0_GATE", "0x08"}, {"T1_M0", "0x10"},
    {"T1_M1", "0x20"},   {"T1_CT", "0x40"},   {"T1_GATE", "0x80"},
    {"T0_MASK", "0x0F"}, {"T1_MASK", "0xF0"},
};
constexpr HeaderMacros kSdccMacroSets[] = {kSdcc8051Masks};
constexpr std::string_view kKeil8051Files[] = {"REG51.H"};
constexpr std::string_view kSdcc8051Files[] = {"8051.h"};
constexpr std::string_view kKeil8052Files[] = {"REG52.H"};
constexpr std::string_view kSdcc8052Files[] = {"8052.h", "at89x52.h"};
constexpr Header k8051Headers[] = {
    {kKeil8051Files, "Keil REG51.H (Copyright 1988-2001 Keil), no version"},
    {kSdcc8051Files, "SDCC 4.5.2 8051.h (Copyright 2000 Bela Torok)",
     kSdccMacroSets}};
constexpr Header k8052Headers[] = {
    {kKeil8052Files, "Keil REG52.H (Copyright 1988-2001 Keil), no version"},
    {kSdcc8052Files, "SDCC 4.5.2 8052.h, which includes 8051.h, and at89x52.h",
     kSdccMacroSets}};

extern const Chip k8051;
constexpr Chip k8051{
    .name = "8051",
    .family = {"classic 8051 (12 clocks)", "经典 8051（12 时钟）"},
    .document =
        "Intel MCS-51 User's Manual, Serial Interface: Timer 1 baud rates",
    .evidence = Evidence::kPrintedTable,
    .units = k8051Units,
    .classic = true,
    .cores = kClassicCores,
    .headers = k8051Headers};

extern const Chip k8052;
constexpr Chip k8052{
    .name = "8052",
    .family = {"classic 8052 (12 clocks)", "经典 8052（12 时钟）"},
    .document =
        "Intel MCS-51 User's Manual; Philips 8XC51FA/FB, Timer 2 baud rates",
    .evidence = Evidence::kPrintedTable,
    .units = k8052Units,
    .classic = true,
    .cores = kClassicCores,
    .headers = k8052Headers};

extern const Chip kX2;
constexpr Chip kX2{
    .name = "x2",
    .family = {"X2 parts (6 clocks): AT89C51RD2/ED2, P89V51RD2",
               "X2 型（6 时钟）：AT89C51RD2/ED2、P89V51RD2"},
    .document = "Atmel AT89C51RD2/ED2 datasheet, X2 feature and CKCON0",
    .evidence = Evidence::kFormulaOnly,
    .units = kX2Units,
    .registers = kX2Registers,
    .classic = true,
    .note = kX2Note,
    .cores = kX2Cores};

extern const Chip k1t;
constexpr Chip k1t{
    .name = kSingleCycleCore.key,
    .family = {"single-cycle Timer 1 (T1x12)", "单周期定时器 1（T1x12）"},
    .document = "STC15 series manual, AUXR (T1x12) and UART1 on Timer 1",
    .evidence = Evidence::kFormulaOnly,
    .units = k1tUnits,
    .registers = k1tRegisters,
    .classic = true,
    .note = k1tNote,
    .cores = kSingleCycleCores};

}  // namespace mcs51::families
