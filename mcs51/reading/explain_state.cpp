#include "mcs51/reading/explain_state.h"

#include <fmt/format.h>
#include <fmt/ranges.h>

#include <algorithm>

#include "mcs51/reading/code_value.h"
#include "mcs51/reading/explain_words.h"

namespace mcs51::explain {
namespace {

const FamilyRegister* Named(const Family& family, std::string_view name) {
  for (const FamilyRegister& r : family.registers) {
    if (r.name == name) return &r;
  }
  return nullptr;
}

const FamilyRegister* At(const Family& family, int address) {
  for (const FamilyRegister& r : family.registers) {
    if (r.address == address) return &r;
  }
  return nullptr;
}

// The bits an effect writes, whatever their new values.
int Touched(EffectOp op, int mask, int value) {
  switch (op) {
    case EffectOp::kOr:
    case EffectOp::kXor:
      return value & mask;
    case EffectOp::kAnd:
      return ~value & mask;
    default:
      return mask;
  }
}

}  // namespace

RegisterState::RegisterState(const Family& family) : family_(family) {
  for (const FamilyRegister& r : family.registers) {
    values_[r.address] = r.reset;
  }
}

int RegisterState::Value(int address) const {
  const auto it = values_.find(address);
  return it == values_.end() ? 0 : it->second;
}

int RegisterState::LineOf(int address, int mask) const {
  const auto it = lines_.find(address);
  if (it == lines_.end()) return 0;
  int line = 0;
  for (int bit = 0; bit < 8; ++bit) {
    if ((mask >> bit & 1) != 0) line = std::max(line, it->second[bit]);
  }
  return line;
}

void RegisterState::Unknown(const std::string& name, int line) {
  ++recognised_;
  if (std::find(unknown_.begin(), unknown_.end(), name) != unknown_.end()) {
    return;
  }
  unknown_.push_back(name);
  const std::vector<std::string> others = FamiliesWith(name);
  const FindingSentence sentence =
      others.empty()       ? FindingSentence::kUnknownElsewhere
      : others.size() == 1 ? FindingSentence::kUnknownInOne
                           : FindingSentence::kUnknownInSome;
  const std::string them = fmt::format("{}", fmt::join(others, ", "));
  findings_.push_back(Found(FindingKind::kUnknownRegister, line, sentence, name,
                            family_.text, them,
                            others.empty() ? "" : others.front()));
}

// A place as the family's register bits; false for what is none: RAM, a
// variable, or a register the family lacks (a finding).
bool RegisterState::Locate(const Place& place, const CodeReading& reading,
                           int line, Target& target) {
  const std::string name = reading::Upper(place.name);
  const Place p = Resolved(place, reading.declarations);
  if (!p.name.empty()) {
    const std::string resolved = reading::Upper(p.name);
    if (const FamilyRegister* r = Named(family_, resolved)) {
      target = {r->address, p.bit >= 0 ? 1 << p.bit : 0xFF, p.bit >= 0};
      return true;
    }
    for (const FamilyRegister& r : family_.registers) {
      for (const NamedBit& b : r.bits) {
        if (b.name == resolved) {
          target = {r.address, b.mask, true};
          return true;
        }
      }
    }
    // A variable, unless some family has a register of that name.
    if (!FamiliesWith(resolved).empty()) Unknown(resolved, line);
    return false;
  }
  if (p.address < 0x80 || p.address > 0xFF) return false;  // RAM
  const bool bit = p.space == Space::kBit;
  const int address = bit ? p.address & 0xF8 : p.address;
  if (At(family_, address) == nullptr) {
    Unknown(name.empty() ? fmt::format("0x{:02X}", p.address) : name, line);
    return false;
  }
  target = {address, bit ? 1 << (p.address & 7) : 0xFF, bit};
  for (const Declaration& d : reading.declarations) {
    if (d.kind == DeclarationKind::kSfr16 && reading::Upper(d.name) == name) {
      target.high = d.high;
    }
  }
  return true;
}

void RegisterState::Apply(const Effect& effect, const Target& target,
                          std::int64_t value) {
  const int old = Value(target.address);
  const int mask = target.mask;
  const int v =
      target.bit ? (value != 0 ? mask : 0) : static_cast<int>(value & 0xFF);
  int now = old;
  switch (effect.op) {
    case EffectOp::kAssign:
    case EffectOp::kCopy:
      now = (old & ~mask) | (v & mask);
      break;
    case EffectOp::kOr:
      now = old | (v & mask);
      break;
    case EffectOp::kAnd:
      now = old & (v | ~mask);
      break;
    case EffectOp::kXor:
      now = old ^ (v & mask);
      break;
    case EffectOp::kSetBit:
      now = old | mask;
      break;
    case EffectOp::kClearBit:
      now = old & ~mask;
      break;
    case EffectOp::kComplementBit:
      now = old ^ mask;
      break;
    case EffectOp::kUnknown:
      break;
  }
  values_[target.address] = now & 0xFF;
  const int touched = Touched(effect.op, mask, v);
  std::array<int, 8>& lines = lines_[target.address];
  for (int bit = 0; bit < 8; ++bit) {
    if ((touched >> bit & 1) != 0) lines[bit] = effect.line;
  }
  if (target.high >= 0 && effect.op == EffectOp::kAssign) {
    values_[target.high] = static_cast<int>(value >> 8 & 0xFF);
    lines_[target.high].fill(effect.line);
  }
}

// A plain TMOD = that puts the other timer's field back to 0 after an
// earlier line set it.
void RegisterState::CheckModeFields(const Effect& effect,
                                    const Target& target) {
  if (effect.op != EffectOp::kAssign || target.bit) return;
  const int value = static_cast<int>(effect.value & 0xFF);
  for (const FamilySetting& s : family_.settings) {
    const Bits& field = s.mode_field;
    if (field.address != target.address || field.mask == 0) continue;
    const int earlier = LineOf(field.address, field.mask);
    const int own = value & ~field.mask & 0xFF;
    if ((value & field.mask) != 0 || own == 0 || earlier == 0 ||
        earlier == effect.line || (Value(field.address) & field.mask) == 0 ||
        std::any_of(findings_.begin(), findings_.end(), [&](const Finding& f) {
          return f.kind == FindingKind::kTmodOverwrites &&
                 f.line == effect.line;
        })) {
      continue;
    }
    findings_.push_back(Found(FindingKind::kTmodOverwrites, effect.line,
                              FindingSentence::kTmodOverwrites, field.name, own,
                              s.timer, earlier, field.mask));
  }
}

void RegisterState::Follow(const CodeReading& reading) {
  for (const Effect& effect : reading.effects) {
    Target target;
    if (!Locate(effect.target, reading, effect.line, target)) continue;
    ++recognised_;
    if (effect.vector >= 0) {
      handlers_.push_back({effect.vector, target.address, effect.line,
                           effect.op == EffectOp::kAssign});
      continue;
    }
    // A value known only when it runs: a handler's reload, though the
    // paste does not say which vector the code is at (an assembly module
    // whose handler C places).
    if (effect.op == EffectOp::kUnknown) {
      handlers_.push_back({-1, target.address, effect.line, false});
    }
    std::int64_t value = effect.value;
    if (effect.op == EffectOp::kCopy) {
      Target source;
      if (!Locate(effect.source, reading, effect.line, source)) continue;
      value = Value(source.address);
      if (source.bit) value = (value & source.mask) != 0 ? 1 : 0;
    }
    CheckModeFields(effect, target);
    Apply(effect, target, value);
  }
}

}  // namespace mcs51::explain
