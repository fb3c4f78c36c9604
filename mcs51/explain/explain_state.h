#pragma once
// Inside the library: the registers a paste leaves, followed effect by
// effect, for explain.cpp to read settings from.

#include <algorithm>
#include <array>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "mcs51/explain/explain.h"
#include "mcs51/explain/explain_registers.h"
#include "mcs51/reading/code_reader.h"

namespace mcs51::explain {

// Where a write lands on the family: some bits of a register.
struct Target {
  int address = -1;
  int mask = 0xFF;
  bool bit = false;
  int high = -1;  // an sfr16's high byte
};

// A handler's write to a register: which, and whether of a constant.
struct HandlerWrite {
  int vector;  // kSomeVector: a handler whose vector the paste does not say
  int address;
  int line;
  bool constant;
};

class RegisterState {
 public:
  explicit RegisterState(const Family& family);

  // Follows the paste's writes outside handlers in order, and notes the
  // handlers' writes; unknown registers and TMOD overwrites as findings.
  void Follow(const CodeReading& reading);

  int Value(int address) const;
  // The family's name of the register at `address`: "SCON".
  std::string NameAt(int address) const;
  // The bits of a register whose value waits on what the paste does not
  // give: a parameter, a variable, RAM, a name defined nowhere.
  int UnknownBits(int address) const;
  // The bits that were 1 at any point: a run bit set and cleared again.
  int EverSet(int address) const;
  // The line of the last write to any of `mask`'s bits, 0 for none.
  int LineOf(int address, int mask = 0xFF) const;
  bool Written(int address) const { return LineOf(address) > 0; }
  int Recognised() const { return recognised_; }
  const std::vector<HandlerWrite>& Handlers() const { return handlers_; }
  std::vector<Finding>& Findings() { return findings_; }

 private:
  bool Locate(const Place& place, const CodeReading& reading, int line,
              Target& target);
  void Unknown(const std::string& name, int line);
  void Wait(const Target& target, const Effect& effect);
  void Resolve(const Target& target, int bits);
  void WaitingFindings();
  void Apply(const Effect& effect, const Target& target, std::int64_t value);
  void CheckModeFields(const Effect& effect, const Target& target);

  const Family& family_;
  std::map<int, int> values_;
  std::map<int, int> ever_set_;
  std::map<int, std::array<int, 8>> lines_;
  std::vector<HandlerWrite> handlers_;
  std::vector<Finding> findings_;
  std::span<const FileLines> files_;  // for a line a sentence names
  std::vector<std::string> unknown_;
  // Of each register that waits: its unknown bits, what on and where.
  struct Waiting {
    int bits = 0;
    std::string on;
    int line = 0;
    std::string what;  // as the code names it: "TR1", "TH1"
  };
  std::map<int, Waiting> waiting_;
  int recognised_ = 0;
};

// What the registers say of a setting.

// Whether the registers hold what a setting fixes; bits the code leaves
// unknown match only when `unknown_matches`.
bool Matches(const RegisterState& state, const FamilySetting& s,
             bool unknown_matches = false);

// Whether any of the bits of `parts` (Bits or ReloadParts) wait.
template <typename Parts>
bool Waits(const RegisterState& state, const Parts& parts) {
  return std::any_of(parts.begin(), parts.end(), [&](const auto& p) {
    return (state.UnknownBits(p.address) & p.mask) != 0;
  });
}

// The standard rate (kStandardRates) nearest `baud` by relative error.
//   NearestRate(9615.38) -> 9600;  NearestRate(1700) -> 2400
double NearestRate(double baud);

// How far `actual` is from `meant`, in percent of it, signed.
//   PercentOff(9615.38, 9600) -> +0.16
inline double PercentOff(double actual, double meant) {
  return (actual - meant) / meant * 100.0;
}

// How many bits a setting fixes: the more, the more specific.
int Weight(const FamilySetting& s);

// Whether all of b's bits are set.
bool IsSet(const RegisterState& state, const Bits& b);

int ValueOf(const RegisterState& state, const std::vector<ReloadPart>& parts);

// The last line that wrote any of a setting's registers.
int LastLine(const RegisterState& state, const FamilySetting& s);

// The most specific of the settings of one kind that `keep` leaves and the
// registers match, or nullptr.
template <typename Keep>
const FamilySetting* Best(const Family& family, const RegisterState& state,
                          SettingKind kind, Keep keep) {
  const FamilySetting* best = nullptr;
  for (const FamilySetting& s : family.settings) {
    if (s.kind != kind || !keep(s) || !Matches(state, s)) continue;
    if (best == nullptr || Weight(s) > Weight(*best)) best = &s;
  }
  return best;
}

}  // namespace mcs51::explain
