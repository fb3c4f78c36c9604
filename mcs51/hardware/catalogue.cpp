#include "mcs51/hardware/catalogue.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "mcs51/hardware/families/core_timers.h"

namespace mcs51 {
namespace {

// Every family, in catalogue order: one entry each, its records in its file
// under mcs51/hardware/families/.
// clang-format off
#define BAUD51_FAMILIES(X) \
  X(k8051)                 \
  X(k8052)                 \
  X(kX2)                   \
  X(k1t)                   \
  X(kStc8)                 \
  X(kStc15)                \
  X(kStc12)                \
  X(kN76e003)              \
  X(kMs51)                 \
  X(kEfm8)                 \
  X(kC8051f)               \
  X(kC8051f326)            \
  X(kCh552)                \
  X(kDs80c320)             \
  X(kDs89c4x0)             \
  X(kAt89lp)               \
  X(kXc886)                \
  X(kAt89c51rd2)           \
  X(kLpc900)               \
  X(kCc2530)               \
  X(kCc2510)               \
  X(kFx2lp)                \
  X(kC517a)                \
  X(kC515c)                \
  X(kNrf24le1)             \
  X(kAduc84x)              \
  X(kAduc831)
// clang-format on

}  // namespace

namespace families {
#define DECLARE(NAME) extern const Chip NAME;
BAUD51_FAMILIES(DECLARE)
#undef DECLARE
}  // namespace families

namespace {

bool Offers(const Fitted& fitted, View view) {
  return fitted.view == View::kBoth || fitted.view == view;
}

}  // namespace

std::span<const Chip> Chips() {
#define ENTRY(NAME) families::NAME,
  static const Chip chips[] = {BAUD51_FAMILIES(ENTRY)};
#undef ENTRY
  return chips;
}

std::string_view ChipName(std::string_view chip) {
  return chip.substr(0, chip.find(':'));
}

std::string_view GeneratorKey(std::string_view chip) {
  const std::size_t colon = chip.find(':');
  return colon == chip.npos ? std::string_view() : chip.substr(colon + 1);
}

const Chip* FindChip(std::string_view name) {
  for (const Chip& chip : Chips()) {
    if (chip.name == name) return &chip;
    for (std::string_view alias : chip.aliases) {
      if (alias == name) return &chip;
    }
  }
  return nullptr;
}

FoundHeader FindHeader(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::string_view file =
      slash == path.npos ? path : path.substr(slash + 1);
  auto same = [&](std::string_view name) {
    return std::equal(file.begin(), file.end(), name.begin(), name.end(),
                      [](char a, char b) {
                        return std::tolower(static_cast<unsigned char>(a)) ==
                               std::tolower(static_cast<unsigned char>(b));
                      });
  };
  for (const Chip& chip : Chips()) {
    for (const Header& header : chip.headers) {
      if (std::any_of(header.files.begin(), header.files.end(), same)) {
        return {&chip, &header};
      }
    }
  }
  return {};
}

std::vector<FittedMode> BaudModes(const Chip& chip) {
  std::vector<FittedMode> modes;
  for (const Fitted& fitted : chip.units) {
    if (!Offers(fitted, View::kBaud)) continue;
    for (const BaudMode& mode : fitted.unit->bauds) {
      modes.push_back({fitted.unit, &mode});
    }
  }
  return modes;
}

std::vector<const Unit*> TickUnits(const Chip& chip) {
  std::vector<const Unit*> units;
  for (const Fitted& fitted : chip.units) {
    if (Offers(fitted, View::kTick) && !fitted.unit->ticks.empty()) {
      units.push_back(fitted.unit);
    }
  }
  return units;
}

std::string_view TimerDocument(const Chip& chip) {
  return chip.timer_sources ? chip.timer_sources->document : chip.document;
}

Evidence TimerEvidence(const Chip& chip) {
  return chip.timer_sources ? chip.timer_sources->evidence : chip.evidence;
}

std::string_view TimerClock(const Chip& chip) {
  return chip.timer_sources ? chip.timer_sources->clock : chip.clock;
}

const Words& TimerNote(const Chip& chip) {
  return chip.timer_sources ? chip.timer_sources->note : chip.note;
}

const Register& FindRegister(const Chip& chip, std::string_view name) {
  for (const Register& reg : chip.registers) {
    if (reg.name == name) return reg;
  }
  for (const Register& reg : families::k8052Registers) {
    if (reg.name == name) return reg;
  }
  throw std::logic_error(
      fmt::format("no address for register {} of {}", name, chip.name));
}

bool IsOwn(const Chip& chip, const Register& reg) {
  return std::any_of(chip.registers.begin(), chip.registers.end(),
                     [&](const Register& own) { return &own == &reg; });
}

}  // namespace mcs51
