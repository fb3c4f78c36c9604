// Feeds arbitrary bytes to the two field texts and checks what must hold for
// every text a user can type or paste, through the results and their
// tooltips. The input is split at its first line
// feed: frequency text before it, baud text after it (which may hold more
// line feeds, NULs, anything). Without a line feed both fields get the whole
// input, so a one-line seed still exercises both readings.
//
// Any broken invariant aborts with a message; libFuzzer saves the input.
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "calc/conversions.h"
#include "calc/reload.h"
#include "calc/runtime_error.h"

namespace {

[[noreturn]] void Fail(const char* what, std::string_view detail = {}) {
  std::fprintf(stderr, "calc_fuzz: %s%s%.*s\n", what,
               detail.empty() ? "" : ": ", static_cast<int>(detail.size()),
               detail.data());
  std::abort();
}

void Check(bool holds, const char* what, std::string_view detail = {}) {
  if (!holds) Fail(what, detail);
}

bool SameDouble(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// What a Chinese input method types for the characters of a number, and the
// ASCII each reads as: written out one by one, not computed as ReadNumber
// does. The ideographic space reads as a space, that is as a blank.
struct Wide {
  std::string_view utf8;
  char ascii;
};
constexpr Wide kWide[] = {
    {"０", '0'}, {"１", '1'}, {"２", '2'}, {"３", '3'}, {"４", '4'},
    {"５", '5'}, {"６", '6'}, {"７", '7'}, {"８", '8'}, {"９", '9'},
    {"．", '.'}, {"。", '.'}, {"＋", '+'}, {"－", '-'}, {"＆", '&'},
    {"Ｈ", 'H'}, {"ｈ", 'h'}, {"Ｏ", 'O'}, {"ｏ", 'o'}, {"Ａ", 'A'},
    {"Ｂ", 'B'}, {"Ｃ", 'C'}, {"Ｄ", 'D'}, {"Ｅ", 'E'}, {"Ｆ", 'F'},
    {"ａ", 'a'}, {"ｂ", 'b'}, {"ｃ", 'c'}, {"ｄ", 'd'}, {"ｅ", 'e'},
    {"ｆ", 'f'}, {"　", ' '},
};

// The text without its blanks; with `fold`, also with the characters above as
// ASCII. From the first other byte past ASCII on, the text stays as it is:
// no number reads past that byte, and dropping blanks there could join stray
// bytes into a character.
std::string Compact(std::string_view text, bool fold) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      if (!IsBlank(text[i])) out.push_back(text[i]);
      ++i;
      continue;
    }
    const Wide* wide = nullptr;
    for (const Wide& w : kWide) {
      if (text.substr(i).starts_with(w.utf8)) wide = &w;
    }
    if (wide == nullptr) {
      out.append(text.substr(i));
      break;
    }
    if (wide->ascii != ' ') {
      if (fold) {
        out.push_back(wide->ascii);
      } else {
        out.append(wide->utf8);
      }
    }
    i += wide->utf8.size();
  }
  return out;
}

// What the C library makes of the same text, as an independent reading.
// Decimal: glibc's strtod is correctly rounded and, on the characters
// [0-9.eE+-], accepts exactly the grammar ReadNumber promises, so both must
// agree bit for bit on the text cut at the first other character. Hex and
// octal go through strtod's hexadecimal-float form, which is exact too.
// Full-width input is folded to ASCII first, so it must read the same.
// Returns nothing for texts the oracle does not cover.
std::optional<double> OracleReading(std::string_view text) {
  const std::string compact = Compact(text, true);
  auto is_hex_digit = [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') ||
           (c >= 'A' && c <= 'F');
  };
  if (!compact.empty() && compact[0] == '&') {
    if (compact.size() < 2) return 0.0;
    const char prefix = compact[1];
    std::string digits;
    if (prefix == 'H' || prefix == 'h') {
      for (std::size_t i = 2; i < compact.size() && is_hex_digit(compact[i]);
           ++i) {
        digits.push_back(compact[i]);
      }
    } else if (prefix == 'O' || prefix == 'o') {
      std::string bits;
      for (std::size_t i = 2;
           i < compact.size() && compact[i] >= '0' && compact[i] <= '7'; ++i) {
        const int d = compact[i] - '0';
        for (int shift = 2; shift >= 0; --shift) {
          bits.push_back(((d >> shift) & 1) != 0 ? '1' : '0');
        }
      }
      bits.insert(0, (4 - bits.size() % 4) % 4, '0');
      for (std::size_t i = 0; i < bits.size(); i += 4) {
        int nibble = 0;
        for (std::size_t j = 0; j < 4; ++j)
          nibble = nibble * 2 + (bits[i + j] - '0');
        digits.push_back("0123456789ABCDEF"[nibble]);
      }
    } else {
      return 0.0;
    }
    if (digits.empty()) return 0.0;
    const std::string hex = "0x" + digits;
    return std::strtod(hex.c_str(), nullptr);
  }
  std::string decimal;
  for (char c : compact) {
    const bool allowed = (c >= '0' && c <= '9') || c == '.' || c == 'e' ||
                         c == 'E' || c == '+' || c == '-';
    if (!allowed) break;
    decimal.push_back(c);
  }
  return std::strtod(decimal.c_str(), nullptr);
}

void CheckReading(std::string_view text) {
  const double value = calc::ReadNumber(text);
  Check(!std::isnan(value), "ReadNumber gave NaN", text);
  Check(SameDouble(value, calc::ReadNumber(text)), "ReadNumber not repeatable",
        text);
  Check(SameDouble(value, calc::ReadNumber(Compact(text, false))),
        "ReadNumber depends on blanks", text);
  if (const std::optional<double> expected = OracleReading(text)) {
    Check(SameDouble(value, *expected), "ReadNumber differs from strtod", text);
  }
}

