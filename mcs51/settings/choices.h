#pragma once
// The words a filter takes, as every front end offers them: the timers,
// clocks and tick modes of the settings a family leaves, the families'
// names, the peers' names, and the clocks per cycle of a family's cores.
// A new family or peer changes them here only.

#include <string>
#include <string_view>
#include <vector>

namespace mcs51 {

// The timers or the clocks of the settings `chip` leaves (without one,
// the classic settings'; an unknown chip leaves none): timers from the
// lowest, clocks from the most. With `ticks`, of the tick settings.
//   TimerWords("", false) -> {"1", "2"};  TimerWords("", true) -> {"0", "1",
//   "2"}
//   ClockWords("stc15", false) -> {"12", "1"}
std::vector<std::string> TimerWords(std::string_view chip, bool ticks);
std::vector<std::string> ClockWords(std::string_view chip, bool ticks);

// The counting modes of the tick settings `chip` leaves, in their order.
//   ModeWords("") -> {"0", "1", "2", "ar", ...}
std::vector<std::string> ModeWords(std::string_view chip);

// Every family's name and aliases, then "all".
//   ChipWords() -> {"8051", "8052", ..., "all"}
std::vector<std::string> ChipWords();

// Every peer's name and aliases.
//   PeerWords() -> {"ft232r", ..., "cp2102", "cp210x", ...}
std::vector<std::string> PeerWords();

// The peers as a sentence names them, each alias beside its peer.
//   PeerChoices() -> "ft232r, ..., cp2102 (also as cp210x), ... or exact"
std::string PeerChoices();

// The clocks per cycle of the cores `chip`'s parts run (no chip: the
// classic core's 12 and X2's 6); none for an unknown chip.
//   CoreClockWords("") -> {"12", "6"};  CoreClockWords("8051") -> {"12"}
std::vector<std::string> CoreClockWords(std::string_view chip);

// Whether `chip` ("stc15:t2") names one of a family's generators: of its
// baud-rate settings, or with `ticks` its tick settings.
//   IsGenerator("stc15:t2", false) -> true;  IsGenerator("stc15:x", false)
//   -> false
bool IsGenerator(std::string_view chip, bool ticks);

}  // namespace mcs51
