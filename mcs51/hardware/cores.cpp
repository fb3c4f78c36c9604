#include "mcs51/hardware/cores.h"

#include <span>

#include "mcs51/hardware/catalogue.h"

namespace mcs51 {
namespace {

// Without --chip: the classic core, or with --clock 6 the X2 parts'.
constexpr const Core* kDefaultCores[] = {&kClassicCore, &kX2Core};

std::span<const Core* const> CoresOf(std::string_view chip) {
  if (chip.empty()) return kDefaultCores;
  const Chip* found = FindChip(ChipName(chip));
  if (found == nullptr) return {};
  return found->cores;
}

}  // namespace

int Cycles(const Core& core, Op op) {
  return core.cycles[static_cast<int>(op)];
}

const Core* CoreOf(std::string_view family, int clocks) {
  for (const Core* core : CoresOf(family)) {
    if (clocks == 0 || core->clocks == clocks) {
      return core;
    }
  }
  return nullptr;
}

ClockList CoreClocks(std::string_view family) {
  ClockList list;
  for (const Core* core : CoresOf(family)) {
    if (list.count < static_cast<int>(list.clocks.size())) {
      list.clocks[list.count++] = core->clocks;
    }
  }
  return list;
}

}  // namespace mcs51
