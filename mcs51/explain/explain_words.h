#pragma once
// explain's words, people's, in English and Chinese: the findings'
// sentences, why a paste gave nothing, and the lines of a port or a timer.
// The command line's text and the page both render these; each is written
// here once.

#include <fmt/format.h>

#include <string>
#include <string_view>
#include <utility>

#include "mcs51/explain/explain.h"
#include "mcs51/words/words.h"

namespace mcs51 {

// How each finding is said. Unknown registers have three: no family has
// the register, one has, several have.
enum class FindingSentence : std::uint8_t {
  kNotStarted,        // {0} timer, {1} the statement that starts it
  kTmodOverwrites,    // {0} register {1} own bits {2} timer {3} line {4} mask
  kReceiverOff,       // {0} the UART's register, {1} its receiver bit
  kReloadInHandler,   // {0} timer, {1} mode, {2} fewest cycles
  kNotAutoReload,     // {0} timer, {1} mode, {2} the setting that reloads
  kUnknownElsewhere,  // {0} name, {1} family
  kUnknownInOne,      // {0} name, {1} family, {2} the one, {3} its key
  kUnknownInSome,     // {0} name, {1} family, {2} them, {3} the first key
  kNoStandardRate,    // {0} baud, {1} error, {2} nearest, {3} tol, {4} MHz
  kFixedRate,         // {0} divisor, {1} baud, {2} error, {3} nearest, {4} tol
  kUndefinedName,     // {0} the name an #if depends on
  kNoCondition,       // an #if no compiler could work out
  kWrongBit,          // {0} the flag set, {1} timer, {2} what starts it
  kWaitsOn,           // {0} register, {1} the name its value waits on
  kRunTimeValue,      // {0} register
  kUnreadableNumber,  // {0} register, {1} the literal as written
  kPortNeverWritten,  // {0} timer, {1} baud, {2} port, {3} a value for it
  kPortInModeZero,    // {0} timer, {1} baud, {2} port, {3} a value for it
  kCannotClock,       // {0} timer, {1} port, {2} the timers that can
  kNoHandler,         // {0} timer, {1} mode, {2} interrupt, {3} vector
  kCommentRate,       // {0} said, {1} baud, {2} MHz, {3} off
  kCommentPeriod,     // {0} said, {1} period, {2} MHz, {3} off
  kCrystalConstant,   // {0} the clock's name, {1} its MHz, {2} FREQ's
  kCrystalComment,    // {0} the comment's MHz, {1} FREQ's
};
//   SentenceWords(FindingSentence::kNotStarted).en
//       -> "Timer {0} is set up but never started: add {1} after this line"
Words SentenceWords(FindingSentence sentence);

// A finding said in both tongues.
//   Found(kNotStarted, 3, FindingSentence::kNotStarted, 1, "TR1 = 1;").text
//       -> "Timer 1 is set up but never started: add TR1 = 1; after this
//          line"
template <typename... Args>
Finding Found(FindingKind kind, int line, FindingSentence sentence,
              const Args&... args) {
  Said said = Say(SentenceWords(sentence), args...);
  return {kind, line, std::move(said.en), std::move(said.zh), {}, 0};
}

// What a kind of finding is about, for a rule's description.
//   KindWords(FindingKind::kNotStarted).en
//       -> "a baud or tick timer whose run bit is never set"
Words KindWords(FindingKind kind);

// A setting's label, its generator's words in each tongue.
//   8052 t1: {"t1: Timer 1 in mode 2", "t1: 定时器 1 方式 2"};  tick "t0"
Said LabelOf(const explain::FamilySetting& setting);

// Why a paste gave nothing; {} stands for the family's text.
//   ProblemWords(CodeProblem::kEmpty).en -> "empty: no code to read"
Words ProblemWords(CodeProblem problem);

// The report's parts: its heading ({0} MHz, {1} family, {2} chip, {3}
// tolerance), the three lists' names and what each says when empty, and
// a finding's line ({}).
struct ExplainReportWords {
  Words heading, serial, serial_none, timers, timers_none, findings,
      findings_none, line, notes;
  Words named_by;  // {0} chip, {1} header, {2} line
  Words assumed;   // {0} a clock's name, {1} the value it was given
  Words missing;   // {0} a header not found
  Words note;      // {} a note, in a list of findings
};
const ExplainReportWords& ReportWords();

// A built image's run, which only the command line says (the page's code
// has none of it): {0} s51's type, {1} the time simulated; a family s51
// has no model of ({0} the type run); where the program stopped ({0}
// address, {1} why); a finding's place in code with no listing ({}), and
// the note that there is none; a handler's measured period ({0}
// measured, {1} off, {2} the reload's).
struct ImageReportWords {
  Words simulated, simulated_other, stopped, address, no_listing, measured;
};
const ImageReportWords& ImageWords();

// A timer's measured period against its reload's, or nothing unmeasured.
//   {measured 1.0189 ms, period 1.0004 ms}
//       -> "measured on s51: 1.0189 ms between the handler's entries,
//          +1.84 % from the reload's 1.0004 ms"
Said MeasuredText(const TimerUse& use);

// A port or a timer as people read it: its name, what it is, and (for a
// port driven by a generator) the rate it makes.
//   {"SCON", "t1: Timer 1 in mode 2", "12 clocks per count, SMOD 0,
//    reload FD: 9600.00 baud, 0.00 % from 9600; receiver on"}
//   {"SCON", "timer-driven mode, no generator set up; receiver off", ""}
//   {"t0", "mode 1, 12 clocks per count, reload FC18: 1.0000 ms per
//    overflow; running, interrupt on; reloaded by handler", ""}
struct UseText {
  std::string name, what, detail;
};
UseText SerialText(const SerialUse& use, Tongue tongue);
UseText TimerText(const TimerUse& use, Tongue tongue);

}  // namespace mcs51
