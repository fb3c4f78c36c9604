#include "mcs51/settings/peers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

namespace mcs51 {
namespace {

// The Linux drivers take whole rates: `make` gets the request clamped to
// low ... high and rounded to one, so that no conversion overflows. A
// request that is no number makes nothing.
template <typename Make>
std::optional<double> AtWhole(double baud, double low, double high, Make make) {
  if (std::isnan(baud)) return std::nullopt;
  return make(static_cast<std::uint64_t>(
      std::floor(std::clamp(baud, low, high) + 0.5)));
}

// FTDI AN232B-05, Configuring FT232R, FT2232 and FT232B Baud Rates, the
// note under its divisor formula: 3 MHz / (n + k/8), n 2 ... 16383, every
// eighth on both parts; divisors 0 and 1 give 3 and 2 MBaud, and
// sub-integer divisors between 0 and 2 are not allowed. Linux
// ftdi_sio.c, ftdi_232bm_baud_base_to_divisor(): the nearest eighth, 1.0
// sent as 0 and 1.5 as 1; 1.125 ... 1.875 otherwise go out as they are,
// and no document says what the chip makes of them.
std::optional<double> Ftdi(double baud) {
  constexpr double kEighthsPerBaud = 24e6;  // 3 MHz, in eighths of a divisor
  constexpr double kMostEighths = 16383 * 8 + 7;
  if (!(baud <= 3e6)) return std::nullopt;
  const double eighths = std::floor(kEighthsPerBaud / baud + 0.5);
  if (eighths > kMostEighths) return std::nullopt;  // below 183.1 baud
  if (eighths < 16 && eighths != 8 && eighths != 12) return std::nullopt;
  return kEighthsPerBaud / eighths;
}

// Linux ch341.c, ch341_get_divisor(): CH341_CLKRATE (48 MHz) /
// (2^(12 - 3 ps - fact) * div), the fastest prescaler whose divisor stays
// below 512, the divisor rounded down, then the next one if that comes
// closer.
std::optional<double> Ch340Speed(std::uint64_t speed) {
  constexpr std::uint64_t kClock = 48000000;
  const auto clock_divisor = [](int ps, int fact) -> std::uint64_t {
    return std::uint64_t{1} << (12 - 3 * ps - fact);
  };
  int ps = 3;
  while (ps > 0 && speed <= kClock / (clock_divisor(ps, 1) * 512)) --ps;
  std::uint64_t divisor = clock_divisor(ps, 1);
  std::uint64_t div = kClock / (divisor * speed);
  if (div < 9 || div > 255) {
    div /= 2;
    divisor *= 2;
  }
  if (div < 2) return std::nullopt;
  if (16 * kClock / (divisor * div) - 16 * speed >=
      16 * speed - 16 * kClock / (divisor * (div + 1))) {
    ++div;
  }
  return static_cast<double>(kClock) / static_cast<double>(divisor * div);
}

std::optional<double> Ch340(double baud) {
  return AtWhole(baud, 46, 3e6, Ch340Speed);
}

// Silicon Labs AN205 Rev. 0.3, Table 1: the highest request each fixed
// rate of the CP2101/2/3 answers; above 1053257 the rate is undefined.
struct FixedRate {
  double highest_request;
  double rate;
};
constexpr std::array<FixedRate, 29> kAn205Rates{{
    {300, 300},        {600, 600},       {1200, 1200},     {1800, 1800},
    {2400, 2400},      {4000, 4000},     {4803, 4800},     {7207, 7200},
    {9612, 9600},      {14428, 14400},   {16062, 16000},   {19250, 19200},
    {28912, 28800},    {38601, 38400},   {51558, 51200},   {56280, 56000},
    {58053, 57600},    {64111, 64000},   {77608, 76800},   {117028, 115200},
    {129347, 128000},  {156868, 153600}, {237832, 230400}, {254234, 250000},
    {273066, 256000},  {491520, 460800}, {567138, 500000}, {670254, 576000},
    {1053257, 921600},
}};

// The AN205 rate of a whole request's range, which the table gives as the
// rate itself; nothing above its last range, where the rate is undefined.
std::optional<double> An205Rate(std::uint64_t request) {
  const auto fixed = std::find_if(
      kAn205Rates.begin(), kAn205Rates.end(), [&](const FixedRate& each) {
        return static_cast<double>(request) <= each.highest_request;
      });
  if (fixed == kAn205Rates.end()) return std::nullopt;
  return fixed->rate;
}

// Linux cp210x.c, cp210x_init_max_speed(): a CP2102/3's request clamped to
// 300 ... 1000000, then cp210x_change_speed() sends the AN205 rate.
std::optional<double> Cp2102(double baud) {
  return AtWhole(baud, 300, 1e6, An205Rate);
}

// The same for the CP2105's SCI port, clamped to 2400 ... 921600:
// 74880 makes 76800, 1200 makes 2400.
std::optional<double> Cp2105Sci(double baud) {
  return AtWhole(baud, 2400, 921600, An205Rate);
}

// The CP2108: clamped to 300 ... 2000000; below 1000000 the AN205 rate,
// from there the request itself, as cp210x_change_speed() sends it.
std::optional<double> Cp2108(double baud) {
  return AtWhole(baud, 300, 2e6,
                 [](std::uint64_t request) -> std::optional<double> {
                   if (request >= 1000000) return static_cast<double>(request);
                   return An205Rate(request);
                 });
}

// Silicon Labs CP2104 data sheet Rev. 1.1, section 6.1, Equations 1 and 2,
// as Linux cp210x.c, cp210x_get_actual_rate() reckons them: 48 MHz /
// (2 * prescale * div), div rounded to the nearest, prescale 4 at 365 baud
// and below. The driver reckons so for the CP2104, the CP2105's ECI port
// and the CP2102N, clamping the request to 300 ... `most`.
std::optional<double> ActualRate(double baud, double most) {
  return AtWhole(
      baud, 300, most, [](std::uint64_t whole) -> std::optional<double> {
        const auto request = static_cast<double>(whole);
        const double prescale = request <= 365 ? 4 : 1;
        const double div = std::floor(48e6 / (2 * prescale * request) + 0.5);
        return 48e6 / (2 * prescale * div);
      });
}

std::optional<double> Cp2104(double baud) { return ActualRate(baud, 2e6); }
std::optional<double> Cp2102n(double baud) { return ActualRate(baud, 3e6); }

// Linux pl2303.c, pl2303_get_supported_baud_rate(): the rates sent as the
// rate itself. Prolific's data sheets print no table of what the chip
// then makes, so each is taken as exact.
constexpr std::array<std::uint64_t, 25> kPl2303Direct{
    75,     150,    300,    600,     1200,    1800,    2400,   3600,   4800,
    7200,   9600,   14400,  19200,   28800,   38400,   57600,  115200, 230400,
    460800, 614400, 921600, 1228800, 2457600, 3000000, 6000000};

// A divisor of 12 MHz * 32: mantissa * 2^(shift * exponent).
struct Pl2303Divisor {
  std::uint64_t mantissa_limit;
  int shift;
  int most_exponent;
};
// pl2303_encode_baud_rate_divisor() (HX): mantissa * 4^exponent.
constexpr Pl2303Divisor kHxDivisor{512, 2, 7};
// pl2303_encode_baud_rate_divisor_alt() (TA, TB): mantissa * 2^exponent.
constexpr Pl2303Divisor kTaDivisor{2048, 1, 15};

// pl2303_encode_baud_rate(): a whole request is sent as itself when it is
// a standard rate, else as a divisor.
std::optional<double> Pl2303Speed(std::uint64_t speed,
                                  const Pl2303Divisor& scheme) {
  constexpr std::uint64_t kBaseline = 12000000ULL * 32;
  if (std::find(kPl2303Direct.begin(), kPl2303Direct.end(), speed) !=
      kPl2303Direct.end()) {
    return static_cast<double>(speed);
  }
  std::uint64_t mantissa = std::max<std::uint64_t>(kBaseline / speed, 1);
  int exponent = 0;
  while (mantissa >= scheme.mantissa_limit) {
    if (exponent == scheme.most_exponent) {
      mantissa = scheme.mantissa_limit - 1;
      break;
    }
    mantissa >>= scheme.shift;
    ++exponent;
  }
  return static_cast<double>(kBaseline) /
         static_cast<double>(mantissa << (scheme.shift * exponent));
}

// Both the HX and the TA cap a request at 6000000 (max_baud_rate).
std::optional<double> Pl2303Hx(double baud) {
  return AtWhole(baud, 1, 6e6, [](std::uint64_t speed) {
    return Pl2303Speed(speed, kHxDivisor);
  });
}

std::optional<double> Pl2303Ta(double baud) {
  return AtWhole(baud, 1, 6e6, [](std::uint64_t speed) {
    return Pl2303Speed(speed, kTaDivisor);
  });
}

// The HXN (the driver's type "G") takes no divisor: every whole request is
// sent as itself, capped at 12000000 (no_divisors, max_baud_rate).
std::optional<double> Pl2303Hxn(double baud) {
  return AtWhole(baud, 1, 12e6,
                 [](std::uint64_t speed) -> std::optional<double> {
                   return static_cast<double>(speed);
                 });
}

std::optional<double> Exact(double baud) { return baud; }

constexpr std::string_view kFtdiSource =
    "FTDI AN232B-05: 3 MHz / (n + k/8), the nearest eighth; divisors 1 and "
    "1.5 give 3 and 2 MBaud, the others below 2 are not allowed and what "
    "they make is not known";
constexpr std::string_view kCp2102Aliases[] = {"cp210x"};

constexpr Peer kPeers[] = {
    {"ft232r", "FTDI FT232R", kFtdiSource, Ftdi},
    {"ft232bm", "FTDI FT232BM", kFtdiSource, Ftdi},
    {"ch340", "WCH CH340/CH341",
     "Linux ch341.c, ch341_get_divisor(): CH341_CLKRATE 48 MHz by prescaler "
     "and divisor",
     Ch340},
    {"cp2102", "Silicon Labs CP2101/2/3",
     "Silicon Labs AN205 Rev. 0.3 Table 1: the fixed rate of the request's "
     "range, taken as exact; Linux cp210x.c caps requests at 1 MBaud",
     Cp2102, kCp2102Aliases},
    {"cp2104", "Silicon Labs CP2104",
     "Silicon Labs CP2104 data sheet Rev. 1.1, 6.1: 48 MHz / (2 * prescale "
     "* divisor), the divisor rounded; Linux cp210x.c caps requests at 2 "
     "MBaud",
     Cp2104},
    {"cp2105-eci", "Silicon Labs CP2105, ECI port",
     "Linux cp210x.c: as the CP2104, 48 MHz / (2 * prescale * divisor), "
     "requests capped at 2 MBaud",
     Cp2104},
    {"cp2105-sci", "Silicon Labs CP2105, SCI port",
     "Linux cp210x.c: the AN205 Rev. 0.3 Table 1 rate, taken as exact, of "
     "the request clamped to 2400 ... 921600",
     Cp2105Sci},
    {"cp2108", "Silicon Labs CP2108",
     "Linux cp210x.c: below 1 MBaud the AN205 Rev. 0.3 Table 1 rate, taken "
     "as exact; from 1 MBaud to its 2 MBaud cap the request itself",
     Cp2108},
    {"cp2102n", "Silicon Labs CP2102N",
     "Linux cp210x.c: 48 MHz / (2 * prescale * divisor), the divisor "
     "rounded, as the CP2104; requests capped at 3 MBaud",
     Cp2102n},
    {"pl2303", "Prolific PL2303HX",
     "Linux pl2303.c: its 25 standard rates sent as the rate itself and "
     "taken as exact, no maker's table giving more; others 12 MHz * 32 / "
     "(mantissa * 4^exponent); requests capped at 6 MBaud",
     Pl2303Hx},
    {"pl2303ta", "Prolific PL2303TA",
     "Linux pl2303.c: as pl2303, but the others 12 MHz * 32 / (mantissa * "
     "2^exponent)",
     Pl2303Ta},
    {"pl2303hxn", "Prolific PL2303HXN",
     "Linux pl2303.c: no divisors, every request sent as itself and taken "
     "as exact, no maker's table giving more; capped at 12 MBaud",
     Pl2303Hxn},
    {"exact", "an ideal peer", "the requested rate itself", Exact},
};

}  // namespace

std::span<const Peer> Peers() { return kPeers; }

const Peer* FindPeer(std::string_view name) {
  for (const Peer& peer : kPeers) {
    if (peer.name == name) return &peer;
    // std::find: Emscripten's libc++ has no std::ranges::find.
    if (std::find(peer.aliases.begin(), peer.aliases.end(), name) !=
        peer.aliases.end()) {
      return &peer;
    }
  }
  return nullptr;
}

int FrameBits(Frame frame) { return frame == Frame::k8n1 ? 10 : 11; }

namespace {

// One clock pairing: a receiver bit `ratio` transmitter bits long. Bit n's
// middle sample falls (n + 1/2) * ratio after the start edge, plus up to
// 1/16 * ratio for the tick that saw it.
double MarginInBits(double ratio, int bits) {
  double worst = std::numeric_limits<double>::infinity();
  for (int n = 0; n < bits; ++n) {
    const double earliest = (n + 0.5) * ratio;
    const double latest = earliest + ratio / 16;
    worst = std::min({worst, earliest - n, (n + 1) - latest});
  }
  return worst;
}

}  // namespace

double SampleMarginPercent(double transmitter_baud, double receiver_baud,
                           Frame frame, double clock_ppm) {
  // The margin falls monotonically as the clocks part either way, so the
  // two corners of the tolerance bound it.
  const double p = clock_ppm * 1e-6;
  const double fast = (1 + p) / (1 - p);
  const double ratio = transmitter_baud / receiver_baud;
  const int bits = FrameBits(frame);
  const double worst = std::min(MarginInBits(ratio * fast, bits),
                                MarginInBits(ratio / fast, bits));
  return std::max(100 * worst, -100.0);
}

LinkMark LinkMarkOf(double margin_percent) {
  if (margin_percent >= 100.0 / 16) return LinkMark::kWorks;
  if (margin_percent > 0) return LinkMark::kMarginal;
  return LinkMark::kFails;
}

Link JudgeLink(const Peer& peer, double requested_baud, double actual_baud,
               Frame frame, double clock_ppm) {
  Link link{peer.actual(requested_baud), std::nullopt, std::nullopt,
            LinkMark::kFails};
  if (!link.peer_baud) return link;
  const double mismatch = (*link.peer_baud - actual_baud) / actual_baud * 100;
  if (std::isfinite(mismatch)) link.mismatch_percent = mismatch;
  const double margin = std::min(
      SampleMarginPercent(actual_baud, *link.peer_baud, frame, clock_ppm),
      SampleMarginPercent(*link.peer_baud, actual_baud, frame, clock_ppm));
  link.margin_percent = margin;
  link.mark = LinkMarkOf(margin);
  return link;
}

Link JudgeLink(const Peer& peer, double requested_baud, const Outcome& outcome,
               Frame frame, double clock_ppm) {
  if (!outcome.fits) {
    return {peer.actual(requested_baud), std::nullopt, std::nullopt,
            LinkMark::kFails};
  }
  return JudgeLink(peer, requested_baud, outcome.actual_baud, frame, clock_ppm);
}

}  // namespace mcs51
