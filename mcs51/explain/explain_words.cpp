#include "mcs51/explain/explain_words.h"

#include <array>

#include "mcs51/explain/explain_registers.h"
#include "mcs51/explain/explain_state.h"
#include "mcs51/hardware/catalogue.h"
#include "mcs51/settings/text.h"
#include "mcs51/settings/tick_text.h"

namespace mcs51 {
namespace {

using explain::FamilySetting;

constexpr Words kSentences[] = {
    {"Timer {0} is set up but never started: add {1} after this line",
     "定时器 {0} 已设置但从未启动：在这一行后加上 {1}"},
    {"{0} = 0x{1:02X} sets Timer {2}'s mode back to 0, which line {3} set: "
     "keep its bits with {0} = ({0} & 0x{4:02X}) | 0x{1:02X};",
     "{0} = 0x{1:02X} 把第 {3} 行设好的定时器 {2} 的方式清回 0：保留它的位，"
     "写成 {0} = ({0} & 0x{4:02X}) | 0x{1:02X};"},
    {"the receiver is off ({0} bit 0x{1:02X} clear): the UART sends but never "
     "receives; set it: {0} |= 0x{1:02X};",
     "接收未开（{0} 的位 0x{1:02X} 为 0）：串口只发不收；把它置 1：{0} |= "
     "0x{1:02X};"},
    {"Timer {0} in mode {1} is reloaded with constants in its handler: every "
     "period grows by the cycles from the overflow to this line, at least {2} "
     "machine cycles and more for each instruction before it; add the reload "
     "to the count instead, as the tick code written here does, or use an "
     "auto-reload mode",
     "方式 {1} 的定时器 {0} 在中断服务程序里用常数重装：每个周期都多出从溢出"
     "到这一行的周期，至少 {2} 个机器周期，之前每多一条指令还要更多；改为把"
     "重装值加到计数上（这里写出的定时代码就这样写），或用自动重装方式"},
    {"the UART's Timer {0} is in mode {1}, which does not reload: its rate "
     "drifts; use a mode that reloads, as {2} does",
     "串口用的定时器 {0} 处于方式 {1}，不会自动重装：波特率会漂移；请用能自动"
     "重装的方式，如 {2}"},
    {"{0} is no register of the {1}: the code is probably for another family",
     "{1} 没有寄存器 {0}：这段代码多半是为别的系列写的"},
    {"{0} is no register of the {1}; {2} has it: the code is probably for "
     "that family, so choose chip {3}",
     "{1} 没有寄存器 {0}；{2} 有：这段代码多半是为那个系列写的，请选芯片 {3}"},
    {"{0} is no register of the {1}; {2} have it: the code is probably for "
     "one of them, such as chip {3}",
     "{1} 没有寄存器 {0}；{2} 有：这段代码多半是为其中一个系列写的，例如芯片 "
     "{3}"},
    {"{0:.2f} baud is {1} from {2}, the nearest standard rate, beyond the "
     "tolerance of {3} %; the settings for {2} baud at {4} MHz give a reload "
     "that makes it",
     "{0:.2f} 波特与最近的标准波特率 {2} 相差 {1}，超出容差 {3} %；"
     "{4} MHz、{2} 波特的设置给出能得到它的重装值"},
    {"mode 2 runs at FREQ/{0}: {1:.2f} baud is {2} from {3}, the nearest "
     "standard rate, beyond the tolerance of {4} %; only another clock moves "
     "it, or modes 1 and 3, whose rate a timer sets",
     "方式 2 以 FREQ/{0} 运行：{1:.2f} 波特与最近的标准波特率 {3} 相差 {2}，"
     "超出容差 {4} %；只有换晶振才能改变它，或改用由定时器决定波特率的方式 1 "
     "和方式 3"},
    {"this condition depends on {0}, which the code defines nowhere: the build "
     "may define it, so none of the code it guards was read; add #define {0} "
     "as the build has it",
     "这个条件取决于 {0}，而代码里没有定义它：可能由编译设置定义，所以它所管的"
     "代码都没有读；请按编译设置加上 #define {0}"},
    {"no compiler can work this condition out: none of the code it guards was "
     "read",
     "编译器无法算出这个条件：它所管的代码都没有读"},
    {"this sets {0}, Timer {1}'s overflow flag, not its run bit, so Timer {1} "
     "never runs: write {2}",
     "这里置位的是 {0}，即定时器 {1} 的溢出标志，而不是运行位，所以定时器 {1} "
     "从不运行：请写 {2}"},
    {"{0} gets {1}, whose value the code does not give, so nothing that "
     "depends on {0} is worked out: give {1} a constant value",
     "{0} 取 {1} 的值，而代码没有给出它，所以依赖 {0} 的都没有算出：请给 {1} "
     "一个常数值"},
    {"{0} gets a value known only when the code runs, so nothing that "
     "depends on {0} is worked out",
     "{0} 取的值只有运行时才知道，所以依赖 {0} 的都没有算出"},
    {"{0} gets {1}, which is no number Keil C51 or SDCC reads, so nothing "
     "that depends on {0} is worked out: write it without separators, as "
     "0x08 or 0b00001000",
     "{0} 取 {1}，而 Keil C51 和 SDCC 都不认这个数，所以依赖 {0} 的都没有算出："
     "请去掉分隔符，写成 0x08 或 0b00001000"},
    {"Timer {0} is set up for {1} baud, but {2} is never written, so the "
     "serial port stays in mode 0, a shift register the timer does not "
     "clock: add {2} = 0x{3:02X};",
     "定时器 {0} 按 {1} 波特设置好了，但从未写 {2}，串口停在方式 0，即定时器"
     "不驱动的移位寄存器：加上 {2} = 0x{3:02X};"},
    {"Timer {0} is set up for {1} baud, but {2} leaves the serial port in "
     "mode 0, a shift register the timer does not clock: write {2} = "
     "0x{3:02X};",
     "定时器 {0} 按 {1} 波特设置好了，但 {2} 让串口处于方式 0，即定时器不驱动"
     "的移位寄存器：写成 {2} = 0x{3:02X};"},
    {"Timer {0} runs in an auto-reload mode with its interrupt off, as a baud "
     "generator would, but only Timer {2} can clock {1}, and none is set up: "
     "set that up instead",
     "定时器 {0} 以自动重装方式运行且不开中断，像是波特率发生器，但只有定时器 "
     "{2} 能驱动 {1}，而它没有设置：请改为设置它"},
    {"Timer {0}'s interrupt is on in mode {1}, which does not reload, but the "
     "code has no handler for interrupt {2} (vector 0x{3:04X}): the overflow "
     "jumps to whatever is there; add the handler, and reload the count in it",
     "定时器 {0} 的中断已开，方式 {1} 不会自动重装，但代码里没有中断 {2}（向量 "
     "0x{3:04X}）的服务程序：溢出会跳到那里的任何代码；请加上服务程序，并在里面"
     "重装计数"},
    {"the comment says {0} baud, but the values give {1:.2f} baud at {2} MHz, "
     "{3} off: mend the reload or the comment",
     "注释说 {0} 波特，但这些值在 {2} MHz 下得到 {1:.2f} 波特，相差 {3}：请改正"
     "重装值或注释"},
    {"the comment says {0}, but the values give {1} per overflow at {2} MHz, "
     "{3} off: mend the reload or the comment",
     "注释说 {0}，但这些值在 {2} MHz 下每 {1} 溢出一次，相差 {3}：请改正重装值"
     "或注释"},
    {"{0} is {1} MHz here, but the crystal given is {2} MHz: what the code "
     "works out from {0} is for another board; mend {0} or the crystal",
     "{0} 在这里是 {1} MHz，但给定的晶振是 {2} MHz：代码由 {0} 算出的值是给另"
     "一块板子的；请改正 {0} 或晶振"},
    {"the comment says {0} MHz, but the crystal given is {1} MHz: the values "
     "beside it were worked out for another board",
     "注释说 {0} MHz，但给定的晶振是 {1} MHz：旁边的值是给另一块板子算的"},
};

struct KindRow {
  FindingKind kind;
  std::string_view key;
  Words about;
};
// In FindingKind's order.
constexpr KindRow kKinds[] = {
    {FindingKind::kNotStarted,
     "not-started",
     {"a baud or tick timer whose run bit is never set",
      "波特率或节拍定时器的运行位从未置位"}},
    {FindingKind::kTmodOverwrites,
     "tmod-overwrites",
     {"a plain TMOD = undoing the other timer's mode",
      "直接 TMOD = 清掉了另一个定时器的方式"}},
    {FindingKind::kReceiverOff,
     "receiver-off",
     {"a UART in a timer-driven mode with its receiver off",
      "串口处于定时器驱动方式，接收却未开"}},
    {FindingKind::kReloadInHandler,
     "reload-in-handler",
     {"a timer reloaded by its handler, whose period drifts",
      "在中断服务程序里重装的定时器，周期会漂移"}},
    {FindingKind::kNotAutoReload,
     "not-auto-reload",
     {"a baud timer in a mode that does not reload",
      "波特率定时器所处的方式不会自动重装"}},
    {FindingKind::kUnknownRegister,
     "unknown-register",
     {"a register the family does not have", "该系列没有的寄存器"}},
    {FindingKind::kNoStandardRate,
     "no-standard-rate",
     {"a rate beyond the tolerance of every standard one",
      "波特率与每个标准波特率的误差都超出容差"}},
    {FindingKind::kUnresolved,
     "unresolved",
     {"code whose reading waits on what the files do not say",
      "代码的读法取决于文件里没有给出的东西"}},
    {FindingKind::kWrongBit,
     "wrong-bit",
     {"a timer's overflow flag set for its run bit",
      "把定时器的溢出标志当成了运行位"}},
    {FindingKind::kUartNotSetUp,
     "uart-not-set-up",
     {"a baud timer for a port that is not set up, or cannot be clocked by it",
      "为串口准备的定时器，串口却没有设置好，或不能由它提供时钟"}},
    {FindingKind::kNoHandler,
     "no-handler",
     {"a timer interrupt with no handler in the code",
      "定时器中断已开，代码里却没有服务程序"}},
    {FindingKind::kCommentSays,
     "comment-says",
     {"a comment's rate or period the values do not give",
      "注释里的波特率或周期与这些值不符"}},
    {FindingKind::kCrystalDiffers,
     "crystal-differs",
     {"the code's own clock constant or comment differs from the crystal",
      "代码自己的时钟常量或注释与给定的晶振不同"}},
};
constexpr auto kKindList = [] {
  std::array<FindingKind, std::size(kKinds)> kinds{};
  for (std::size_t i = 0; i < kinds.size(); ++i) kinds[i] = kKinds[i].kind;
  return kinds;
}();

constexpr ExplainReportWords kReport{
    .heading = {"{0} MHz, {1}, chip {2}; tolerance {3} %",
                "{0} MHz，{1}，芯片 {2}；容差 {3} %"},
    .serial = {"Serial", "串口"},
    .serial_none = {"none in a timer-driven mode", "没有处于定时器驱动方式的"},
    .timers = {"Timers", "定时器"},
    .timers_none = {"none running or interrupting", "没有在运行或开中断的"},
    .findings = {"Findings", "发现的问题"},
    .findings_none = {"none", "无"},
    .line = {"line {}", "第 {} 行"},
    .notes = {"Notes", "说明"},
    .named_by = {"chip {0}, as #include \"{1}\" on line {2} names it",
                 "芯片 {0}：第 {2} 行的 #include \"{1}\" 指明"},
    .assumed = {"{0} is defined nowhere: taken as {1}, the crystal given",
                "{0} 没有定义：按给定的晶振取 {1}"},
    .missing = {"#include \"{0}\" not found: what depends on it is unresolved",
                "#include \"{0}\" 没有找到：依赖它的都无法确定"},
    .note = {"note: {}", "说明：{}"},
};

constexpr ImageReportWords kImage{
    .simulated = {"run from reset on s51 as {0} for {1}",
                  "在 s51 上按 {0} 从复位运行 {1}"},
    .simulated_other =
        {"s51 has no model of this family: run as {0}, its registers read "
         "where they are; no timing measured",
         "s51 没有这一系列的模型：按 {0} 运行，寄存器照原地址读取；不测时间"},
    .stopped = {"the program stopped at 0x{0:04X}: {1}",
                "程序停在 0x{0:04X}：{1}"},
    .address = {"0x{:04X}", "0x{:04X}"},
    .no_listing = {"no listing beside the image (SDCC's .rst, or .cdb from "
                   "--debug): the findings give code addresses",
                   "映像旁没有列表文件（SDCC 的 .rst，或 --debug 的 .cdb）："
                   "问题只给出代码地址"},
    .measured = {"measured on s51: {0} between the handler's entries, {1} "
                 "from the reload's {2}",
                 "s51 实测：两次进入中断服务之间 {0}，与重装值的 {2} 相差 {1}"},
};

// The pieces of the two lines.
constexpr Words kClock{"{} clock per count", "每计数 {} 个时钟"};
constexpr Words kClocks{"{} clocks per count", "每计数 {} 个时钟"};
constexpr Words kSmod{", SMOD {}", "，SMOD {}"};
constexpr Words kReload{", reload {}", "，重装值 {}"};
constexpr Words kStep{", step {}", "，步进 {}"};
constexpr Words kRate{": {0:.2f} baud, {1} from {2}; {3}",
                      "：{0:.2f} 波特，与 {2} 相差 {1}；{3}"};
constexpr Words kFixedMode{"mode {}, fixed rate", "模式 {}，固定波特率"};
constexpr Words kFixedSmod{" (SMOD {})", "（SMOD {}）"};
constexpr Words kReceiverOn{"receiver on", "接收已开"};
constexpr Words kReceiverOff{"receiver off", "接收未开"};
constexpr Words kNoGenerator{"timer-driven mode, no generator set up; {}",
                             "定时器驱动的方式，却没有设置波特率发生器；{}"};
constexpr Words kRunning{"running", "在运行"};
constexpr Words kStopped{"not running", "未运行"};
constexpr Words kOneShot{"started and stopped again (one-shot)",
                         "启动后又停止（单次）"};
constexpr Words kFirst{", the first after {}", "，第一次在 {} 后"};
constexpr Words kInterrupt{"interrupt on", "开中断"};
constexpr Words kNoInterrupt{"no interrupt", "不用中断"};
constexpr Words kState{"; {}, {}", "；{}，{}"};
constexpr Words kWaits{"; reload unresolved: no rate worked out; {}",
                       "；重装值未定：没有算出波特率；{}"};
constexpr Words kWaitingGenerator{
    "timer-driven mode, its generator unresolved; {}",
    "定时器驱动的方式，波特率发生器未定；{}"};
constexpr Words kWaitingMode{"mode unresolved{}", "方式未定{}"};
constexpr Words kWaitingPeriod{"mode {0}, {1}, reload unresolved{2}; {3}",
                               "方式 {0}，{1}，重装值未定{2}；{3}"};
constexpr Words kNoMode{"a mode none of the family's records has{}",
                        "系列的记录里没有的方式{}"};
constexpr Words kMode{"mode {0}, {1}, reload {2}: {3} per overflow{4}; {5}",
                      "方式 {0}，{1}，重装值 {2}：每 {3} 溢出一次{4}；{5}"};

Words ReloadedByWords(ReloadedBy by) {
  switch (by) {
    case ReloadedBy::kHardware:
      return {"reloaded by hardware", "硬件重装"};
    case ReloadedBy::kHandler:
      return {"reloaded by handler", "中断程序重装"};
    case ReloadedBy::kNone:
      break;
  }
  return {"reloaded by none", "不重装"};
}

std::string_view Of(const Words& words, Tongue tongue) {
  return words.In(tongue);
}

template <typename... Args>
std::string Fill(const Words& words, Tongue tongue, const Args&... args) {
  return fmt::format(fmt::runtime(words.In(tongue)), args...);
}

std::string ClocksText(int clocks, Tongue tongue) {
  return Fill(clocks == 1 ? kClock : kClocks, tongue, clocks);
}

}  // namespace

std::string_view FindingKey(FindingKind kind) {
  return kKinds[static_cast<std::size_t>(kind)].key;
}

std::span<const FindingKind> FindingKinds() { return kKindList; }

Words KindWords(FindingKind kind) {
  return kKinds[static_cast<std::size_t>(kind)].about;
}

Words SentenceWords(FindingSentence sentence) {
  return kSentences[static_cast<std::size_t>(sentence)];
}

Said LabelOf(const FamilySetting& setting) {
  if (setting.baud == nullptr) return {setting.label, setting.label};
  const BaudMode& g = *setting.baud->generator;
  return {setting.label,
          fmt::format("{}: {}", g.key, g.text.In(Tongue::kChinese))};
}

Words ProblemWords(CodeProblem problem) {
  switch (problem) {
    case CodeProblem::kEmpty:
      return {"empty: no code to read", "空的：没有代码可读"};
    case CodeProblem::kTooLarge:
      return {"more than 1 MiB: not init code", "超过 1 MiB：不是初始化代码"};
    case CodeProblem::kProgramTooLarge:
      return {
          "the headers it includes pass 16 MiB: a header including "
          "itself with no guard?",
          "所包含的头文件超过 16 MiB：头文件没有防护地包含了自身？"};
    case CodeProblem::kBinary:
      return {"binary data, not C or assembly", "二进制数据，不是 C 或汇编"};
    case CodeProblem::kImage:
      return {
          "a built image (Intel HEX), not C or assembly: baud51-cli "
          "explain runs it on SDCC's simulator",
          "编译后的映像（Intel HEX），不是 C 或汇编：用 baud51-cli "
          "explain 在 SDCC 的模拟器上运行它"};
    case CodeProblem::kNoWrites:
    case CodeProblem::kNone:
      break;
  }
  return {
      "no register write of the {} read: not 8051 init code in C or "
      "assembly",
      "没有读出 {} 的寄存器写入：不是 C 或汇编写的 8051 初始化代码"};
}

const ExplainReportWords& ReportWords() { return kReport; }

const ImageReportWords& ImageWords() { return kImage; }

Said MeasuredText(const TimerUse& use) {
  if (use.measured_period_s <= 0.0) return {};
  return Say(
      kImage.measured, PeriodText(use.measured_period_s),
      PercentText(explain::PercentOff(use.measured_period_s, use.period_s)),
      PeriodText(use.period_s));
}

UseText SerialText(const SerialUse& use, Tongue tongue) {
  const FamilySetting* s = use.setting;
  const std::string_view receiver =
      Of(use.receives ? kReceiverOn : kReceiverOff, tongue);
  const std::string rate =
      Fill(kRate, tongue, use.actual_baud, PercentText(use.error_percent),
           ShortestText(use.nearest_baud), receiver);
  if (use.fixed_mode >= 0) {
    std::string detail = fmt::format("FREQ/{}", use.fixed_divisor);
    if (use.fixed_smod >= 0) detail += Fill(kFixedSmod, tongue, use.fixed_smod);
    return {use.uart, Fill(kFixedMode, tongue, use.fixed_mode), detail + rate};
  }
  if (s == nullptr) {
    return {use.uart,
            Fill(use.unresolved ? kWaitingGenerator : kNoGenerator, tongue,
                 receiver),
            ""};
  }
  std::string detail = ClocksText(s->clocks, tongue);
  if (s->smod >= 0) detail += Fill(kSmod, tongue, s->smod);
  if (use.unresolved) {
    return {use.uart, std::string(LabelOf(*s).In(tongue)),
            detail + Fill(kWaits, tongue, receiver)};
  }
  detail += Fill(kReload, tongue, ReloadHex(use.reload, s->modulus));
  if (use.step >= 0) detail += Fill(kStep, tongue, use.step);
  return {use.uart, std::string(LabelOf(*s).In(tongue)), detail + rate};
}

UseText TimerText(const TimerUse& use, Tongue tongue) {
  const FamilySetting* s = use.setting;
  const Words& running = use.running    ? kRunning
                         : use.one_shot ? kOneShot
                                        : kStopped;
  std::string state =
      Fill(kState, tongue, Of(running, tongue),
           Of(use.interrupt ? kInterrupt : kNoInterrupt, tongue));
  if (s == nullptr) {
    return {use.timer,
            Fill(use.unresolved ? kWaitingMode : kNoMode, tongue, state), ""};
  }
  if (use.unresolved) {
    return {use.timer,
            Fill(kWaitingPeriod, tongue, s->mode, ClocksText(s->clocks, tongue),
                 state, Of(ReloadedByWords(use.reloaded_by), tongue)),
            ""};
  }
  if (use.first_period_s > 0.0) {
    state = Fill(kFirst, tongue, PeriodText(use.first_period_s)) + state;
  }
  return {use.timer,
          Fill(kMode, tongue, s->mode, ClocksText(s->clocks, tongue),
               ReloadHex(use.reload, s->modulus), PeriodText(use.period_s),
               state, Of(ReloadedByWords(use.reloaded_by), tongue)),
          ""};
}

}  // namespace mcs51
