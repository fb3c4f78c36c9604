#include "timers/peers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "timers/answers.h"

namespace timers {
namespace {

// The Linux drivers take whole rates; a request is rounded to one, after
// clamping, so that no conversion overflows.
std::uint64_t Whole(double baud, double low, double high) {
  return static_cast<std::uint64_t>(
      std::floor(std::clamp(baud, low, high) + 0.5));
}

// 3 MHz / (n + k/8), n 2 ... 16383, or the divisors 1 and 1.5 (3 and 2
// MBaud), the nearest divisor as the Linux driver rounds it. FT232R and
// FT232B(M) alike take every eighth; only the older FT8U232AM lacks some.
std::optional<double> Ftdi(double baud) {
  constexpr double kEighthsPerBaud = 24e6;  // 3 MHz, in eighths of a divisor
  constexpr double kMostEighths = 16383 * 8 + 7;
  if (!(baud <= 3e6)) return std::nullopt;
  const double exact = kEighthsPerBaud / baud;
  double eighths = std::floor(exact + 0.5);
  if (eighths > kMostEighths) return std::nullopt;  // below 183.1 baud
  if (eighths < 16) eighths = exact < 10 ? 8 : exact < 14 ? 12 : 16;
  return kEighthsPerBaud / eighths;
}

// 48 MHz / (2^(12 - 3 ps - fact) * div), the prescaler and divisor the
// Linux driver picks: the fastest prescaler whose divisor stays below 512,
// the divisor rounded down, then the next one if that comes closer.
std::optional<double> Ch340(double baud) {
  constexpr std::uint64_t kClock = 48000000;
  const std::uint64_t speed = Whole(baud, 46, 3e6);
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

// Silicon Labs AN205, Table 1: the highest request each fixed rate of the
// CP2101/2/3 answers; above 1053257 the rate is undefined.
struct FixedRate {
  double highest_request;
  double rate;
};
constexpr std::array<FixedRate, 29> kCp210xRates{{
    {300, 300},        {600, 600},       {1200, 1200},     {1800, 1800},
    {2400, 2400},      {4000, 4000},     {4803, 4800},     {7207, 7200},
    {9612, 9600},      {14428, 14400},   {16062, 16000},   {19250, 19200},
    {28912, 28800},    {38601, 38400},   {51558, 51200},   {56280, 56000},
    {58053, 57600},    {64111, 64000},   {77608, 76800},   {117028, 115200},
    {129347, 128000},  {156868, 153600}, {237832, 230400}, {254234, 250000},
    {273066, 256000},  {491520, 460800}, {567138, 500000}, {670254, 576000},
    {1053257, 921600},
}};

// The fixed rate, made as the Linux driver reckons a CP210x's actual rate:
// 48 MHz / (2 * prescale * div), div rounded to the nearest, prescale 4 at
// 365 baud and below.
std::optional<double> Cp210x(double baud) {
  const auto fixed = std::find_if(
      kCp210xRates.begin(), kCp210xRates.end(),
      [&](const FixedRate& each) { return baud <= each.highest_request; });
  if (fixed == kCp210xRates.end()) return std::nullopt;
  const double prescale = fixed->rate <= 365 ? 4 : 1;
  const double div = std::floor(48e6 / (2 * prescale * fixed->rate) + 0.5);
  return 48e6 / (2 * prescale * div);
}

// 12 MHz * 32 / (mantissa * 4^exponent), mantissa below 512 and exponent
// at most 7, as the Linux driver encodes a divisor (PL2303HX, up to 12
// MBaud).
std::optional<double> Pl2303(double baud) {
  constexpr std::uint64_t kBaseline = 12000000ULL * 32;
  const std::uint64_t speed = Whole(baud, 1, 12e6);
  std::uint64_t mantissa = std::max<std::uint64_t>(kBaseline / speed, 1);
  int exponent = 0;
  while (mantissa >= 512) {
    if (exponent == 7) {
      mantissa = 511;
      break;
    }
    mantissa >>= 2;
    ++exponent;
  }
  return static_cast<double>(kBaseline) /
         static_cast<double>(mantissa << (2 * exponent));
}

std::optional<double> Exact(double baud) { return baud; }

constexpr Peer kPeers[] = {
    {"ft232r", "FTDI FT232R",
     "FTDI AN232B-05: 3 MHz / (n + k/8), the nearest divisor", Ftdi},
    {"ft232bm", "FTDI FT232BM",
     "FTDI AN232B-05: 3 MHz / (n + k/8), every eighth as on the FT232R", Ftdi},
    {"ch340", "WCH CH340/CH341",
     "the Linux driver's formula: 12 MHz by prescaler and divisor", Ch340},
    {"cp210x", "Silicon Labs CP2101/2/3",
     "AN205 Table 1's fixed rates, by the Linux driver's divider formula",
     Cp210x},
    {"pl2303", "Prolific PL2303HX",
     "the Linux driver's formula: 12 MHz * 32 / (mantissa * 4^exponent)",
     Pl2303},
    {"exact", "an ideal peer", "the requested rate itself", Exact},
};

}  // namespace

std::span<const Peer> Peers() { return kPeers; }

const Peer* FindPeer(std::string_view name) {
  for (const Peer& peer : kPeers) {
    if (peer.name == name) return &peer;
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

std::string_view LinkKey(LinkMark mark) { return RowOf(mark).key; }

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

}  // namespace timers
