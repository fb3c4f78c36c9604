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
#include "calc/hints.h"
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

std::string WithoutBlanks(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (!IsBlank(c)) out.push_back(c);
  }
  return out;
}

// What the C library makes of the same text, as an independent reading.
// Decimal: glibc's strtod is correctly rounded and, on the characters
// [0-9.eE+-], accepts exactly the grammar ReadNumber promises, so both must
// agree bit for bit on the text cut at the first other character. Hex and
// octal go through strtod's hexadecimal-float form, which is exact too.
// Returns nothing for texts the oracle does not cover.
std::optional<double> OracleReading(std::string_view text) {
  const std::string compact = WithoutBlanks(text);
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
  Check(SameDouble(value, calc::ReadNumber(WithoutBlanks(text))),
        "ReadNumber depends on blanks", text);
  if (const std::optional<double> expected = OracleReading(text)) {
    Check(SameDouble(value, *expected), "ReadNumber differs from strtod", text);
  }
}

// One timer's outcome: the texts the window shows, or the error it raises.
struct Outcome {
  std::optional<calc::ErrorKind> error;
  calc::TimerTexts texts;

  bool operator==(const Outcome& other) const {
    return error == other.error && texts.constant == other.texts.constant &&
           texts.error == other.texts.error &&
           texts.warning == other.texts.warning;
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
    Check(std::string_view(e.what()) == calc::ErrorMessage(kind),
          "error message does not match its kind");
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

// The tooltips are built from a calculation that succeeded and promise not
// to fail on one; the constant's hint must agree with the constant shown.
void CheckHints(double frequency, double baud, const calc::TimerProfile& timer,
                const calc::TimerReload& r, const calc::TimerTexts& texts) {
  std::string constant_hint;
  std::string error_hint;
  try {
    constant_hint = calc::ConstantHint(frequency, baud, timer, r.Reload);
    error_hint = calc::ErrorHint(r.ErrorPercent);
  } catch (...) {
    Fail("a hint failed after a calculation that succeeded");
  }
  const auto shown =
      static_cast<std::int32_t>(std::stoul(texts.constant, nullptr, 16));
  const bool fits = shown >= 0 && shown <= timer.modulus - 1;
  if (fits) {
    constexpr std::string_view kActual = "实际波特率 ";
    Check(constant_hint.starts_with(kActual), "constant hint form",
          constant_hint);
    Check(constant_hint.find("nan") == std::string::npos &&
              constant_hint.find("inf") == std::string::npos,
          "constant hint shows a non-number", constant_hint);
  } else {
    Check(constant_hint == calc::kOutOfTimerRange,
          "constant hint disagrees with the constant shown", constant_hint);
  }
  Check(error_hint.starts_with(texts.error) && error_hint.ends_with(" %"),
        "error hint does not extend the error text", error_hint);
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
    calc::TimerTexts texts{calc::ReloadText(r.Reload),
                           calc::ErrorText(r.ErrorPercent), r.Warning};
    CheckConstantText(texts.constant, r.Reload);
    CheckErrorText(texts.error, r.ErrorPercent);
    CheckHints(frequency, baud, timer, r, texts);
    return texts;
  });
  const Outcome whole = Capture([&] {
    return calc::CalculateTimerTexts(frequency_text, baud_text, timer);
  });
  Check(whole == stepwise, "CalculateTimerTexts differs from its steps");
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
