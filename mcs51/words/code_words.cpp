#include "mcs51/words/code_words.h"

#include <algorithm>
#include <iterator>

namespace mcs51 {
namespace {

// Every record's comment, generator text and note that has words.
constexpr Words kCodeWords[] = {
    {"mode 1, receiver on", "方式 1，允许接收"},
    {"Timer 1 in mode 2, Timer 0 kept", "定时器 1 方式 2，定时器 0 不变"},
    {"the first bit as long as the rest", "第一位与其余各位一样长"},
    {"SMOD = 1 doubles the rate", "SMOD = 1 使波特率加倍"},
    {"stopped while it is loaded", "装载时停止"},
    {"RCLK, TCLK, TR2: Timer 2 clocks both ways",
     "RCLK、TCLK、TR2：定时器 2 作收发时钟"},
    {"T2R, S1ST2: UART1 on Timer 2", "T2R、S1ST2：串口 1 用定时器 2"},
    {"T1x12; UART1 on Timer 1", "T1x12；串口 1 用定时器 1"},
    {"Timer 1 in mode 0, 16-bit auto-reload", "定时器 1 方式 0，16 位自动重装"},
    {"Timer 1 in mode 1, 16-bit auto-reload", "定时器 1 方式 1，16 位自动重装"},
    {"BRCK = 0: UART0 on Timer 1", "BRCK = 0：串口 0 用定时器 1"},
    {"UART1 mode 1, receiver on", "串口 1 方式 1，允许接收"},
    {"8-bit UART, receiver on", "8 位 UART，允许接收"},
    {"T1M, SCA: Timer 1's clock", "T1M、SCA：定时器 1 的时钟"},
    {"8-bit, U1REN, U1SMOD", "8 位，U1REN、U1SMOD"},
    {"no fractional divider", "不用小数分频器"},
    {"FDEN, fractional mode", "FDEN，小数分频方式"},
    {"Timer 1 in mode 2", "定时器 1 方式 2"},
    {"Timer 2 baud-rate generator", "定时器 2 波特率发生器"},
    {"Timer 1 in mode 2, X2", "定时器 1 方式 2，X2"},
    {"Timer 2 baud-rate generator, X2", "定时器 2 波特率发生器，X2"},
    {"Timer 1 in mode 2, T1x12", "定时器 1 方式 2，T1x12"},
    {"UART1 on Timer 2, 16-bit auto-reload",
     "串口 1 用定时器 2，16 位自动重装"},
    {"UART1 on Timer 1 in mode 0, 16-bit auto-reload",
     "串口 1 用定时器 1 方式 0，16 位自动重装"},
    {"UART1 on Timer 1 in mode 2", "串口 1 用定时器 1 方式 2"},
    {"UART1 on the BRT generator", "串口 1 用 BRT 发生器"},
    {"UART0 on Timer 1 in mode 2", "串口 0 用定时器 1 方式 2"},
    {"UART0 on Timer 3", "串口 0 用定时器 3"},
    {"UART1 on Timer 3", "串口 1 用定时器 3"},
    {"UART1 on its own SBAUD1", "串口 1 用它自己的 SBAUD1"},
    {"the baud-rate generator", "波特率发生器"},
    {"the baud-rate generator behind the fractional divider",
     "经小数分频器的波特率发生器"},
    {"the internal baud-rate generator", "内部波特率发生器"},
    {"BRR, TBCK, RBCK, SPD: the UART on the generator",
     "BRR、TBCK、RBCK、SPD：串口用该发生器"},
    {"USART0 as UART", "USART0 作 UART"},
    {"UART mode, receiver off", "UART 方式，禁止接收"},
    {"UART mode, receiver on", "UART 方式，允许接收"},
    {"USART0 as UART at location 2", "USART0 作 UART，位置 2"},
    {"U0CFG = 0: USART0 at location 1", "U0CFG = 0：USART0 用位置 1"},
    {"U0CFG = 1: USART0 at location 2", "U0CFG = 1：USART0 用位置 2"},
    {"P0.2 RX, P0.3 TX to the USART", "P0.2 RX、P0.3 TX 接 USART"},
    {"P1.4 RX, P1.5 TX to the USART", "P1.4 RX、P1.5 TX 接 USART"},
    {"FREQ is the system clock selected: the 16 MHz RC oscillator from "
     "reset; the 32 MHz crystal once CLKCONCMD.OSC is cleared and "
     "CLKCONSTA.OSC reads 0.",
     "FREQ 是所选的系统时钟：复位后为 16 MHz RC 振荡器；清除 CLKCONCMD.OSC\n"
     "且 CLKCONSTA.OSC 读为 0 后才是 32 MHz 晶振。"},
    {"FREQ is the system clock selected: the 13 MHz RC oscillator from "
     "reset; the 26 MHz crystal once CLKCON.OSC is cleared.",
     "FREQ 是所选的系统时钟：复位后为 13 MHz RC 振荡器；清除 CLKCON.OSC\n"
     "后才是 26 MHz 晶振。"},
    {"8 bits, no parity, 1 stop", "8 位，无校验，1 位停止位"},
    {"BAUD_E, LSB first", "BAUD_E，低位先发"},
    {"the S0REL baud-rate generator", "S0REL 波特率发生器"},
    {"Timer 3, the fractional divider", "定时器 3，小数分频器"},
    {"T3BAUDEN, DIV: the UART on Timer 3", "T3BAUDEN、DIV：串口用定时器 3"},
    {"Atmel AT89C51RD2/ED2-style parts: CKCON0 bit 0 (X2) runs the core at "
     "6 clocks per machine cycle, and the peripherals whose own CKCON0 bits "
     "stay 0 with it. NXP P89C51RD2/P89V51RD2-style parts choose 6 clocks by "
     "a programming option, set when the chip is programmed: leave CKCON0 out "
     "there.",
     "Atmel AT89C51RD2/ED2 类芯片：CKCON0 第 0 位（X2）使内核每机器周期\n"
     "6 个时钟，自身 CKCON0 位为 0 的外设随之加快。NXP P89C51RD2/P89V51RD2\n"
     "类芯片由编程选项选择 6 个时钟，在烧录芯片时设定：那里不写 CKCON0。"},
    {"STC12/STC15-style single-cycle parts: AUXR bit 6 (T1x12) clocks Timer 1 "
     "at the crystal's rate instead of a twelfth of it.",
     "STC12/STC15 类单周期芯片：AUXR 第 6 位（T1x12）使定时器 1 按晶振频率\n"
     "计数，而不是它的十二分之一。"},
    // The tick timers' records.
    {"mode 0, 13-bit, reloaded by software", "方式 0，13 位，软件重装"},
    {"mode 1, 16-bit, reloaded by software", "方式 1，16 位，软件重装"},
    {"mode 2, 8-bit auto-reload", "方式 2，8 位自动重装"},
    {"16-bit auto-reload", "16 位自动重装"},
    {"Timer 0 in mode 0, Timer 1 kept", "定时器 0 方式 0，定时器 1 不变"},
    {"Timer 0 in mode 1, Timer 1 kept", "定时器 0 方式 1，定时器 1 不变"},
    {"Timer 0 in mode 2, Timer 1 kept", "定时器 0 方式 2，定时器 1 不变"},
    {"Timer 1 in mode 0, Timer 0 kept", "定时器 1 方式 0，定时器 0 不变"},
    {"Timer 1 in mode 1, Timer 0 kept", "定时器 1 方式 1，定时器 0 不变"},
    {"reloaded from here", "重装值"},
    {"modulo mode", "模模式"},
    {"stopped while it is set up", "设置时停止"},
    {"counts 0 ... T1CC0", "从 0 计到 T1CC0"},
    {"counts 0 ... T3CC0", "从 0 计到 T3CC0"},
    {"counts 0 ... T4CC0", "从 0 计到 T4CC0"},
    {"channel 0 compares: one interrupt a period",
     "通道 0 比较：每周期一次中断"},
    {"any write clears the count", "任何写入都清零计数"},
    {"stopped, count cleared, overflow interrupt off",
     "停止，计数清零，关溢出中断"},
    {"modulo mode: counting", "模模式：开始计数"},
    {"FREQ is the timer tick, CLKCONCMD.TICKSPD's division of the system "
     "clock: 16 MHz from reset (TICKSPD 001), on the 16 MHz RC oscillator "
     "and on the 32 MHz crystal alike; 32 MHz once TICKSPD is 000 on the "
     "crystal.",
     "FREQ 是定时器节拍，即 CLKCONCMD.TICKSPD 对系统时钟的分频：复位后为\n"
     "16 MHz（TICKSPD 001），16 MHz RC 振荡器与 32 MHz 晶振都一样；在晶振上\n"
     "TICKSPD 为 000 后才是 32 MHz。"},
    {"FREQ is the timer tick, CLKCON.TICKSPD's division of the system clock: "
     "13 MHz from reset, on the RC oscillator; on the 26 MHz crystal, the "
     "division TICKSPD holds.",
     "FREQ 是定时器节拍，即 CLKCON.TICKSPD 对系统时钟的分频：复位后在 RC\n"
     "振荡器上为 13 MHz；在 26 MHz 晶振上，按 TICKSPD 所存的分频。"},
    {"the first tick as long as the rest", "第一个节拍与其余一样长"},
    {"16-bit auto-reload, stopped", "16 位自动重装，停止"},
    {"mode 0, 16-bit auto-reload", "方式 0，16 位自动重装"},
    {"mode 1, 16-bit auto-reload", "方式 1，16 位自动重装"},
    {"T2x12, a timer, stopped", "T2x12，定时方式，停止"},
    {"T3x12, a timer, stopped", "T3x12，定时方式，停止"},
    {"T4x12, a timer, stopped", "T4x12，定时方式，停止"},
    {"LDEN, CAPCR, T2DIV: reloaded on overflow",
     "LDEN、CAPCR、T2DIV：溢出时重装"},
    {"T3PS; TF3, TR3 clear: stopped", "T3PS；TF3、TR3 清零：停止"},
    {"T0M, SCA (shared)", "T0M、SCA（共用）"},
    {"T1M, SCA (shared)", "T1M、SCA（共用）"},
    {"bT0_CLK, bTMR_CLK (shared)", "bT0_CLK、bTMR_CLK（共用）"},
    {"bT1_CLK, bTMR_CLK (shared)", "bT1_CLK、bTMR_CLK（共用）"},
    {"bT2_CLK, bTMR_CLK (shared)", "bT2_CLK、bTMR_CLK（共用）"},
    // The cores a default setting may need.
    {"the classic 8051 core, 12 clocks per machine cycle",
     "经典 8051 内核，每机器周期 12 个时钟"},
    {"an X2 core, 6 clocks per machine cycle", "X2 内核，每机器周期 6 个时钟"},
    {"a single-cycle core (STC12/STC15-style, AUXR's T0x12 and T1x12)",
     "单周期内核（STC12/STC15 类，AUXR 的 T0x12、T1x12）"},
    // The cores a delay is written for, and where their cycles come from.
    {"classic 8051, 12 clocks per machine cycle",
     "经典 8051，每机器周期 12 个时钟"},
    {"X2 core, 6 clocks per machine cycle", "X2 内核，每机器周期 6 个时钟"},
    {"Atmel, 8051 Microcontroller Instruction Set (document 0509), the "
     "instruction tables' oscillator periods, 12 a machine cycle",
     "Atmel《8051 Microcontroller Instruction Set》（文档 0509），指令表的振荡"
     "周期数，每机器周期 12 个"},
    {"Atmel, 8051 Microcontroller Instruction Set (document 0509), machine "
     "cycles; Atmel AT89C51RD2/ED2 datasheet, X2 feature: 6 clocks a machine "
     "cycle",
     "Atmel《8051 Microcontroller Instruction Set》（文档 0509），机器周期数；"
     "Atmel AT89C51RD2/ED2 数据手册，X2 特性：每机器周期 6 个时钟"},
};

}  // namespace

std::optional<std::string_view> ChineseOf(std::string_view english) {
  const auto* found =
      std::find_if(std::begin(kCodeWords), std::end(kCodeWords),
                   [&](const Words& words) { return words.en == english; });
  if (found == std::end(kCodeWords)) return std::nullopt;
  return found->zh;
}

std::string_view InLanguage(std::string_view english, Tongue language) {
  return Words{english, ChineseOf(english).value_or(english)}.In(language);
}

bool HasWords(std::string_view comment) {
  int run = 0;
  for (const char c : comment) {
    run = c >= 'a' && c <= 'z' ? run + 1 : 0;
    if (run >= 2) return true;
  }
  return false;
}

}  // namespace mcs51
