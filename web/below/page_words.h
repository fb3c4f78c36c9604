#pragma once
// Every word the page shows below the window, in Chinese and in English:
// the one place they are written. The window above keeps its own Chinese
// words (window/words.h).

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "calc/reading.h"
#include "mcs51/answers/answers.h"
#include "mcs51/settings/ranking.h"
#include "mcs51/words/words.h"

namespace web {

// The page's words in Chinese or English: the answer model's tongue.
using mcs51::Tongue;

// As the link's `lang` holds it: "zh", "en".
std::string_view TongueKey(Tongue language);

// An element below the window and its text; an id no element has is a
// word the page's script keeps for itself ("said-copied").
struct ElementWord {
  std::string_view id;
  std::string_view text;
};

struct PageWords {
  std::string_view tag;                   // as HTML's lang takes it
  std::span<const ElementWord> elements;  // headings, labels, buttons
  // The settings table's header: the radio buttons' column, then the
  // answer model's headers (Heading).
  std::string_view choose;
  std::string_view caption;  // {0} MHz, {1} baud, {2} tolerance
  std::string_view row;      // a row's radio button: {} = its setting
  std::string_view classic, all, family_separator;
  std::string_view refused_out_of_range, refused_beyond;  // {} = error, tol
  std::string_view frequency, baud, tolerance, rates;     // the fields
  std::string_view unread;  // {0} field, {1} text, {2} problem, {3} advice
  std::string_view write;   // {} = what to type
  std::string_view frequency_example, baud_example, tolerance_example;
  std::string_view actual_label, error_label;           // the working's lines
  std::string_view rate, best, none, rank, mhz, worst;  // the two tables
  std::string_view rates_caption;     // {0} MHz, {1} tolerance
  std::string_view crystals_caption;  // {0} rates, {1} tolerance
  std::string_view clock_mode;        // {} = clocks per machine cycle
  // The timers' section: the period field and the tick table.
  std::string_view period, period_example;
  std::string_view ticks_caption;     // {0} MHz, {1} period, {2} tolerance
  std::string_view tick_refused;      // no row fits
  std::string_view tick_row_refused;  // the chosen row does not
  // The delay section: its time field, and why no code ({} = the reason).
  // "Every family" has no one core to count on.
  std::string_view delay_time, delay_example, delay_refused, delay_one_family;
  // How the delay written keeps its time: to the cycle, or by a timer ({0}
  // its number) with the instructions around its counts ({1} at most).
  std::string_view delay_by_cycles, delay_by_timer;
  // The other end of the line: the chooser, the table's four more columns
  // and their marks, and the caption's tail ({0} part, {1} source, {2} ppm).
  std::string_view no_peer, exact_peer, peer_baud, peer_caption;
  // Who signs the code the page writes: {} = the version.
  std::string_view writer;
  // The code-reading section: why nothing was read ({} = the reader's
  // reason), or that the crystal field does not read; what joins a
  // finding's line to its text.
  std::string_view read_problem, read_no_crystal, read_separator;
};

const PageWords& WordsOf(Tongue language);

// A column's header by its key, from the answer model's columns of
// FREQ BAUD and tick.
//   Heading("mark", kChinese)        -> "标记"
//   Heading("actual_baud", kEnglish) -> "actual baud"
std::string_view Heading(std::string_view key, Tongue tongue);

// Why a field's text could not be read strictly, what was found, and what
// to type: the text as Suggested reads it (a thousands' comma dropped, a
// decimal comma as a point, blanks and full-width forms gone) where that
// then reads, else an example.
//   Unread(baud, "9,600", kNotANumber, en)
//       -> "Baud rate: could not read “9,600” (not a number). Write 9600."
//   Unread(period, "1,5ms", kNotANumber, en) -> "... Write 1.5ms."
std::string Unread(std::string_view field, std::string_view text,
                   calc::ReadProblem problem, std::string_view example,
                   calc::Reading (*read)(std::string_view), Tongue language);

}  // namespace web