// One timer's outcome: the texts the window shows, or the error it raises.
struct Outcome {
  std::optional<calc::ErrorKind> error;
  calc::TimerResult result;

  bool operator==(const Outcome& other) const {
    const calc::TimerResult& a = result;
    const calc::TimerResult& b = other.result;
    return error == other.error && SameDouble(a.frequency, b.frequency) &&
           SameDouble(a.baud, b.baud) &&
           SameDouble(a.reload.Divisor, b.reload.Divisor) &&
           SameDouble(a.reload.ErrorPercent, b.reload.ErrorPercent) &&
           SameDouble(a.reload.Reload, b.reload.Reload) &&
           a.reload.Warning == b.reload.Warning && a.constant == b.constant &&
           a.error == b.error && a.actual.fits == b.actual.fits &&
           SameDouble(a.actual.constant, b.actual.constant) &&
           SameDouble(a.actual.baud, b.actual.baud) &&
           SameDouble(a.actual.error_percent, b.actual.error_percent);
  }
};

template <typename Calculation>
Outcome Capture(Calculation calculation) {
  try {
    return {std::nullopt, calculation()};
  } catch (const calc::RuntimeError& e) {
    const calc::ErrorKind kind = e.Kind();
    Check(kind == calc::ErrorKind::kDivisionByZero ||
              kind == calc::ErrorKind::kOverflow,
          "unknown error kind");
    return {kind, {}};
  } catch (const std::exception& e) {
    Fail("unexpected exception", e.what());
  } catch (...) {
    Fail("unexpected non-standard exception");
  }
}

void CheckConstantText(const std::string& text, double reload) {
  Check(!text.empty() && text.size() <= 8, "constant text length", text);
  for (char c : text) {
    Check((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'),
          "constant text not uppercase hex", text);
  }
  Check(text == "0" || text[0] != '0', "constant text has a leading zero",
        text);
  // Read back as 32-bit two's complement it is the reload, rounded.
  const auto bits = static_cast<std::uint32_t>(std::stoul(text, nullptr, 16));
  const double shown = std::bit_cast<std::int32_t>(bits);
  Check(std::fabs(shown - reload) <= 0.5, "constant text is not the reload",
        text);
}

void CheckErrorText(const std::string& text, double error_percent) {
  Check(!text.empty() && text.size() <= 4, "error text length", text);
  Check(text[0] == (error_percent < 0 ? '-' : ' '), "error text sign", text);
}

// The numbers behind the constant's tooltip: the constant they describe is
// the one shown, and they are finite exactly when it fits the timer.
void CheckActualRate(const calc::ActualRate& rate,
                     const calc::TimerProfile& timer,
                     const std::string& constant_text) {
  const auto shown =
      static_cast<std::int32_t>(std::stoul(constant_text, nullptr, 16));
  Check(SameDouble(rate.constant, shown), "actual rate of another constant",
        constant_text);
  Check(!rate.fits || (shown >= 0 && shown <= timer.modulus - 1),
        "a constant outside the timer fits", constant_text);
  Check(std::isfinite(rate.baud) && std::isfinite(rate.error_percent),
        "actual rate not finite", constant_text);
  if (!rate.fits) {
    Check(rate.baud == 0 && rate.error_percent == 0,
          "a rate that does not fit has numbers", constant_text);
  }
}

Outcome TimerOutcome(std::string_view frequency_text,
                     std::string_view baud_text,
                     const calc::TimerProfile& timer) {
  // Step by step, so each result can be checked against the texts.
  const Outcome stepwise = Capture([&] {
    const double baud = calc::ReadNumber(baud_text);
    const double frequency = calc::ReadNumber(frequency_text);
    const calc::TimerReload r =
        calc::ComputeTimerReload(frequency, baud, timer);
    Check(std::isfinite(r.Divisor) && std::isfinite(r.ErrorPercent) &&
              std::isfinite(r.Reload),
          "non-finite result escaped the checks");
    Check(r.Warning == (r.ErrorPercent > calc::kWarningErrorPercent),
          "warning flag disagrees with the error");
    if (r.Divisor > 0) {
      Check(r.ErrorPercent >= 0 && r.ErrorPercent <= 100,
            "error of a positive divisor outside 0..100 %");
    }
    calc::TimerResult result{
        frequency,
        baud,
        r,
        calc::ReloadText(r.Reload),
        calc::ErrorText(r.ErrorPercent),
        calc::ActualRateOf(frequency, baud, timer, r.Reload)};
    CheckConstantText(result.constant, r.Reload);
    CheckErrorText(result.error, r.ErrorPercent);
    CheckActualRate(result.actual, timer, result.constant);
    return result;
  });
  const Outcome whole = Capture(
      [&] { return calc::CalculateTimer(frequency_text, baud_text, timer); });
  Check(whole == stepwise, "CalculateTimer differs from its steps");
  return whole;
}

struct PressOutcome {
  Outcome timer1;
  Outcome timer2;
  bool operator==(const PressOutcome&) const = default;
};

PressOutcome Press(std::string_view frequency_text,
                   std::string_view baud_text) {
  return {TimerOutcome(frequency_text, baud_text, calc::kTimer1),
          TimerOutcome(frequency_text, baud_text, calc::kTimer2)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\n');
  const std::string_view frequency_text = input.substr(0, split);
  const std::string_view baud_text =
      split == std::string_view::npos ? input : input.substr(split + 1);

  CheckReading(frequency_text);
  CheckReading(baud_text);
  Check(Press(frequency_text, baud_text) == Press(frequency_text, baud_text),
        "the same texts gave different outcomes");
  return 0;
}
