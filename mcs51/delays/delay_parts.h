#pragma once
// What the two kinds of delay share, inside the library: the counting of
// n, in the same instructions either way.

#include <array>
#include <string_view>

#include "mcs51/hardware/cores.h"

namespace mcs51::delay_parts {

// n's count: DPH:DPL less one, by adding 0xFFFF, then whether it is zero.
// Constant time, so that every round takes the same. The JNZ goes back
// to the round.
inline constexpr std::array<Op, 8> kCount = {
    Op::kMovADir,  Op::kAddAImm, Op::kMovDirA, Op::kMovADir,
    Op::kAddcAImm, Op::kMovDirA, Op::kOrlADir, Op::kJnzTaken};
inline constexpr std::array<std::string_view, 8> kCountText = {
    "mov a,dpl",    "add a,#0xFF", "mov dpl,a", "mov a,dph",
    "addc a,#0xFF", "mov dph,a",   "orl a,dpl", "jnz "};

// Keil C51 passes n in R6 (high) and R7 (low); the count keeps it in DPTR.
inline constexpr std::array<std::string_view, 2> kKeilMoves = {"mov dpl,r7",
                                                               "mov dph,r6"};

}  // namespace mcs51::delay_parts
