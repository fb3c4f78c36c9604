// The one place reading code back meets the catalogue's record types.
#include "mcs51/explain/explain_registers.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <utility>

#include "mcs51/code/code_parts.h"
#include "mcs51/code/tick_code.h"
#include "mcs51/hardware/catalogue.h"
#include "mcs51/settings/ticks.h"

namespace mcs51::explain {
namespace {

// The 8051's registers that no record writes, at the addresses of the
// Intel MCS-51 User's Manual's SFR map, and their values after reset.
struct CoreRegister {
  std::string_view name;
  int address;
  int reset;
};
constexpr CoreRegister kOtherCore[] = {
    {"P0", 0x80, 0xFF}, {"SP", 0x81, 0x07}, {"DPL", 0x82, 0},
    {"DPH", 0x83, 0},   {"P1", 0x90, 0xFF}, {"SBUF", 0x99, 0},
    {"P2", 0xA0, 0xFF}, {"P3", 0xB0, 0xFF}, {"IP", 0xB8, 0},
    {"PSW", 0xD0, 0},   {"ACC", 0xE0, 0},   {"B", 0xF0, 0}};
// The 8051's timer and serial registers, which every family has.
constexpr std::string_view kEveryFamily[] = {
    "PCON", "TCON", "TMOD", "TL0", "TL1", "TH0", "TH1", "SCON", "IE"};

void Add(Family& family, std::string_view name, int address, int reset) {
  for (const FamilyRegister& r : family.registers) {
    if (r.name == name) return;
  }
  family.registers.push_back({std::string(name), address, reset, {}});
}

int AddressOf(const Chip& chip, std::string_view name) {
  return FindRegister(chip, name).address;
}

void AddWrites(Family& family, const Chip& chip, std::span<const Write> ws) {
  for (const Write& w : ws) Add(family, w.reg, AddressOf(chip, w.reg), 0);
}

void NameBits(Family& family) {
  for (FamilyRegister& r : family.registers) {
    for (const Field& bit : core::kBits) {
      if (bit.reg == r.name)
        r.bits.push_back({std::string(bit.name), bit.mask});
    }
    if (r.name.size() == 2 && r.name[0] == 'P') {  // SDCC's P1_0 ...
      for (int bit = 0; bit < 8; ++bit) {
        r.bits.push_back({fmt::format("{}_{}", r.name, bit), 1 << bit});
      }
    }
  }
}

// Bits fixed per register, in the order first written.
struct Expected {
  std::vector<Bits> bits;
  void Put(int address, std::string_view reg, int mask, int value) {
    auto it = std::find_if(bits.begin(), bits.end(),
                           [&](const Bits& b) { return b.address == address; });
    if (it == bits.end()) {
      bits.push_back({address, 0, 0, std::string(reg)});
      it = bits.end() - 1;
    }
    it->value = (it->value & ~mask) | (value & mask);
    it->mask |= mask;
  }
  void Drop(const Bits& loose) {
    for (Bits& b : bits) {
      if (b.address == loose.address) b.mask &= ~loose.mask;
    }
    std::erase_if(bits, [](const Bits& b) { return b.mask == 0; });
    for (Bits& b : bits) b.value &= b.mask;
  }
};

Bits BitOfWrite(const Chip& chip, const Write& w) {
  return {AddressOf(chip, w.reg), w.mask, w.mask, std::string(w.reg),
          std::string(w.bit)};
}

FamilySetting FromBaud(const Chip& chip, const Setting& s) {
  const BaudMode& g = *s.generator;
  FamilySetting f;
  f.kind = SettingKind::kBaud;
  f.baud = &s;
  f.label = fmt::format("{}: {}", g.key, g.text.en);
  f.timer = s.timer;
  f.clocks = s.clocks;
  f.smod = s.smod;
  f.modulus = s.profile.modulus;
  const WriteInputs blank =
      InputsOf(Outcome{&s, true, 0, 0.0, 0.0, Mark::kExact, 0});
  Expected expected;
  int smod_bits = 0;
  bool low = false, high = false, step = false;
  for (const Write& w : g.writes) {
    const int address = AddressOf(chip, w.reg);
    if (w.reg == g.receiver.reg) smod_bits |= w.smod_bits;
    switch (w.source) {
      case Source::kFixed:
        expected.Put(address, w.reg, w.mask, WriteValue(w, blank));
        break;
      case Source::kReloadLow:
        if (!std::exchange(low, true)) f.reload.push_back({address, w.mask, 0});
        break;
      case Source::kReloadHigh:
        if (!std::exchange(high, true))
          f.reload.push_back({address, w.mask, 8});
        break;
      case Source::kStep:
        if (!std::exchange(step, true)) f.step.push_back({address, w.mask, 0});
        break;
    }
  }
  const Field& receiver = g.receiver;
  f.receiver = {AddressOf(chip, receiver.reg), receiver.mask, receiver.mask,
                std::string(receiver.reg)};
  // The port's other bits, but for its mode's and SMOD's, are its own.
  for (Bits& b : expected.bits) {
    if (b.name == receiver.reg) b.mask = (b.value & ~receiver.mask) | smod_bits;
  }
  expected.Drop({});
  if (s.timer > 0 && !s.unit->run.reg.empty()) {
    f.run = BitOfWrite(chip, s.unit->run);
    expected.Drop(f.run);
  }
  f.fixed = std::move(expected.bits);
  return f;
}

FamilySetting FromTick(const Chip& chip, const TickSetting& s) {
  const Unit& t = *s.timer;
  FamilySetting f;
  f.kind = SettingKind::kTick;
  f.tick = &s;
  f.label = std::string(t.key);
  f.timer = t.number;
  f.clocks = s.clocks;
  f.mode = std::string(s.mode->key);
  f.hardware_reload = s.mode->reload == Reload::kHardware;
  f.modulus = s.mode->modulus;
  f.counting = s.mode->counting;
  f.vector = t.vector;
  const WriteInputs blank =
      InputsOf(TickOutcome{&s, true, 0, 0, 1, 0.0, 0.0, Mark::kExact});
  const int low_mask = (1 << s.mode->low_bits) - 1;
  Expected expected;
  bool low = false, high = false;
  for (const Write& w : s.mode->writes) {
    const int address = AddressOf(chip, w.reg);
    if (w.source == Source::kReloadLow) {
      if (!std::exchange(low, true)) {
        f.reload.push_back({address, w.mask & low_mask, 0});
      }
    } else if (w.source == Source::kReloadHigh) {
      if (!std::exchange(high, true)) {
        f.reload.push_back({address, w.mask, s.mode->low_bits});
      }
    } else if (WritesField(w, t.enable) || WritesField(w, core::kEA)) {
      (WritesField(w, core::kEA) ? f.all : f.enable) = BitOfWrite(chip, w);
    } else {
      expected.Put(address, w.reg, w.mask, WriteValue(w, blank));
      if (WritesField(w, t.mode)) {
        f.mode_field = {address, w.mask, 0, std::string(w.reg)};
      }
    }
  }
  f.run = BitOfWrite(chip, t.run);
  expected.Drop(f.run);
  f.fixed = std::move(expected.bits);
  for (std::string_view reg : {t.count_high, t.count_low}) {
    if (!reg.empty()) f.count.push_back(AddressOf(chip, reg));
  }
  return f;
}

Family Build(const Chip& chip) {
  Family family{std::string(chip.name), std::string(chip.family.en), {}, {}};
  for (std::string_view name : kEveryFamily) {
    Add(family, name, AddressOf(chip, name), 0);
  }
  for (const CoreRegister& r : kOtherCore)
    Add(family, r.name, r.address, r.reset);
  for (const FittedMode& m : BaudModes(chip)) {
    AddWrites(family, chip, m.mode->writes);
  }
  for (const Unit* t : TickUnits(chip)) {
    for (const TickMode& m : t->ticks) AddWrites(family, chip, m.writes);
  }
  for (const Register& r : chip.registers) Add(family, r.name, r.address, 0);
  NameBits(family);
  for (const Setting& s : ChipSettings(&chip)) {
    family.settings.push_back(FromBaud(chip, s));
  }
  for (const TickSetting& s : ChipTickSettings(&chip)) {
    family.settings.push_back(FromTick(chip, s));
  }
  return family;
}

const std::vector<Family>& Families() {
  static const std::vector<Family> families = [] {
    std::vector<Family> all;
    for (const Chip& chip : Chips()) all.push_back(Build(chip));
    return all;
  }();
  return families;
}

}  // namespace

const Family* FindFamily(std::string_view name) {
  const Chip* chip = FindChip(name);
  if (chip == nullptr) return nullptr;
  return &Families()[static_cast<std::size_t>(chip - Chips().data())];
}

const Family& DefaultFamily() { return *FindFamily(kDefaultFamily->name); }

std::vector<std::string> FamiliesWith(std::string_view register_name) {
  std::vector<std::string> names;
  for (const Family& family : Families()) {
    for (const FamilyRegister& r : family.registers) {
      if (r.name == register_name) names.push_back(family.name);
    }
  }
  return names;
}

bool IsSomeRegister(std::string_view register_name) {
  static const std::set<std::string, std::less<>> names = [] {
    std::set<std::string, std::less<>> all;
    for (const Family& family : Families()) {
      for (const FamilyRegister& r : family.registers) all.emplace(r.name);
    }
    return all;
  }();
  return names.contains(register_name);
}

double BaudOf(const FamilySetting& setting, double frequency_mhz, int reload,
              int step) {
  if (setting.baud == nullptr) return 0.0;
  const Setting& s = *setting.baud;
  const BaudMode& a = *s.generator;
  return a.kind->rate(a, s.profile, frequency_mhz * 1e6, reload, step);
}

double PeriodOf(const FamilySetting& setting, double frequency_mhz,
                int reload) {
  const double period =
      setting.counting->count_of_register(setting.modulus, reload) *
      setting.clocks / (frequency_mhz * 1e6);
  return std::isfinite(period) && period > 0.0 ? period : 0.0;
}

}  // namespace mcs51::explain
