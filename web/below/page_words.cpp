#include "web/below/page_words.h"

#include <fmt/format.h>

#include "mcs51/settings/text.h"
#include "web/below/typed.h"

namespace web {
namespace {

constexpr ElementWord kChineseElements[] = {
    {"below-title", "全部设置"},
    {"lang-label", "语言"},
    {"chip-label", "芯片系列"},
    {"peer-label", "对端（PC 的 USB 串口）"},
    {"tolerance-label", "容差 (%)"},
    {"copy-link", "复制链接"},
    {"working-title", "选用设置的算法"},
    {"window-note",
     "窗口里的误差（如“ 7.8”）量的是另一回事：理想除数截成整数时丢掉的"
     "部分，再截成四个字符；这里的误差是舍入后的重装值实际给出的波特率"
     "与所要波特率之差。"},
    {"code-title", "选用设置的初始化代码"},
    {"code-lang-label", "代码"},
    {"code-asm", "汇编 (sdas8051)"},
    {"copy", "复制波特率代码"},
    {"rates-title", "标准波特率"},
    {"crystals-title", "选晶振"},
    {"crystal-rates-label", "波特率（以空格或逗号分开）"},
    {"crystals-go", "选晶振"},
    {"said-copied", "已复制"},
    {"ticks-title", "定时器"},
    {"period-label", "周期"},
    {"tick-code-title", "选用定时器的代码"},
    {"tick-copy", "复制定时代码"},
    {"delay-title", "延时"},
    {"delay-label", "时间"},
    {"delay-copy", "复制延时代码"},
    {"said-link-copied", "链接已复制"},
    {"read-title", "读代码"},
    {"read-label", "粘贴 C 或汇编的初始化代码（按上面的晶振和芯片系列读）"},
};

constexpr ElementWord kEnglishElements[] = {
    {"below-title", "Every setting"},
    {"lang-label", "Language"},
    {"chip-label", "Chip family"},
    {"peer-label", "Other end (the PC's USB-UART)"},
    {"tolerance-label", "Tolerance (%)"},
    {"copy-link", "Copy link"},
    {"working-title", "How the chosen setting is worked out"},
    {"window-note",
     "The window's error (\" 7.8\") measures something else: the part of the "
     "ideal divisor that cutting it to a whole number drops, cut to four "
     "characters; the error here is how far the rate the rounded reload "
     "really gives is from the rate asked for."},
    {"code-title", "Init code for the chosen setting"},
    {"code-lang-label", "Code"},
    {"code-asm", "Assembly (sdas8051)"},
    {"copy", "Copy the baud code"},
    {"rates-title", "Standard rates"},
    {"crystals-title", "Choose a crystal"},
    {"crystal-rates-label", "Baud rates (separated by spaces or commas)"},
    {"crystals-go", "Choose"},
    {"said-copied", "Copied"},
    {"ticks-title", "Timers"},
    {"period-label", "Period"},
    {"tick-code-title", "Code for the best timer"},
    {"tick-copy", "Copy the tick code"},
    {"delay-title", "Delay"},
    {"delay-label", "Time"},
    {"delay-copy", "Copy the delay code"},
    {"said-link-copied", "Link copied"},
    {"read-title", "Read code"},
    {"read-label",
     "Paste init code in C or assembly (read at the crystal and for the chip "
     "family above)"},
};

constexpr PageWords kChinese{
    .tag = "zh-CN",
    .elements = kChineseElements,
    .choose = "选用",
    .caption = "{} MHz，{} 波特；容差 {} %，最好的在前",
    .row = "选用 {}",
    .classic = "通用 8051 设置（不限芯片）",
    .all = "全部芯片系列",
    .family_separator = "：",
    .refused_out_of_range = "重装值超出范围：这个设置得不到这个波特率。",
    .refused_beyond = "误差 {} 超出 {} % 的容差：页面不为它写代码。",
    .frequency = "晶振频率",
    .baud = "波特率",
    .tolerance = "容差",
    .rates = "选晶振的波特率",
    .unread = "{0}：读不出“{1}”（{2}）。{3}",
    .write = "请写 {}。",
    .frequency_example = "一个以 MHz 计的数，如 11.0592 或 11059200Hz",
    .baud_example = "一个数，如 9600 或 115.2k",
    .tolerance_example = "一个不小于零的数，如 2",
    .actual_label = "实际波特率",
    .error_label = "误差",
    .rate = "波特率",
    .best = "最好的设置",
    .none = "无一可达",
    .rank = "名次",
    .mhz = "MHz",
    .worst = "最大误差",
    .rates_caption = "{} MHz；容差 {} %，每个波特率最好的设置",
    .crystals_caption =
        "{} 波特；容差 {} %，按各波特率最好设置中最大的误差排列",
    .clock_mode = "每机器周期 {} 个时钟",
    .period = "周期",
    .period_example = "一个带单位的周期，如 1ms、250us 或 50Hz",
    .ticks_caption = "{0} MHz，周期 {1}，容差 {2} %",
    .tick_refused = "没有定时器在容差内得到这个周期：页面不为它写代码。",
    .tick_row_refused = "这个定时器在容差内得不到这个周期：页面不为它写代码。",
    .delay_time = "时间",
    .delay_example = "一个带单位的时间，如 1ms、250us 或 2.5ms",
    .delay_refused = "页面不为它写代码：{}",
    .delay_one_family = "各系列的内核不同：延时要选定一个系列。",
    .delay_by_cycles = "方法：按内核的指令时序，恰到周期。",
    .delay_by_timer = "方法：由定时器 {0} 定时；计数之外的指令至多多出 {1}。",
    .no_peer = "不看对端",
    .exact_peer = "理想的对端",
    .peer_baud = "对端实际波特率",
    .peer_caption = "；对端 {0}，8N1，两端时钟各差至多 {2} ppm",
    .writer = "baud51 网页 {}",
    .read_problem = "粘贴的内容：{}。",
    .read_no_crystal = "上面窗口的晶振读不出：代码要按晶振来读。",
    .read_separator = "：",
};

constexpr PageWords kEnglish{
    .tag = "en",
    .elements = kEnglishElements,
    .choose = "Use",
    .caption = "{} MHz, {} baud; tolerance {} %, best first",
    .row = "Use {}",
    .classic = "Classic 8051 settings (any chip)",
    .all = "Every chip family",
    .family_separator = ": ",
    .refused_out_of_range =
        "Reload out of range: this setting cannot reach this rate.",
    .refused_beyond =
        "The error {} is beyond the {} % tolerance: the page writes no code "
        "for it.",
    .frequency = "Crystal frequency",
    .baud = "Baud rate",
    .tolerance = "Tolerance",
    .rates = "Rates for the crystal",
    .unread = "{0}: could not read “{1}” ({2}). {3}",
    .write = "Write {}.",
    .frequency_example = "a number of MHz such as 11.0592 or 11059200Hz",
    .baud_example = "a number such as 9600 or 115.2k",
    .tolerance_example = "a number of zero or more such as 2",
    .actual_label = "Actual rate",
    .error_label = "Error",
    .rate = "baud",
    .best = "best setting",
    .none = "none in range",
    .rank = "rank",
    .mhz = "MHz",
    .worst = "worst",
    .rates_caption = "{} MHz; tolerance {} %, the best setting per rate",
    .crystals_caption =
        "{} baud; tolerance {} %, ranked by the worst error "
        "of each rate's best setting",
    .clock_mode = "{} clocks per machine cycle",
    .period = "Period",
    .period_example = "a period with its unit such as 1ms, 250us or 50Hz",
    .ticks_caption = "{0} MHz, period {1}, tolerance {2} %",
    .tick_refused =
        "No timer reaches this period within the tolerance: the page writes "
        "no code for it.",
    .tick_row_refused =
        "This timer does not reach this period within the tolerance: the "
        "page writes no code for it.",
    .delay_time = "Time",
    .delay_example = "a time with its unit such as 1ms, 250us or 2.5ms",
    .delay_refused = "The page writes no code for it: {}",
    .delay_one_family =
        "Each family has a core of its own: a delay needs one family chosen.",
    .delay_by_cycles =
        "Method: exact to the cycle, on the core's instruction timing.",
    .delay_by_timer =
        "Method: paced by Timer {0}; the instructions around its counts add "
        "at most {1}.",
    .no_peer = "not judged",
    .exact_peer = "an ideal peer",
    .peer_baud = "peer's baud",
    .peer_caption =
        "; other end {0} ({1}), 8N1, each clock off by up to {2} ppm",
    .writer = "the baud51 page {}",
    .read_problem = "The paste: {}.",
    .read_no_crystal =
        "The window's crystal does not read: the code is read at it.",
    .read_separator = ": ",
};

}  // namespace

std::string_view TongueKey(Tongue language) {
  return language == Tongue::kEnglish ? "en" : "zh";
}

const PageWords& WordsOf(Tongue language) {
  return language == Tongue::kEnglish ? kEnglish : kChinese;
}

std::string_view Heading(std::string_view key, Tongue tongue) {
  for (const auto& column : mcs51::SettingColumns()) {
    if (column.key == key) return column.header.In(tongue);
  }
  for (const auto& column : mcs51::TickColumns()) {
    if (column.key == key) return column.header.In(tongue);
  }
  return key;
}

std::string Unread(std::string_view field, std::string_view text,
                   calc::ReadProblem problem, std::string_view example,
                   calc::Reading (*read)(std::string_view), Tongue language) {
  const PageWords& w = WordsOf(language);
  const std::string cleaned = Suggested(text);
  const std::string advice =
      fmt::format(fmt::runtime(w.write),
                  read(cleaned).value ? std::string_view(cleaned) : example);
  return fmt::format(fmt::runtime(w.unread), field, text,
                     mcs51::RowOf(problem).words.In(language), advice);
}

}  // namespace web
