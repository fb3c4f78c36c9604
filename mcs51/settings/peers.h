#pragma once
// The other end of the serial line: the USB-UART bridges a PC talks
// through, as records, each with the rate it really makes for a requested
// baud; and whether a link between two actual rates works, judged by how a
// classic UART receiver samples. Numbers only: no words a user reads but
// the records' names and sources.

#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "mcs51/settings/ranking.h"

namespace mcs51 {

struct Peer {
  std::string_view name;    // as --peer takes it: "ft232r"
  std::string_view part;    // "FTDI FT232R"
  std::string_view source;  // what its rate rests on
  // The rate the bridge makes when asked for `baud`; nothing when it cannot
  // make one near it.
  std::optional<double> (*actual)(double baud);
  // Other names --peer takes for it: "cp210x" for cp2102.
  std::span<const std::string_view> aliases = {};
};

// ft232r, ft232bm, ch340, cp2102, cp2104, cp2105-eci, cp2105-sci, cp2108,
// cp2102n, pl2303, pl2303ta, pl2303hxn, then exact (an ideal peer).
std::span<const Peer> Peers();

// The peer of that name or alias, or nullptr.
//   FindPeer("ch340")->part -> "WCH CH340/CH341";  FindPeer("x") -> nullptr
//   FindPeer("cp210x")->name -> "cp2102"
const Peer* FindPeer(std::string_view name);

// How far each end's clock may be off when nobody says, in ppm: a
// crystal's usual tolerance and drift together.
inline constexpr double kDefaultClockPpm = 100;

// The frame a link carries: start bit, data bits, parity, one stop bit.
enum class Frame { k8n1, k8e1, k9n1 };

// Each frame's key, in the order of Frame: kFrameKeys[int(Frame::k8e1)]
// is "8e1".
inline constexpr std::array<std::string_view, 3> kFrameKeys{"8n1", "8e1",
                                                            "9n1"};

// Bits a frame lasts on the line, start and stop bits included.
//   FrameBits(Frame::k8n1) -> 10;  FrameBits(Frame::k8e1) -> 11
int FrameBits(Frame frame);

// The receiver samples 16 ticks a bit and takes the majority of ticks 7, 8
// and 9 after the one that saw the start edge, which it sees up to one tick
// late. The worst distance of a middle sample (tick 8) to the nearer edge
// of its bit, over the frame and every phase of that tick, in percent of
// the transmitter's bit; negative when the sample falls outside its bit,
// never below -100. Each clock is off by up to `clock_ppm`, each in its
// worse direction.
//   SampleMarginPercent(9600, 9600, 8n1, 0)      -> 43.75
//   SampleMarginPercent(9615.38, 9600, 8n1, 0)   -> about 42.2
//   SampleMarginPercent(10416.67, 9600, 8n1, 0)  -> about -37.6
double SampleMarginPercent(double transmitter_baud, double receiver_baud,
                           Frame frame, double clock_ppm);

// How a direction's margin reads.
//   kWorks:    every middle sample at least 1/16 bit inside its bit
//   kMarginal: inside, with less to spare
//   kFails:    some middle sample on or beyond an edge
enum class LinkMark { kWorks, kMarginal, kFails };

//   LinkMarkOf(43.75) -> kWorks;  LinkMarkOf(3) -> kMarginal
//   LinkMarkOf(0) -> kFails
LinkMark LinkMarkOf(double margin_percent);

// Both directions between an 8051 sending at `actual_baud` and `peer` asked
// for `requested_baud`. A peer that cannot make the rate fails the link.
struct Link {
  std::optional<double> peer_baud;         // the peer's actual rate
  std::optional<double> mismatch_percent;  // (peer - 8051) / 8051
  std::optional<double> margin_percent;    // the worse direction's
  LinkMark mark;                           // the worse direction's
};
//   JudgeLink(ft232r, 9600, 9600, 8n1, 100)   -> {9600, 0, ~43.6, works}
//   JudgeLink(exact, 9600, 10416.67, 8n1, 0)  -> {9600, -7.84, .., fails}
Link JudgeLink(const Peer& peer, double requested_baud, double actual_baud,
               Frame frame, double clock_ppm);

// The link of a ranked setting. One out of range sends nothing, so its
// link fails with only the peer's rate known.
//   JudgeLink(ft232r, 19200, T1/1/12 FD at 11.0592, 8n1, 100)
//       -> {19200, 0, ~43.6, works}
//   JudgeLink(ft232r, 50, T1/0/12 out of range, 8n1, 100)
//       -> {50, nothing, nothing, fails}
Link JudgeLink(const Peer& peer, double requested_baud, const Outcome& outcome,
               Frame frame, double clock_ppm);

}  // namespace mcs51
