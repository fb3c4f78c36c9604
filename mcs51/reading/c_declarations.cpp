// C's declarations of registers, bits and XDATA places, as Keil C51, SDCC
// and the cross-compiler headers write them.
#include <algorithm>
#include <optional>
#include <utility>

#include "mcs51/reading/code_value.h"

namespace mcs51::reading {
namespace {

using Tokens = std::span<const Token>;

Value LookupNone(const void*, std::string_view name) {
  return RegisterValue(Place{std::string(name)});
}

std::optional<std::int64_t> ConstantOf(Tokens tokens) {
  const Value v = Evaluate(tokens, Dialect::kC, LookupNone, nullptr);
  if (v.kind != Value::Kind::kConstant) return std::nullopt;
  return v.constant.value;
}

// Where "__at" (SDCC) or "_at_" (Keil) puts a declaration, and the
// declared name: the last name outside the address.
struct AtParts {
  std::optional<std::int64_t> address;
  std::string name;
};
AtParts At(Tokens t) {
  AtParts parts;
  std::size_t i = 0;
  for (; i < t.size(); ++i) {
    if (Is(t[i], "=")) break;
    if (Is(t[i], "__at") || Is(t[i], "_at_")) {
      std::size_t end = i + 2;
      if (i + 1 < t.size() && Is(t[i + 1], "(")) {
        end = PastParenthesis(t, i + 1);
      } else if (Is(t[i], "_at_")) {
        end = t.size();
        for (std::size_t e = i + 1; e < t.size(); ++e) {
          if (Is(t[e], "=")) end = e;
        }
      }
      end = std::min(end, t.size());
      parts.address = ConstantOf(t.subspan(i + 1, end - i - 1));
      i = end - 1;
    } else if (t[i].kind == TokenKind::kName) {
      parts.name = t[i].text;
    }
  }
  return parts;
}

void Declare(CodeReading& reading, int line, DeclarationKind kind,
             const std::string& name, Place at, int high = -1) {
  if (name.empty()) return;
  reading.declarations.push_back({line, kind, name, std::move(at), high});
}

Place ByteAt(std::int64_t address) {
  return {{}, static_cast<int>(address), -1, Space::kByte};
}

// Keil's "sbit NAME = REG^bit", "= ADDRESS^bit" or "= BITADDRESS".
void KeilBit(CodeReading& reading, Tokens t) {
  if (t.size() < 4 || !Is(t[2], "=")) return;
  const Tokens value = t.subspan(3);
  std::size_t caret = value.size();
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (Is(value[i], "^")) caret = i;
  }
  Place at{{}, -1, -1, Space::kBit};
  if (caret < value.size()) {
    const std::optional<std::int64_t> bit =
        ConstantOf(value.subspan(caret + 1));
    if (!bit || *bit < 0 || *bit > 7) return;
    at.bit = static_cast<int>(*bit);
    const Tokens reg = value.first(caret);
    if (reg.size() == 1 && reg[0].kind == TokenKind::kName) {
      at.name = reg[0].text;
    } else if (const auto address = ConstantOf(reg)) {
      at.address = static_cast<int>(*address & 0xFFFF);
    } else {
      return;
    }
  } else if (const auto address = ConstantOf(value)) {
    at.address = static_cast<int>(*address & 0xFFFF);
  } else {
    return;
  }
  Declare(reading, t[0].line, DeclarationKind::kBit, t[1].text, at);
}

void Sfr(CodeReading& reading, DeclarationKind kind, const std::string& name,
         std::int64_t address, bool sdcc_pair, int line) {
  address &= 0xFFFF;
  if (kind == DeclarationKind::kSfr16) {
    const std::int64_t low = sdcc_pair ? address & 0xFF : address;
    const std::int64_t high = sdcc_pair ? address >> 8 : address + 1;
    Declare(reading, line, kind, name, ByteAt(low), static_cast<int>(high));
  } else if (kind == DeclarationKind::kBit) {
    Declare(reading, line, kind, name,
            {{}, static_cast<int>(address), -1, Space::kBit});
  } else {
    Declare(reading, line, kind, name, ByteAt(address));
  }
}

std::optional<DeclarationKind> KindOf(std::string_view word) {
  if (word == "sfr" || word == "__sfr" || word == "SFR" || word == "SI_SFR") {
    return DeclarationKind::kSfr;
  }
  if (word == "sfr16" || word == "__sfr16" || word == "SFR16" ||
      word == "SI_SFR16") {
    return DeclarationKind::kSfr16;
  }
  if (word == "sbit" || word == "__sbit" || word == "SBIT" ||
      word == "SI_SBIT") {
    return DeclarationKind::kBit;
  }
  return std::nullopt;
}

// The cross-compiler headers' SFR(name, address), SFR16(name, low byte's
// address) and SBIT(name, register's address, bit), and Silicon Labs'
// SI_SFR, SI_SFR16 and SI_SBIT alike (si_toolchain.h, compiler_defs.h).
void HeaderMacro(CodeReading& reading, Tokens t, DeclarationKind kind) {
  if (t.size() < 6 || !Is(t[1], "(") || t[2].kind != TokenKind::kName) {
    return;
  }
  const std::size_t end = PastParenthesis(t, 1);
  std::vector<Tokens> args;
  std::size_t from = 4;
  for (std::size_t i = 4; i + 1 < end; ++i) {
    if (Is(t[i], ",")) {
      args.push_back(t.subspan(from, i - from));
      from = i + 1;
    }
  }
  args.push_back(t.subspan(from, std::max(end - 1, from) - from));
  const auto address = ConstantOf(args[0]);
  if (!address) return;
  std::int64_t at = *address;
  if (kind == DeclarationKind::kBit) {
    const auto bit = args.size() > 1 ? ConstantOf(args[1]) : std::nullopt;
    if (!bit || *bit < 0 || *bit > 7) return;
    at += *bit;
  }
  Sfr(reading, kind, t[2].text, at, false, t[0].line);
}

// sfr, sfr16 and sbit as Keil writes them, SDCC's __sfr, __sfr16, __sbit
// and __xdata with __at, and the header macros. True when the statement
// was one of them.
}  // namespace

bool CDeclaration(CodeReading& reading, Tokens t) {
  if (t.size() < 2) return false;
  const std::string& first = t[0].text;
  const int line = t[0].line;
  const bool has_at = std::any_of(t.begin(), t.end(), [](const Token& x) {
    return Is(x, "__at") || Is(x, "_at_");
  });
  std::optional<DeclarationKind> kind = KindOf(first);
  if (has_at) {
    // SDCC takes "__at(0x89) __sfr TMOD;" as well.
    for (const Token& word : t) kind = kind ? kind : KindOf(word.text);
    const AtParts at = At(t);
    const bool xdata = std::any_of(t.begin(), t.end(), [](const Token& x) {
      return Is(x, "__xdata") || Is(x, "xdata");
    });
    if (!at.address || (!kind && !xdata)) return has_at;
    Sfr(reading, kind.value_or(DeclarationKind::kXdata), at.name, *at.address,
        true, line);
    return true;
  }
  if (!kind) return false;
  if (first == "SFR" || first == "SFR16" || first == "SBIT" ||
      first.starts_with("SI_")) {
    HeaderMacro(reading, t, *kind);
    return true;
  }
  if (*kind == DeclarationKind::kBit) {
    KeilBit(reading, t);
  } else if (t.size() > 3 && Is(t[2], "=")) {
    if (const auto address = ConstantOf(t.subspan(3))) {
      Sfr(reading, *kind, t[1].text, *address, false, line);
    }
  }
  return true;
}

}  // namespace mcs51::reading
