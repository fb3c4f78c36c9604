#include "timers/cores.h"

#include <algorithm>

#include "timers/catalogue.h"
#include "timers/ranking.h"

namespace timers {
namespace {

constexpr std::string_view kNotRead =
    "the maker's instruction-timing table was not found, so its cycles are "
    "unknown";

// In Op's order: LCALL, RET, NOP, MOV Rn,#, DJNZ taken, DJNZ out, SJMP,
// MOV A,dir, ADD A,#, ADDC A,#, MOV dir,A, ORL A,dir, JNZ taken, JNZ out,
// MOV dir,Rn.
constexpr std::array<int, static_cast<int>(Op::kCount)> kMcs51Cycles = {
    2, 2, 1, 1, 2, 2, 2, 1, 1, 1, 1, 1, 2, 2, 2};

constexpr std::string_view kMcs51Source =
    "Atmel, 8051 Microcontroller Instruction Set (document 0509), the "
    "instruction tables' oscillator periods, 12 a machine cycle";

constexpr Core kClassic = {
    .key = "12-clock",
    .text = "classic 8051, 12 clocks per machine cycle",
    .clocks = 12,
    .source = kMcs51Source,
    .cycles = kMcs51Cycles,
};

// X2 halves the clocks of each machine cycle and changes nothing else.
constexpr Core kX2 = {
    .key = "6-clock",
    .text = "X2 core, 6 clocks per machine cycle",
    .clocks = 6,
    .source =
        "Atmel, 8051 Microcontroller Instruction Set (document 0509), "
        "machine cycles; Atmel AT89C51RD2/ED2 datasheet, X2 feature: 6 "
        "clocks a machine cycle",
    .cycles = kMcs51Cycles,
};

constexpr Core Refused(std::string_view key, std::string_view text, int clocks,
                       std::string_view refusal = kNotRead) {
  return {.key = key,
          .text = text,
          .clocks = clocks,
          .source = "none",
          .refusal = refusal};
}

constexpr Core kDallas = Refused("dallas-4-clock",
                                 "Dallas/Maxim high-speed core, 4 clocks per "
                                 "machine cycle",
                                 4);
constexpr Core kDs89 =
    Refused("ds89c4x0", "Maxim DS89C4x0 single-cycle core", 1);
constexpr Core kStc8 = Refused("stc8", "STC8 single-cycle core", 1);
constexpr Core kStc15 = Refused("stc15", "STC15 single-cycle core", 1);
constexpr Core kStc12 = Refused("stc12", "STC12 single-cycle core", 1);
constexpr Core kSingleCycle =
    Refused("1t", "single-cycle parts in general", 1,
            "single-cycle cores time their instructions each their own way: "
            "name the family with --chip");
constexpr Core kNuvoton = Refused("nuvoton", "Nuvoton 1T core", 1);
constexpr Core kCip51 = Refused("cip-51", "Silicon Labs CIP-51", 1);
constexpr Core kCh55x = Refused("ch55x", "WCH CH55x core", 1);
constexpr Core kAt89lp = Refused("at89lp", "Atmel AT89LP single-cycle core", 1);
constexpr Core kXc800 = Refused("xc800", "Infineon XC800 core", 2);
constexpr Core kC500 = Refused("c500", "Infineon C500 core", 12);
constexpr Core kLpc900 = Refused("lpc900", "NXP LPC900 core", 2);
constexpr Core kCc25 = Refused("cc25xx", "TI CC25xx 8051 core", 1);
constexpr Core kFx2 = Refused("fx2", "Cypress FX2 core", 4);
constexpr Core kNrf = Refused("nrf24le1", "Nordic nRF24LE1 core", 1);
constexpr Core kAduc = Refused("aduc84x", "ADuC84x single-cycle core", 1);

// Which core each family's parts run; the first is the default, a second
// is what --clock picks instead.
struct FamilyCores {
  std::string_view family;
  std::array<const Core*, 2> cores;
};

constexpr FamilyCores kFamilyCores[] = {
    {"", {&kClassic, &kX2}},           {"8051", {&kClassic, nullptr}},
    {"8052", {&kClassic, nullptr}},    {"x2", {&kClassic, &kX2}},
    {"at89c51rd2", {&kClassic, &kX2}}, {"1t", {&kSingleCycle, nullptr}},
    {"stc8", {&kStc8, nullptr}},       {"stc15", {&kStc15, nullptr}},
    {"stc12", {&kStc12, nullptr}},     {"n76e003", {&kNuvoton, nullptr}},
    {"ms51", {&kNuvoton, nullptr}},    {"efm8", {&kCip51, nullptr}},
    {"c8051f", {&kCip51, nullptr}},    {"ch552", {&kCh55x, nullptr}},
    {"ds80c320", {&kDallas, nullptr}}, {"ds89c4x0", {&kDs89, nullptr}},
    {"at89lp", {&kAt89lp, nullptr}},   {"xc886", {&kXc800, nullptr}},
    {"lpc900", {&kLpc900, nullptr}},   {"cc2530", {&kCc25, nullptr}},
    {"cc2510", {&kCc25, nullptr}},     {"fx2lp", {&kFx2, nullptr}},
    {"c517a", {&kC500, nullptr}},      {"nrf24le1", {&kNrf, nullptr}},
    {"aduc84x", {&kAduc, nullptr}},
};

const FamilyCores* Find(std::string_view chip) {
  std::string_view family = ChipName(chip);
  if (const Chip* found = FindChip(family)) family = found->name;
  const auto* found =
      std::find_if(std::begin(kFamilyCores), std::end(kFamilyCores),
                   [&](const FamilyCores& f) { return f.family == family; });
  return found == std::end(kFamilyCores) ? nullptr : found;
}

}  // namespace

int Cycles(const Core& core, Op op) {
  return core.cycles[static_cast<int>(op)];
}

const Core* CoreOf(std::string_view family, int clocks) {
  const FamilyCores* found = Find(family);
  if (found == nullptr) return nullptr;
  for (const Core* core : found->cores) {
    if (core != nullptr && (clocks == 0 || core->clocks == clocks)) {
      return core;
    }
  }
  return nullptr;
}

ClockList CoreClocks(std::string_view family) {
  ClockList list;
  const FamilyCores* found = Find(family);
  if (found == nullptr) return list;
  for (const Core* core : found->cores) {
    if (core != nullptr) list.clocks[list.count++] = core->clocks;
  }
  return list;
}

}  // namespace timers
