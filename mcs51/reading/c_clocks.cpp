// The code's own clock constants: the names firmware gives its crystal,
// and the value one stands for.
#include <algorithm>
#include <cctype>

#include "calc/conversions.h"
#include "mcs51/reading/code_value.h"

namespace mcs51::reading {
namespace {

// The names code gives its clock, in upper case (MAIN_Fosc is STC's), and
// the unit a value in them is in: Hz, unless the name says MHz or kHz or
// the value is a small one (12, 11.0592), which is MHz.
constexpr ClockName kClockNames[] = {
    {"FOSC"},          {"F_OSC"},    {"FOSC_HZ", 1},   {"FOSC_KHZ", 1e3},
    {"FOSC_MHZ", 1e6}, {"XTAL"},     {"XTAL_FREQ"},    {"XTAL_HZ", 1},
    {"XTAL_MHZ", 1e6}, {"CRYSTAL"},  {"CRYSTAL_FREQ"}, {"FREQ_SYS"},
    {"FSYS"},          {"F_SYS"},    {"SYSCLK"},       {"SYS_CLK"},
    {"SYSCLK_HZ", 1},  {"SYS_FREQ"}, {"F_CPU"},        {"FCPU"},
    {"CPU_FREQ"},      {"CPU_CLK"},  {"MAIN_FOSC"},    {"OSC_FREQ"},
    {"FREQ_OSC"},      {"FCLK"},     {"F_CLK"},        {"CLOCK_FREQ"}};

}  // namespace

// Asked of every name the code uses that is no macro: cheap tests first.
const ClockName* FindClock(std::string_view name) {
  if (name.size() < 4 || name.size() > 12 ||
      std::string_view("CFMOSXcfmosx").find(name[0]) ==
          std::string_view::npos) {
    return nullptr;
  }
  for (const ClockName& c : kClockNames) {
    if (c.name.size() == name.size() &&
        std::equal(name.begin(), name.end(), c.name.begin(),
                   [](char a, char b) {
                     return std::toupper(static_cast<unsigned char>(a)) == b;
                   })) {
      return &c;
    }
  }
  return nullptr;
}

double ClockHz(const ClockName& clock, double value) {
  if (!(value > 0)) return 0.0;
  if (clock.unit > 0) return value * clock.unit;
  if (value >= 1e5) return value;
  return value < 100 ? value * 1e6 : 0.0;
}

double ClockValue(std::span<const Token> t) {
  while (t.size() > 2 && Is(t.front(), "(") && Is(t.back(), ")")) {
    t = t.subspan(1, t.size() - 2);
  }
  if (t.size() == 1 && t[0].kind == TokenKind::kOther && !t[0].text.empty() &&
      std::isdigit(static_cast<unsigned char>(t[0].text[0]))) {
    return calc::ReadNumber(t[0].text);
  }
  const Value v = Evaluate(
      t, Dialect::kC, [](const void*, std::string_view) { return Unknown(); },
      nullptr);
  return v.kind == Value::Kind::kConstant
             ? static_cast<double>(v.constant.value)
             : 0.0;
}

}  // namespace mcs51::reading
