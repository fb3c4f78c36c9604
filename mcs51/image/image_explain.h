#pragma once
// A built image explained: run from reset on s51, the writes it made to
// the family's serial and timer registers read back as explain reads
// pasted code, so that the answer is the same document, from what the
// compiler really built. A timer whose handler ran gets its measured
// period, and a finding the line the listing beside the image gives, or
// its code address.

#include <cstdint>
#include <string>
#include <string_view>

#include "mcs51/explain/explain.h"
#include "mcs51/image/listing.h"

namespace mcs51 {

enum class ImageFault : std::uint8_t {
  kNone,
  kHex,          // not a sound Intel HEX image (HexProblemText says why)
  kMissing,      // no simulator where it was looked for
  kEnded,        // the simulator ended or answered what it should not
  kWallClock,    // the run outlasted the guard on the host's time
  kNothingSetUp  // no serial or timer register written in the time run
};

struct ImageAsk {
  double frequency_mhz = 0.0;
  const explain::Family* family = nullptr;  // never null
  double tolerance_percent = 2.0;
  double sim_time_s = 1.0;
  std::string simulator = "s51";
  Listing listing = {};  // where the code came from, if known
};

struct ImageAnswer {
  ImageFault fault = ImageFault::kNone;
  std::string detail;  // one line saying what went wrong
  Explanation explanation;
};

// Which of s51's types runs a family, and whether its timing is the
// family's own (so that measured periods mean something).
//   SimulatorFor(8052)      -> {"8052", true, true}
//   SimulatorFor(ds80c320)  -> {"DS320", true, true}
//   SimulatorFor(stc15)     -> {"8052", false, false}
struct SimulatorFit {
  std::string_view type;
  bool own = false;
  bool timed = false;
};
SimulatorFit SimulatorFor(const explain::Family& family);

// The guard on the host's time for a run of `sim_time_s`: s51 runs an
// 8052 several times faster than the chip, and a second or two of its
// console's answers on top.
//   WallGuard(1) -> 13;  WallGuard(0.01) -> 3.1
double WallGuard(double sim_time_s);

// The image in the file `path`, whose text is `text`.
//   ExplainImage("uart.ihx", <SCON = 0x50; TMOD = 0x20; TH1 = 0xFD; TR1 = 1
//                built by SDCC>, {11.0592, 8052})
//       -> serial {SCON, t1 SMOD 0, FD, 9600 baud}, findings {}
//   ExplainImage("x.ihx", ":0100000000FE\n", ...)
//       -> kHex, "line 1: bad checksum"
ImageAnswer ExplainImage(const std::string& path, std::string_view text,
                         const ImageAsk& ask);

}  // namespace mcs51
