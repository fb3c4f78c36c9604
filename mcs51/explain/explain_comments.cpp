// What comments say of the values beside them.
#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

#include "calc/conversions.h"
#include "mcs51/explain/explain_checks.h"
#include "mcs51/explain/explain_words.h"
#include "mcs51/settings/ranking.h"
#include "mcs51/settings/text.h"
#include "mcs51/settings/tick_text.h"

namespace mcs51::explain {
namespace {

using Unit = Stated::Unit;

struct UnitWord {
  std::string_view word;  // lower case
  Unit unit;
  double scale;
};
constexpr std::array kUnits{
    UnitWord{"bps", Unit::kBaud, 1},
    UnitWord{"baud", Unit::kBaud, 1},
    UnitWord{"bd", Unit::kBaud, 1},
    UnitWord{"b/s", Unit::kBaud, 1},
    UnitWord{"bit/s", Unit::kBaud, 1},
    UnitWord{"kbps", Unit::kBaud, 1e3},
    UnitWord{"波特", Unit::kBaud, 1},
    UnitWord{"mhz", Unit::kMhz, 1},
    UnitWord{"m", Unit::kMhz, 1},
    UnitWord{"khz", Unit::kMhz, 1e-3},
    UnitWord{"ms", Unit::kSeconds, 1e-3},
    UnitWord{"us", Unit::kSeconds, 1e-6},
    UnitWord{"\xC2\xB5s", Unit::kSeconds, 1e-6},
    UnitWord{"毫秒", Unit::kSeconds, 1e-3},
    UnitWord{"微秒", Unit::kSeconds, 1e-6},
};

bool Alnum(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// The unit word at `at`: ASCII letters and '/' up to the next other byte,
// or one of the Chinese words.
const UnitWord* UnitAt(std::string_view text, std::size_t at) {
  std::size_t end = at;
  while (end < text.size() &&
         (std::isalpha(static_cast<unsigned char>(text[end])) ||
          text[end] == '/')) {
    ++end;
  }
  std::string word(text.substr(at, end - at));
  for (char& c : word) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  for (const UnitWord& u : kUnits) {
    const bool ascii = static_cast<unsigned char>(u.word[0]) < 0x80;
    if (ascii ? word == u.word : text.substr(at).starts_with(u.word)) {
      return &u;
    }
  }
  return nullptr;
}

bool IsStandardRate(double value) {
  return value >= 1200 &&
         std::find(kStandardRates.begin(), kStandardRates.end(), value) !=
             kStandardRates.end();
}

// The comments on `line` or ending just above it.
std::vector<const Comment*> Beside(const CodeReading& reading, int line) {
  std::vector<const Comment*> near;
  for (const Comment& c : reading.comments) {
    if (c.first == line || c.last == line - 1) near.push_back(&c);
  }
  return near;
}

// The lines that write a setting's reload, in order.
std::vector<int> ReloadLines(const RegisterState& state,
                             const FamilySetting& s) {
  std::vector<int> lines;
  for (const ReloadPart& p : s.reload) {
    lines.push_back(state.LineOf(p.address, p.mask));
  }
  std::sort(lines.begin(), lines.end());
  lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
  return lines;
}

// The settings the code sets up, read without waiting on anything.
std::vector<const FamilySetting*> SetUp(const Explanation& out) {
  std::vector<const FamilySetting*> set;
  for (const SerialUse& u : out.serial) {
    if (u.setting != nullptr && !u.unresolved) set.push_back(u.setting);
  }
  for (const TimerUse& u : out.timers) {
    if (u.setting != nullptr && !u.unresolved) set.push_back(u.setting);
  }
  return set;
}

bool Differs(double mhz, double frequency_mhz) {
  return std::fabs(mhz - frequency_mhz) > frequency_mhz * 1e-9;
}

}  // namespace

void CrystalDiffers(const RegisterState& state, const CodeReading& reading,
                    double frequency_mhz, Explanation& out) {
  for (const CodeClock& c : reading.clocks) {
    if (!c.assumed && Differs(c.hz / 1e6, frequency_mhz)) {
      out.findings.push_back(Found(FindingKind::kCrystalDiffers, c.line,
                                   FindingSentence::kCrystalConstant, c.name,
                                   ShortestText(c.hz / 1e6),
                                   ShortestText(frequency_mhz)));
    }
  }
  std::vector<const Comment*> said;
  for (const FamilySetting* s : SetUp(out)) {
    for (const int line : ReloadLines(state, *s)) {
      for (const Comment* c : Beside(reading, line)) {
        if (std::find(said.begin(), said.end(), c) != said.end()) continue;
        for (const Stated& n : NumbersStated(c->text)) {
          if (n.unit != Unit::kMhz || n.value <= 0 ||
              !Differs(n.value, frequency_mhz)) {
            continue;
          }
          said.push_back(c);
          out.findings.push_back(Found(FindingKind::kCrystalDiffers, c->first,
                                       FindingSentence::kCrystalComment,
                                       ShortestText(n.value),
                                       ShortestText(frequency_mhz)));
          break;
        }
      }
    }
  }
}

std::vector<Stated> NumbersStated(std::string_view text) {
  std::vector<Stated> said;
  std::size_t at = 0;
  while (at < text.size()) {
    if (!std::isdigit(static_cast<unsigned char>(text[at])) ||
        (at > 0 && (Alnum(text[at - 1]) || text[at - 1] == '.'))) {
      ++at;
      continue;
    }
    std::size_t end = at;
    while (end < text.size() &&
           (std::isdigit(static_cast<unsigned char>(text[end])) ||
            text[end] == '.')) {
      ++end;
    }
    const double value = calc::ReadNumber(text.substr(at, end - at));
    std::size_t unit_at = end;
    while (unit_at < text.size() && text[unit_at] == ' ') ++unit_at;
    if (end < text.size() && (text[end] == 'x' || text[end] == 'X')) {
      while (end < text.size() && Alnum(text[end])) ++end;  // hex
    } else if (const UnitWord* u = UnitAt(text, unit_at)) {
      said.push_back({u->unit, value * u->scale});
    } else if (end == text.size() || !Alnum(text[end])) {
      if (IsStandardRate(value)) said.push_back({Unit::kBaud, value});
    }
    at = end;
  }
  return said;
}

void CommentSays(const RegisterState& state, const CodeReading& reading,
                 double frequency_mhz, double tolerance_percent,
                 Explanation& out) {
  auto check = [&](const FamilySetting& s, int reload, int step, bool baud) {
    for (const int line : ReloadLines(state, s)) {
      for (const Comment* c : Beside(reading, line)) {
        const std::vector<Stated> said = NumbersStated(c->text);
        double mhz = frequency_mhz;
        for (const Stated& n : said) {
          if (n.unit == Unit::kMhz && n.value > 0) mhz = n.value;
        }
        for (const Stated& n : said) {
          if (n.value <= 0 || n.unit != (baud ? Unit::kBaud : Unit::kSeconds)) {
            continue;
          }
          const double actual =
              baud ? BaudOf(s, mhz, reload, step) : PeriodOf(s, mhz, reload);
          // A period the handler counts in overflows is a multiple.
          const double times =
              baud ? 1.0 : std::max(1.0, std::round(n.value / actual));
          if (actual <= 0 || std::fabs(PercentOff(actual * times, n.value)) <=
                                 tolerance_percent) {
            continue;
          }
          out.findings.push_back(
              baud ? Found(FindingKind::kCommentSays, line,
                           FindingSentence::kCommentRate, ShortestText(n.value),
                           actual, ShortestText(mhz),
                           PercentText(PercentOff(actual, n.value)))
                   : Found(FindingKind::kCommentSays, line,
                           FindingSentence::kCommentPeriod, PeriodText(n.value),
                           PeriodText(actual), ShortestText(mhz),
                           PercentText(PercentOff(actual, n.value))));
          return;
        }
      }
    }
  };
  for (const SerialUse& u : out.serial) {
    if (u.setting != nullptr && !u.unresolved) {
      check(*u.setting, u.reload, u.step, true);
    }
  }
  for (const TimerUse& u : out.timers) {
    if (u.setting != nullptr && !u.unresolved) {
      check(*u.setting, u.reload, -1, false);
    }
  }
}

}  // namespace mcs51::explain
