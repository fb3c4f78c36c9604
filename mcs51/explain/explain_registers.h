#pragma once
// A family's registers and settings as reading code back needs them: each
// register by name and address with its named bits, and each baud and tick
// setting as the bits its code fixes and the registers its reload sits in.
// Made from the catalogue's records (the inverse runs through the forward
// records, so a new family needs nothing here); explain.cpp sees only this.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "mcs51/hardware/kinds.h"

namespace mcs51 {

struct Setting;
struct TickSetting;

namespace explain {

struct NamedBit {
  std::string name;  // "TR1"
  int mask;          // 0x40
};

struct FamilyRegister {
  std::string name;  // "TCON"
  int address;       // 0x88
  int reset;         // the value after reset: 0, 0xFF for a port
  std::vector<NamedBit> bits;
};

// Some bits of one register: a mask and what they hold.
struct Bits {
  int address = -1;
  int mask = 0;  // 0: none
  int value = 0;
  std::string name;      // the register's: "TCON"
  std::string bit = {};  // a single bit's name, if it has one: "TR1"
};

// Where a reload's bits are: reload |= (register & mask) << shift.
struct ReloadPart {
  int address;
  int mask;
  int shift;
};

enum class SettingKind { kBaud, kTick };

struct FamilySetting {
  SettingKind kind = SettingKind::kBaud;
  const Setting* baud = nullptr;      // kBaud
  const TickSetting* tick = nullptr;  // kTick
  std::string label;  // baud: "t1: Timer 1 in mode 2"; tick: "t0"
  int timer = 0;      // the timer's number; 0 for a baud generator that is
                      // none (BRT, BG, S0REL)
  int clocks = 0;     // oscillator clocks per count
  int smod = -1;
  std::string mode;                    // tick: TickMode::key ("1", "2", "ar")
  bool hardware_reload = true;         // tick: false for mode 0 and 1
  double modulus = 256;                // counts to an overflow (R)
  const Kind* counting = &kinds::kUp;  // tick: modulo counts 0 ... the
                                       // register (T1CC0)
  std::vector<Bits> fixed;             // what the code fixes, to compare
  std::vector<ReloadPart> reload;
  std::vector<ReloadPart> step;  // a second field (STEP, BAUD_E), if any
  Bits run;         // the run bit, left out of `fixed`; mask 0 if unknown
  Bits enable;      // tick: the timer's own interrupt enable (ET0)
  Bits all;         // tick: the enable of all interrupts (EA)
  Bits receiver;    // baud: the UART's register and its receiver bit (REN)
  Bits mode_field;  // tick: the timer's field of TMOD, if it has one
  int vector = -1;  // tick: the interrupt number
  std::vector<int> count;  // tick: the count's registers a handler reloads
};

struct Family {
  std::string name;  // as --chip takes it
  std::string text;  // "classic 8052 (12 clocks)"
  std::vector<FamilyRegister> registers;
  std::vector<FamilySetting> settings;  // baud ones first
};

// The family --chip names (or an alias of it), or nullptr.
//   FindFamily("8052")->registers has T2CON at 0xC8
//   FindFamily("8051")->registers has no T2CON
const Family* FindFamily(std::string_view name);

// What explain reads without --chip: the catalogue's default family.
const Family& DefaultFamily();

// The families with a register of that name (upper case), in catalogue
// order.
//   FamiliesWith("T2L") -> {"1t", "stc8", "stc15"}
std::vector<std::string> FamiliesWith(std::string_view register_name);

// Whether any family has a register of that name (upper case): a name no
// family has is a variable. Asked once per write, so from a set.
//   IsSomeRegister("T2L") -> true;  IsSomeRegister("COUNT") -> false
bool IsSomeRegister(std::string_view register_name);

// The rate of a baud setting with its register values, 0 where they give
// none. The register holds reload and step as the code writes them.
//   BaudOf(8052 t1 SMOD 1, 11.0592, 0xFD, -1) -> 19200
double BaudOf(const FamilySetting& setting, double frequency_mhz, int reload,
              int step);

// The time between two overflows of a tick setting.
//   PeriodOf(8052 t0 mode 1, 12, 0xFC18) -> 0.001
//   PeriodOf(cc2530 t1 modulo /8, 32, 3999) -> 0.001
double PeriodOf(const FamilySetting& setting, double frequency_mhz, int reload);

}  // namespace explain
}  // namespace mcs51
