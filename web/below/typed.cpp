#include "web/below/typed.h"

namespace web {
namespace {

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool Digit(char c) { return c >= '0' && c <= '9'; }

// Whether the comma at `i` groups thousands: a digit before it and exactly
// three after it.
bool ThousandsComma(std::string_view text, std::size_t i) {
  if (i == 0 || !Digit(text[i - 1]) || i + 3 >= text.size()) return false;
  for (std::size_t j = i + 1; j <= i + 3; ++j) {
    if (!Digit(text[j])) return false;
  }
  return i + 4 == text.size() || !Digit(text[i + 4]);
}

}  // namespace

std::string Folded(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::string_view rest = text.substr(i);
    if (rest.starts_with("\u3000") || rest.starts_with("\u00a0")) {
      out += ' ';
      i += rest.starts_with("\u3000") ? 2 : 1;
      continue;
    }
    if (rest.starts_with("\u3002")) {
      out += '.';
      i += 2;
      continue;
    }
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead == 0xEF && rest.size() >= 3) {
      // U+FF01 ... U+FF5E: EF BC 81 ... EF BD 9E.
      const int point = 0xF000 |
                        ((static_cast<unsigned char>(rest[1]) & 0x3F) << 6) |
                        (static_cast<unsigned char>(rest[2]) & 0x3F);
      if (point >= 0xFF01 && point <= 0xFF5E) {
        out += static_cast<char>(point - 0xFF01 + '!');
        i += 2;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

std::string Tidied(std::string_view text) {
  const std::string folded = Folded(text);
  std::string out;
  for (std::size_t i = 0; i < folded.size();) {
    if (!Blank(folded[i])) {
      out += folded[i++];
      continue;
    }
    std::size_t end = i;
    while (end < folded.size() && Blank(folded[end])) ++end;
    // Blanks around the text go, and those between a number and what
    // follows it that is no number; others stay.
    if (!out.empty() && end < folded.size()) {
      const char next = folded[end];
      const bool before_unit = (Digit(out.back()) || out.back() == '.') &&
                               !Digit(next) && next != '.' && next != '+' &&
                               next != '-';
      if (!before_unit) out += folded.substr(i, end - i);
    }
    i = end;
  }
  return out;
}

calc::Reading ReadTypedPeriod(std::string_view text) {
  return calc::ReadPeriod(Tidied(text));
}

calc::Reading ReadTypedTime(std::string_view text) {
  return calc::ReadTime(Tidied(text));
}

calc::Reading ReadTypedPercent(std::string_view text) {
  std::string tidied = Tidied(text);
  if (tidied.ends_with('%')) tidied.pop_back();
  return calc::ReadPercent(tidied);
}

std::vector<std::string> RateItems(std::string_view text) {
  const std::string folded = Folded(text);
  std::vector<std::string> items(1);
  for (std::size_t i = 0; i < folded.size(); ++i) {
    const char c = folded[i];
    if (c == ',' && ThousandsComma(folded, i)) continue;
    if (Blank(c) || c == ',') {
      if (!items.back().empty()) items.emplace_back();
      continue;
    }
    items.back() += c;
  }
  if (items.back().empty()) items.pop_back();
  // A rate's unit after a blank belongs to it: "115.2 k".
  for (std::size_t i = 1; i < items.size(); ++i) {
    if (items[i] == "k" || items[i] == "K") {
      items[i - 1] += items[i];
      items.erase(items.begin() + static_cast<std::ptrdiff_t>(i--));
    }
  }
  return items;
}

std::string Suggested(std::string_view text) {
  const std::string folded = Folded(text);
  std::string out;
  for (std::size_t i = 0; i < folded.size(); ++i) {
    const char c = folded[i];
    if (Blank(c) || (c == ',' && ThousandsComma(folded, i))) continue;
    out += c == ',' ? '.' : c;
  }
  return out;
}

}  // namespace web
