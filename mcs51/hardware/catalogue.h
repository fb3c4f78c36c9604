#pragma once
// The catalogue: every family of families/, in order, and what each
// offers: its baud modes, its tick units, its registers and its sources.

#include <array>
#include <span>
#include <string_view>
#include <vector>

#include "mcs51/hardware/model.h"

namespace mcs51 {

// Every family, in catalogue order (the classic core's records first).
//   Chips().front().name -> "8051"
std::span<const Chip> Chips();

namespace families {
extern const Chip k8052;
extern const Chip kX2;
extern const Chip k1t;
}  // namespace families

// The families whose settings are the ones without --chip, in tie order:
// the 8052's, then the X2 parts', then the single-cycle parts'. The records
// themselves: Chips() holds copies, found by name.
inline constexpr std::array<const Chip*, 3> kDefaultFamilies{
    &families::k8052, &families::kX2, &families::k1t};

// The family code is read for without --chip, whose registers every other
// family's add to: the 8052.
inline constexpr const Chip* kDefaultFamily = kDefaultFamilies.front();

// The two halves of a family and one of its generators, "stc15:t2".
//   ChipName("stc15:t2") -> "stc15";  GeneratorKey("stc15:t2") -> "t2"
//   ChipName("all") -> "all";          GeneratorKey("all") -> ""
std::string_view ChipName(std::string_view chip);
std::string_view GeneratorKey(std::string_view chip);

// The family called `name`, by its name or one of its aliases, or nullptr.
//   FindChip("ch552")->family.en -> "WCH CH552, CH554"
//   FindChip("cc2541")->name  -> "cc2530"
//   FindChip("z80")           -> nullptr
const Chip* FindChip(std::string_view name);

// The family whose maker's header a path names, by its last part without
// case, and that header; {nullptr, nullptr} for none.
//   FindHeader("../inc/n76e003.H").chip->name -> "n76e003"
//   FindHeader("stdio.h").chip                -> nullptr
struct FoundHeader {
  const Chip* chip = nullptr;
  const Header* header = nullptr;
};
FoundHeader FindHeader(std::string_view path);

// A family's baud modes, each with its unit, in the family's order: what
// `chips` lists and --chip NAME:KEY picks from.
//   BaudModes(*FindChip("stc15"))[0].mode->key -> "t2"
struct FittedMode {
  const Unit* unit;
  const BaudMode* mode;
};
std::vector<FittedMode> BaudModes(const Chip& chip);

// A family's units in the tick view, in the family's order.
//   TickUnits(*FindChip("8052")).size() -> 3
std::vector<const Unit*> TickUnits(const Chip& chip);

// What a family's tick records rest on: its TimerSources' where it has
// them, else the family's own document, clock and note.
//   TimerDocument(*FindChip("8052")) -> FindChip("8052")->document
//   TimerClock(*FindChip("cc2530"))  -> "the timer tick: ..."
std::string_view TimerDocument(const Chip& chip);
Evidence TimerEvidence(const Chip& chip);
std::string_view TimerClock(const Chip& chip);
const Words& TimerNote(const Chip& chip);

// The address of the register called `name`: the family's own before the
// 8052's. Throws std::logic_error for a register neither has, a fault of
// the records.
//   FindRegister(*FindChip("stc15"), "AUXR").address -> 0x8E
//   FindRegister(*FindChip("8052"), "TH1").address   -> 0x8D
const Register& FindRegister(const Chip& chip, std::string_view name);

// Whether `reg` is the family's own rather than the 8052's.
bool IsOwn(const Chip& chip, const Register& reg);

}  // namespace mcs51
