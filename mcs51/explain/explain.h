#pragma once
// Pasted init code explained: the registers it leaves behind, followed
// from their reset values, read back as the family's baud and tick
// settings, with what looks wrong in it. The settings are found by
// comparing the registers with what each setting's own code would write,
// so code baud51 wrote reads back as exactly the setting it was written
// for.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "mcs51/explain/explain_registers.h"
#include "mcs51/reading/code_reader.h"
#include "mcs51/reading/sources.h"
#include "mcs51/words/words.h"

namespace mcs51 {

// The kinds of finding, as JSON and the text name them.
enum class FindingKind : std::uint8_t {
  kNotStarted,       // a baud or ticking timer whose run bit is never set
  kTmodOverwrites,   // a plain TMOD = undoing the other timer's mode
  kReceiverOff,      // a UART in a timer-driven mode with REN clear
  kReloadInHandler,  // mode 0 or 1 reloaded by constants in its handler
  kNotAutoReload,    // a baud timer in a mode that does not reload
  kUnknownRegister,  // a register the family lacks
  kNoStandardRate,   // a rate beyond the tolerance of every standard one
  kUnresolved,       // code whose reading depends on what the paste lacks
  kWrongBit,         // a timer's overflow flag set for its run bit
  kUartNotSetUp,     // a baud-like timer for a port left in mode 0, or a
                     // timer that cannot clock the port
  kNoHandler,        // a non-reloading timer's interrupt with no handler
  kCommentSays,      // a comment's rate or period the values do not give
  kCrystalDiffers,   // the code's clock constant or comment, not FREQ
};

//   FindingKey(FindingKind::kNotStarted) -> "not-started"
std::string_view FindingKey(FindingKind kind);

// Every kind, in the order above.
std::span<const FindingKind> FindingKinds();

struct Finding {
  FindingKind kind;
  int line;             // what it points at, 1-based, in `file`
  std::string text;     // what is wrong and what to change
  std::string chinese;  // the same in Chinese
  std::string file;     // of several files read, its own; else ""
  int column = 0;       // 1-based where a front end knows it, else 0
  int address = -1;     // of a built image's code, where no line is known
  std::string_view In(Tongue tongue) const {
    return tongue == Tongue::kChinese ? chinese : text;
  }
};

// A serial port in a timer-driven mode, or in one of the classic 8051's
// fixed-rate modes (Intel MCS-51 User's Manual, Serial Interface: mode 0
// shifts at 1/12 of the oscillator frequency, mode 2 runs at 2^SMOD/64 of
// it). Without a setting or a fixed mode the port's mode is timer-driven
// but no generator of the family is set up for it.
//   SCON 0x00 at 12 MHz  -> fixed_mode 0, 1000000 baud
//   SCON 0x90 at 12 MHz, SMOD 1 -> fixed_mode 2, fixed_smod 1, 375000 baud
struct SerialUse {
  std::string uart;  // its control register: "SCON"
  const explain::FamilySetting* setting = nullptr;
  int fixed_mode = -1;    // 0 or 2 where the rate is fixed; no setting then
  int fixed_smod = -1;    // mode 2's SMOD
  int fixed_divisor = 0;  // FREQ over the rate: 12; 64 or 32
  int reload = 0;
  int step = -1;
  double actual_baud = 0.0;
  double nearest_baud = 0.0;   // of kStandardRates
  double error_percent = 0.0;  // to the nearest standard rate, signed
  bool receives = false;
  // The generator, or its reload, waits on what the code does not give:
  // no rate then (an unresolved finding says why).
  bool unresolved = false;
};

// How a timer's count starts again after an overflow.
enum class ReloadedBy : std::uint8_t { kHardware, kHandler, kNone };

//   ReloadedByKey(ReloadedBy::kHandler) -> "handler"
std::string_view ReloadedByKey(ReloadedBy reloaded_by);

// A timer given a run bit or an interrupt. Without a setting its mode is
// none the family's records know.
struct TimerUse {
  std::string timer;  // "t0"
  const explain::FamilySetting* setting = nullptr;
  int reload = 0;
  bool running = false;
  bool interrupt = false;  // its own enable and the enable of all
  ReloadedBy reloaded_by = ReloadedBy::kNone;
  double period_s = 0.0;  // between overflows; a one-shot's, to its one
  // A timer that does not reload counts on from 0 after its first
  // overflow: that one comes after first_period_s, the rest after
  // period_s (0 where they are the same).
  double first_period_s = 0.0;
  bool one_shot = false;    // started, then stopped again
  bool unresolved = false;  // its mode or reload waits: no period then
  // A built image's, on the simulator: the mean time between its handler's
  // entries, 0 where it was not measured.
  double measured_period_s = 0.0;
};

// How a built image was run: the simulator's type for the family, the
// time simulated from reset, and whether its timing is the family's.
struct Simulated {
  std::string type;  // "8052"
  double seconds = 0.0;
  bool timed = false;
};

struct Explanation {
  CodeProblem problem = CodeProblem::kNone;  // kNoWrites: none recognised
  Encoding encoding = Encoding::kUtf8;       // as the text was saved
  const explain::Family* family = nullptr;   // the family read for
  std::optional<Included> named_by;          // the header that named it, if one
  std::vector<SerialUse> serial;
  std::vector<TimerUse> timers;
  std::vector<Finding> findings;  // by line
  // What the reading took for granted, which is no finding: a clock name
  // defined nowhere taken as FREQ, a "…" header not found.
  std::vector<Finding> notes;  // their kind is kUnresolved
  std::string problem_file;    // of several files, the one with a problem
  std::optional<Simulated> simulated;  // a built image's run
};

// What `source` sets up on `family` at `frequency_mhz`, judged with
// `tolerance_percent` against the standard rates.
//   Explain("SCON = 0x50; TMOD = 0x20; TH1 = 0xFD; TR1 = 1;", 11.0592,
//           8052, 2)
//       -> serial {SCON, t1 SMOD 0, FD, 9600 baud}, timers {t1 mode 2},
//          findings {}
//   Explain("SCON = 0x40; TMOD = 0x20; TH1 = 0xFD;", 11.0592, 8052, 2)
//       -> findings {not-started line 1, receiver-off line 1}
//   Explain("hello", 12, 8052, 2) -> problem kNoWrites
// C is preprocessed as `compiler` does it. Without a family, the first
// maker's header the code includes names it, else the default one.
//   Explain("#include <N76E003.h>\nset_SMOD;", 16, nullptr, 2).family
//       -> n76e003, named_by {1, "N76E003.h", "n76e003"}
Explanation Explain(std::string_view source, double frequency_mhz,
                    const explain::Family* family, double tolerance_percent,
                    Compiler compiler = Compiler::kKeil);
// The same for a program's files, read as `build` gives them (ReadFiles).
// A clock name the code uses and defines nowhere stands for FREQ; where
// the code's own clock differs from FREQ, crystal-differs says so.
//   Explain({{"a.c", "#define FOSC 12000000L\nTH1 = 256 - FOSC/384/9600;"
//            ...}}, {}, 11.0592, ...)
//       -> finding crystal-differs on line 1: FOSC is 12 MHz
Explanation Explain(std::span<const SourceFile> files, const Build& build,
                    double frequency_mhz, const explain::Family* family,
                    double tolerance_percent);
// The same for a reading made elsewhere: its effects as they ran.
Explanation ExplainReading(const CodeReading& reading, double frequency_mhz,
                           const explain::Family& family,
                           double tolerance_percent);
inline Explanation Explain(std::string_view source, double frequency_mhz,
                           const explain::Family& family,
                           double tolerance_percent,
                           Compiler compiler = Compiler::kKeil) {
  return Explain(source, frequency_mhz, &family, tolerance_percent, compiler);
}

}  // namespace mcs51
