#include "mcs51/explain/explain_state.h"

#include <fmt/format.h>
#include <fmt/ranges.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <cmath>
#include <optional>

#include "mcs51/explain/explain_words.h"
#include "mcs51/reading/code_value.h"
#include "mcs51/settings/ranking.h"

namespace mcs51::explain {
namespace {

const FamilyRegister* Named(const Family& family, std::string_view name) {
  for (const FamilyRegister& r : family.registers) {
    if (r.name == name) return &r;
  }
  return nullptr;
}

// The halves of a 16-bit name with L and H put in at `at`, if both are
// the family's and the high one follows the low one, as an sfr16 needs.
std::optional<Target> Halves(const Family& family, std::string_view name,
                             std::size_t at) {
  const auto half = [&](char which) {
    return Named(family, fmt::format("{}{}{}", name.substr(0, at), which,
                                     name.substr(at)));
  };
  const FamilyRegister* low = half('L');
  const FamilyRegister* high = half('H');
  if (low == nullptr || high == nullptr || high->address != low->address + 1) {
    return std::nullopt;
  }
  return Target{low->address, 0xFF, false, high->address};
}

// A 16-bit name the makers' headers declare over two adjacent byte
// registers, L and H after the name or before its last digits:
//   Word(c8051f, "TMR2RL") -> {TMR2RLL, TMR2RLH}
//   Word(c8051f326, "SBRL0") -> {SBRLL0, SBRLH0}
//   Word(8052, "RCAP2") -> {RCAP2L, RCAP2H};  Word(8052, "TMOD") -> none
std::optional<Target> Word(const Family& family, std::string_view name) {
  std::size_t digits = name.size();
  while (digits > 0 &&
         std::isdigit(static_cast<unsigned char>(name[digits - 1]))) {
    --digits;
  }
  if (std::optional<Target> word = Halves(family, name, name.size())) {
    return word;
  }
  if (digits == 0 || digits == name.size()) return std::nullopt;
  return Halves(family, name, digits);
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

// Whether a setting's match, rate or period reads a register.
bool Reads(const FamilySetting& s, int address) {
  auto in = [&](const auto& parts) {
    return std::any_of(parts.begin(), parts.end(),
                       [&](const auto& p) { return p.address == address; });
  };
  return in(s.fixed) || in(s.reload) || in(s.step) ||
         s.run.address == address || s.receiver.address == address;
}

// P0 ... P7: a port, whose value is its pins'.
bool IsPort(std::string_view name) {
  return name.size() == 2 && name[0] == 'P' && name[1] >= '0' && name[1] <= '7';
}

// What a copy's source is called: its name, or its address in data
// memory as Keil writes it, D:0x30.
std::string NameOf(const Place& place) {
  if (!place.name.empty()) return place.name;
  return fmt::format("D:0x{:02X}", place.address);
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

std::string RegisterState::NameAt(int address) const {
  const FamilyRegister* r = At(family_, address);
  return r == nullptr ? fmt::format("0x{:02X}", address) : r->name;
}

int RegisterState::EverSet(int address) const {
  const auto it = ever_set_.find(address);
  return it == ever_set_.end() ? 0 : it->second;
}

int RegisterState::UnknownBits(int address) const {
  const auto it = waiting_.find(address);
  return it == waiting_.end() ? 0 : it->second.bits;
}

void RegisterState::Wait(const Target& target, const Effect& effect) {
  for (const int address : {target.address, target.high}) {
    if (address < 0) continue;
    Waiting& w = waiting_[address];
    w.bits |= address == target.address ? target.mask : 0xFF;
    w.on = effect.depends;
    w.line = effect.line;
    w.what = effect.target.name;
  }
}

void RegisterState::Resolve(const Target& target, int bits) {
  if (const auto it = waiting_.find(target.address); it != waiting_.end()) {
    it->second.bits &= ~bits;
  }
}

// What still waits at the end, where a setting reads it.
void RegisterState::WaitingFindings() {
  for (const auto& [at, w] : waiting_) {
    const int address = at;
    const FamilyRegister* r = At(family_, address);
    if (w.bits == 0 || r == nullptr ||
        std::none_of(
            family_.settings.begin(), family_.settings.end(),
            [&](const FamilySetting& s) { return Reads(s, address); })) {
      continue;
    }
    const bool number =
        !w.on.empty() && std::isdigit(static_cast<unsigned char>(w.on[0]));
    const FindingSentence sentence =
        w.on.empty() ? FindingSentence::kRunTimeValue
        : number     ? FindingSentence::kUnreadableNumber
                     : FindingSentence::kWaitsOn;
    findings_.push_back(Found(FindingKind::kUnresolved, w.line, sentence,
                              w.what.empty() ? r->name : w.what, w.on));
  }
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
    if (const std::optional<Target> word = Word(family_, resolved)) {
      target = *word;
      return p.bit < 0;
    }
    // A variable, unless some family has a register of that name.
    if (IsSomeRegister(resolved)) Unknown(resolved, line);
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
  ever_set_[target.address] |= now & 0xFF;
  const int touched = Touched(effect.op, mask, v);
  if (effect.op != EffectOp::kXor) Resolve(target, touched);
  if (effect.op == EffectOp::kUnknown) Wait(target, effect);
  std::array<int, 8>& lines = lines_[target.address];
  for (int bit = 0; bit < 8; ++bit) {
    if ((touched >> bit & 1) != 0) lines[bit] = effect.line;
  }
  if (target.high >= 0 && effect.op == EffectOp::kAssign) {
    values_[target.high] = static_cast<int>(value >> 8 & 0xFF);
    lines_[target.high].fill(effect.line);
    Resolve({target.high}, 0xFF);
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
                              s.timer, At(files_, earlier).line, field.mask));
  }
}

void RegisterState::Follow(const CodeReading& reading) {
  files_ = reading.files;
  for (const Effect& effect : reading.effects) {
    Target target;
    if (!Locate(effect.target, reading, effect.line, target)) continue;
    ++recognised_;
    if (effect.vector != -1) {
      handlers_.push_back({effect.vector, target.address, effect.line,
                           effect.op == EffectOp::kAssign});
      continue;
    }
    std::int64_t value = effect.value;
    if (effect.op == EffectOp::kCopy) {
      Target source;
      std::optional<std::string> on;  // what the copied value waits on
      if (!Locate(effect.source, reading, effect.line, source)) {
        on = NameOf(effect.source);  // a variable, a parameter or RAM
      } else if (const FamilyRegister* port = At(family_, source.address);
                 port != nullptr && IsPort(port->name)) {
        on = port->name;  // a port reads its pins
      } else if ((UnknownBits(source.address) & source.mask) != 0) {
        on = waiting_[source.address].on;
      }
      if (on) {
        Effect unknown = effect;
        unknown.op = EffectOp::kUnknown;
        unknown.depends = *on;
        Apply(unknown, target, 0);
        continue;
      }
      value = Value(source.address);
      if (source.bit) value = (value & source.mask) != 0 ? 1 : 0;
    }
    CheckModeFields(effect, target);
    Apply(effect, target, value);
  }
  WaitingFindings();
}

bool Matches(const RegisterState& state, const FamilySetting& s,
             bool unknown_matches) {
  return std::all_of(s.fixed.begin(), s.fixed.end(), [&](const Bits& b) {
    const int unknown = state.UnknownBits(b.address) & b.mask;
    if (unknown != 0 && !unknown_matches) return false;
    return (state.Value(b.address) & b.mask & ~unknown) == (b.value & ~unknown);
  });
}

double NearestRate(double baud) {
  double nearest = kStandardRates.front(), best = INFINITY;
  for (double rate : kStandardRates) {
    const double error = std::fabs((baud - rate) / rate);
    if (error < best) {
      best = error;
      nearest = rate;
    }
  }
  return nearest;
}

int Weight(const FamilySetting& s) {
  int bits = 0;
  for (const Bits& b : s.fixed) {
    bits += std::popcount(static_cast<unsigned>(b.mask));
  }
  return bits;
}

bool IsSet(const RegisterState& state, const Bits& b) {
  return b.mask != 0 && (state.Value(b.address) & b.mask) == b.mask;
}

int ValueOf(const RegisterState& state, const std::vector<ReloadPart>& parts) {
  int value = 0;
  for (const ReloadPart& p : parts) {
    value |= (state.Value(p.address) & p.mask) << p.shift;
  }
  return value;
}

int LastLine(const RegisterState& state, const FamilySetting& s) {
  int line = 0;
  for (const Bits& b : s.fixed) line = std::max(line, state.LineOf(b.address));
  for (const auto& p : s.reload) line = std::max(line, state.LineOf(p.address));
  return line;
}

}  // namespace mcs51::explain
