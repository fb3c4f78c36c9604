// TI's radios: the CC2530 (CC2531, CC2540, CC2541) and the CC2510
// (CC1110), USART0 as a UART and Timers 1, 3 and 4 as tick timers.
#include "mcs51/hardware/families/core_timers.h"

namespace mcs51::families {
namespace {

// F * (256 + BAUD_M) * 2^BAUD_E / 2^28. U0CSR: MODE 0x80, RE 0x40; U0UCR:
// STOP 0x02 (a high stop bit); U0GCR: BAUD_E in bits 4 ... 0, ORDER 0 (LSB
// first).
constexpr double kK1[] = {1};
constexpr Field kMODE{"MODE", "U0CSR", 0x80};
constexpr Field kRE{"RE", "U0CSR", 0x40};
// clang-format off
#define U0_UART_WRITES                                                     \
  {.reg = kMODE.reg, .value = kMODE.mask, .comment = {"UART mode, receiver off", "UART 方式，禁止接收"}}, \
  {.reg = "U0UCR", .value = 0x02, .comment = {"8 bits, no parity, 1 stop", "8 位，无校验，1 位停止位"}}, \
  {.reg = "U0GCR", .source = S::kStep, .comment = {"BAUD_E, LSB first", "BAUD_E，低位先发"}},    \
  {.reg = "U0BAUD", .source = S::kReloadLow, .comment = {"BAUD_M"}},         \
  {.reg = kRE.reg, .value = kMODE.mask | kRE.mask,                        \
   .comment = {"UART mode, receiver on", "UART 方式，允许接收"}}
// clang-format on

// USART0's pins (TI's ioCC2530.h and ioCCxx10_bitdef.h: PERCFG 0xF1, U0CFG
// bit 0; P0SEL 0xF3; P1SEL 0xF4; CC253x/4x User's Guide SWRU191F, Table 7-1):
// location 1 (U0CFG 0, the reset value) is P0.2 RX, P0.3 TX; location 2
// (U0CFG 1) P1.4 RX, P1.5 TX. USART0 already comes first on port 0 at reset
// (P2DIR.PRIP0 00).
constexpr Write kAlt1Baud[] = {
    {.reg = "PERCFG",
     .mask = 0x01,
     .value = 0x00,
     .comment = {"U0CFG = 0: USART0 at location 1",
                 "U0CFG = 0：USART0 用位置 1"}},
    {.reg = "P0SEL",
     .mask = 0x0C,
     .value = 0x0C,
     .comment = {"P0.2 RX, P0.3 TX to the USART", "P0.2 RX、P0.3 TX 接 USART"}},
    U0_UART_WRITES};
constexpr Write kAlt2Baud[] = {
    {.reg = "PERCFG",
     .mask = 0x01,
     .value = 0x01,
     .comment = {"U0CFG = 1: USART0 at location 2",
                 "U0CFG = 1：USART0 用位置 2"}},
    {.reg = "P1SEL",
     .mask = 0x30,
     .value = 0x30,
     .comment = {"P1.4 RX, P1.5 TX to the USART", "P1.4 RX、P1.5 TX 接 USART"}},
    U0_UART_WRITES};
#undef U0_UART_WRITES
constexpr BaudMode kUartBauds[] = {
    {"u0",
     {"USART0 as UART", "USART0 作 UART"},
     256,
     &kinds::kMantissaExponent,
     false,
     kK1,
     kAlt1Baud,
     0,
     "BAUD_E",
     kRE},
    {"u0alt2",
     {"USART0 as UART at location 2", "USART0 作 UART，位置 2"},
     256,
     &kinds::kMantissaExponent,
     false,
     kK1,
     kAlt2Baud,
     0,
     "BAUD_E",
     kRE}};
constexpr Unit kUsart0{
    .key = "u0", .number = 0, .clocks = kAt1, .bauds = kUartBauds};

// ---- Timers 1, 3 and 4 in modulo mode ----
// Each counts the timer tick (the system clock divided by CLKCONCMD's or
// CLKCON's TICKSPD) through its prescaler, 0 ... TxCC0 and again: TxCC0 is
// the count less one. Channel 0 compares with TxCC0, and its flag alone
// interrupts: in modulo mode the count never reaches the overflow flag's
// 0xFFFF (Timer 1), and the overflow interrupt of Timers 3 and 4 stays
// masked (OVFIM 0), so that a period interrupts once. IRCON's T1IF, T3IF
// and T4IF clear themselves when the handler is entered; the channel flag
// is the handler's to clear.

// T1CTL.DIV (bits 3:2): /1, /8, /32, /128; MODE (bits 1:0) 10 = modulo.
constexpr Clock kT1Clocks[] = {
    {1, {0x00}}, {8, {0x04}}, {32, {0x08}}, {128, {0x0C}}};
// T3CTL/T4CTL.DIV (bits 7:5): /1 ... /128; START 0x10, OVFIM 0x08, CLR
// 0x04; MODE (bits 1:0) 10 = modulo.
constexpr Clock kT34Clocks[] = {{1, {0x00}},  {2, {0x20}},  {4, {0x40}},
                                {8, {0x60}},  {16, {0x80}}, {32, {0xA0}},
                                {64, {0xC0}}, {128, {0xE0}}};
constexpr Words kCompare = {"channel 0 compares: one interrupt a period",
                            "通道 0 比较：每周期一次中断"};
constexpr Words kCounting = {"modulo mode: counting", "模模式：开始计数"};
// IEN1's interrupt enables.
constexpr Field kT1IE{"T1IE", "IEN1", 0x02};
constexpr Field kT3IE{"T3IE", "IEN1", 0x08};
constexpr Field kT4IE{"T4IE", "IEN1", 0x10};

// Timer 1, with the CC2530's T1STAT or the CC2510's T1CTL holding CH0IF.
#define T1_MODULO(...)                                                    \
  {.reg = "T1CTL",                                                        \
   .value = 0x00,                                                         \
   .comment = {"stopped while it is set up", "设置时停止"}},              \
      {.reg = "T1CC0H", .source = S::kReloadHigh},                        \
      {.reg = "T1CC0L",                                                   \
       .source = S::kReloadLow,                                           \
       .comment = {"counts 0 ... T1CC0", "从 0 计到 T1CC0"}},             \
      {.reg = "T1CCTL0", .value = 0x44, .comment = kCompare},             \
      {.reg = "T1CNTL",                                                   \
       .value = 0x00,                                                     \
       .comment = {"any write clears the count", "任何写入都清零计数"}},  \
      __VA_ARGS__ SetBits(kT1IE), kEa, {                                  \
    .reg = "T1CTL", .value = 0x02, .choice_slot = 0, .comment = kCounting \
  }
constexpr Write kT1Stat{.reg = "T1STAT", .mask = 0x01};  // CH0IF
constexpr Write kT1Cc2530[] = {T1_MODULO(kT1Stat, )};
constexpr Write kT1Cc2510[] = {T1_MODULO()};
#undef T1_MODULO

// Timer 3 or 4 (N); CLR in the first write clears the count.
#define T34_MODULO(N)                                                          \
  {.reg = "T" #N "CTL",                                                        \
   .value = 0x04,                                                              \
   .comment = {"stopped, count cleared, overflow interrupt off",               \
               "停止，计数清零，关溢出中断"}},                                 \
      {.reg = "T" #N "CC0",                                                    \
       .source = S::kReloadLow,                                                \
       .comment = {"counts 0 ... T" #N "CC0", "从 0 计到 T" #N "CC0"}},        \
      {.reg = "T" #N "CCTL0", .value = 0x44, .comment = kCompare},             \
      {.reg = "TIMIF", .mask = T##N##_CH0IF}, SetBits(kT##N##IE), kEa, {       \
    .reg = "T" #N "CTL", .value = 0x12, .choice_slot = 0, .comment = kCounting \
  }
#define T3_CH0IF 0x02
#define T4_CH0IF 0x10
constexpr Write kT3Writes[] = {T34_MODULO(3)};
constexpr Write kT4Writes[] = {T34_MODULO(4)};
#undef T34_MODULO

// A timer's one mode: modulo, the count less one in TxCC0.
constexpr TickMode Modulo(double modulus, std::span<const Write> writes) {
  return {.key = "mod",
          .text = {"modulo mode", "模模式"},
          .modulus = modulus,
          .reload = Reload::kHardware,
          .writes = writes,
          .counting = &kinds::kDivisorMinusOne};
}
constexpr TickMode kT1Cc2530Modes[] = {Modulo(65536, kT1Cc2530)};
constexpr TickMode kT1Cc2510Modes[] = {Modulo(65536, kT1Cc2510)};
constexpr TickMode kT3Modes[] = {Modulo(256, kT3Writes)};
constexpr TickMode kT4Modes[] = {Modulo(256, kT4Writes)};

// Vectors (TI's ioCC2530.h, ioCC1110.h): T1 0x4B, T3 0x5B, T4 0x63.
constexpr Write kT1Run{.reg = "T1CTL", .mask = 0x02, .value = 0x02};
constexpr Unit kT1Cc2530Timer{.key = "t1",
                              .number = 1,
                              .clocks = kT1Clocks,
                              .ticks = kT1Cc2530Modes,
                              .vector = 9,
                              .run = kT1Run,
                              .flag = kT1Stat,
                              .enable = kT1IE};
constexpr Unit kT1Cc2510Timer{.key = "t1",
                              .number = 1,
                              .clocks = kT1Clocks,
                              .ticks = kT1Cc2510Modes,
                              .vector = 9,
                              .run = kT1Run,
                              .flag = {.reg = "T1CTL", .mask = 0x20},
                              .enable = kT1IE};
constexpr Unit kT3Timer{.key = "t3",
                        .number = 3,
                        .clocks = kT34Clocks,
                        .ticks = kT3Modes,
                        .vector = 11,
                        .run = {.reg = "T3CTL", .mask = 0x10, .value = 0x10},
                        .flag = {.reg = "TIMIF", .mask = T3_CH0IF},
                        .enable = kT3IE};
constexpr Unit kT4Timer{.key = "t4",
                        .number = 4,
                        .clocks = kT34Clocks,
                        .ticks = kT4Modes,
                        .vector = 12,
                        .run = {.reg = "T4CTL", .mask = 0x10, .value = 0x10},
                        .flag = {.reg = "TIMIF", .mask = T4_CH0IF},
                        .enable = kT4IE};
#undef T3_CH0IF
#undef T4_CH0IF

constexpr Fitted kCc2530Units[] = {
    {&kUsart0}, {&kT1Cc2530Timer}, {&kT3Timer}, {&kT4Timer}};
constexpr Fitted kCc2510Units[] = {
    {&kUsart0}, {&kT1Cc2510Timer}, {&kT3Timer}, {&kT4Timer}};
#define TI_REGISTERS                                                          \
  {"U0CSR", 0x86}, {"U0BAUD", 0xC2}, {"U0UCR", 0xC4}, {"U0GCR", 0xC5},        \
      {"PERCFG", 0xF1}, {"P0SEL", 0xF3}, {"P1SEL", 0xF4}, {"IEN1", 0xB8},     \
      {"TIMIF", 0xD8}, {"T1CC0L", 0xDA}, {"T1CC0H", 0xDB}, {"T1CNTL", 0xE2},  \
      {"T1CTL", 0xE4}, {"T1CCTL0", 0xE5}, {"T3CTL", 0xCB}, {"T3CCTL0", 0xCC}, \
      {"T3CC0", 0xCD}, {"T4CTL", 0xEB}, {"T4CCTL0", 0xEC}, {                  \
    "T4CC0", 0xED                                                             \
  }
constexpr Register kCc2530Registers[] = {TI_REGISTERS, {"T1STAT", 0xAF}};
constexpr Register kCc2510Registers[] = {TI_REGISTERS};
#undef TI_REGISTERS
// The system clocks these radios run their UART from.
constexpr double kCc2530Clocks[] = {16, 32};
constexpr double kCc2510Clocks[] = {13, 26};
constexpr std::string_view kCc2530Names[] = {"cc2531", "cc2540", "cc2541"};
constexpr std::string_view kCc2510Names[] = {"cc1110"};
// The system clock starts on the RC oscillator (CLKCONCMD, CLKCON OSC = 1).
constexpr Words kCc2530Note = {
    "FREQ is the system clock selected: the 16 MHz RC oscillator from\n"
    "reset; the 32 MHz crystal once CLKCONCMD.OSC is cleared and\n"
    "CLKCONSTA.OSC reads 0.",
    "FREQ 是所选的系统时钟：复位后为 16 MHz RC 振荡器；清除 CLKCONCMD.OSC\n"
    "且 CLKCONSTA.OSC 读为 0 后才是 32 MHz 晶振。"};
constexpr Words kCc2510Note = {
    "FREQ is the system clock selected: the 13 MHz RC oscillator from\n"
    "reset; the 26 MHz crystal once CLKCON.OSC is cleared.",
    "FREQ 是所选的系统时钟：复位后为 13 MHz RC 振荡器；清除 CLKCON.OSC\n"
    "后才是 26 MHz 晶振。"};

// The timers count the timer tick: CLKCONCMD.TICKSPD (bits 5:3) divides
// 32 MHz by 2^TICKSPD, never faster than the system clock; its reset value
// 001 makes 16 MHz on either oscillator.
constexpr Words kCc2530TickNote = {
    "FREQ is the timer tick, CLKCONCMD.TICKSPD's division of the system\n"
    "clock: 16 MHz from reset (TICKSPD 001), on the 16 MHz RC oscillator\n"
    "and on the 32 MHz crystal alike; 32 MHz once TICKSPD is 000 on the\n"
    "crystal.",
    "FREQ 是定时器节拍，即 CLKCONCMD.TICKSPD 对系统时钟的分频：复位后为\n"
    "16 MHz（TICKSPD 001），16 MHz RC 振荡器与 32 MHz 晶振都一样；在晶振上\n"
    "TICKSPD 为 000 后才是 32 MHz。"};
constexpr TimerSources kCc2530Timers{
    .document =
        "TI's CC253x/4x User's Guide SWRU191C (2009, rev. 2012): Timer 1 "
        "(9.1, p. 108), Timers 3 and 4 (10.1, p. 126; T4CTL, T4CCTL0, p. "
        "131); TI's CC254x example t1_mod.c (2012)",
    .evidence = Evidence::kMakersExample,
    .clock =
        "for Timers 1, 3 and 4 the timer tick, CLKCONCMD.TICKSPD's division "
        "of the system clock: 16 MHz from reset, 32 MHz once TICKSPD is 000 "
        "on the 32 MHz crystal",
    .note = kCc2530TickNote};
// The CCxx10's CLKCON.TICKSPD divides the system clock alike; TI's timer
// examples count 13 MHz from reset (the RC oscillator at TICKSPD's reset).
constexpr Words kCc2510TickNote = {
    "FREQ is the timer tick, CLKCON.TICKSPD's division of the system clock:\n"
    "13 MHz from reset, on the RC oscillator; on the 26 MHz crystal, the\n"
    "division TICKSPD holds.",
    "FREQ 是定时器节拍，即 CLKCON.TICKSPD 对系统时钟的分频：复位后在 RC\n"
    "振荡器上为 13 MHz；在 26 MHz 晶振上，按 TICKSPD 所存的分频。"};
constexpr TimerSources kCc2510Timers{
    .document =
        "TI's CCxx10 timer examples (t1_mod.c, t1_free.c, 2008) and bit "
        "definitions (ioCCxx10_bitdef.h, 2008); no printed table",
    .evidence = Evidence::kMakersExample,
    .clock =
        "for Timers 1, 3 and 4 the timer tick, CLKCON.TICKSPD's division of "
        "the system clock: 13 MHz from reset on the RC oscillator",
    .note = kCc2510TickNote};

}  // namespace

// The cores its parts run, for delays and the code's named core.
constexpr Core kCc25Core = RefusedCore("cc25xx", "TI CC25xx 8051 core", 1);
constexpr const Core* kCc25Cores[] = {&kCc25Core};

extern const Chip kCc2530;
constexpr Chip kCc2530{
    .name = "cc2530",
    .family = {"TI CC2530, CC2531, CC2540, CC2541"},
    .document =
        "TI's CC2430/CC2530 USART baud-rate formula (UxBAUD, UxGCR) "
        "and its table for a 32 MHz system clock",
    .evidence = Evidence::kPrintedTable,
    .units = kCc2530Units,
    .registers = kCc2530Registers,
    .internal_mhz = kCc2530Clocks,
    .note = kCc2530Note,
    .aliases = kCc2530Names,
    .clock =
        "the system clock CLKCONCMD.OSC has selected: the 16 MHz RC "
        "oscillator from reset, the 32 MHz crystal once OSC is cleared and "
        "CLKCONSTA.OSC reads 0",
    .cores = kCc25Cores,
    .timer_sources = &kCc2530Timers};

extern const Chip kCc2510;
constexpr Chip kCc2510{
    .name = "cc2510",
    .family = {"TI CC2510, CC1110"},
    .document = "the CC2430/CC2530 USART's formula (U0BAUD, U0GCR)",
    .evidence = Evidence::kFormulaOnly,
    .units = kCc2510Units,
    .registers = kCc2510Registers,
    .internal_mhz = kCc2510Clocks,
    .note = kCc2510Note,
    .aliases = kCc2510Names,
    .clock =
        "the system clock CLKCON.OSC has selected: the 13 MHz RC "
        "oscillator from reset, the 26 MHz crystal (27 MHz on some CC1110 "
        "boards) once OSC is cleared",
    .cores = kCc25Cores,
    .timer_sources = &kCc2510Timers};

}  // namespace mcs51::families
