#include "mcs51/image/simulator.h"

#include <fmt/format.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <set>
#include <tuple>
#include <utility>

#include "calc/conversions.h"
#include "mcs51/image/console.h"

namespace mcs51 {
namespace {

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == text.npos) return {};
  const std::size_t last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

// A number in C's hex ("0xa5") or decimal, from the text's start; -1 if
// none.
std::int64_t NumberAt(std::string_view text, std::size_t& at) {
  int base = 10;
  if (text.substr(at, 2) == "0x") {
    base = 16;
    at += 2;
  }
  std::int64_t value = -1;
  for (; at < text.size(); ++at) {
    const int digit = calc::DigitValue(text[at], base);
    if (digit < 0) break;
    value = std::max<std::int64_t>(value, 0);
    if (value > (std::int64_t{1} << 52)) return -1;  // no s51 number
    value = value * base + digit;
  }
  return value;
}

std::int64_t NumberAfter(std::string_view text, std::string_view mark) {
  std::size_t at = text.find(mark);
  if (at == text.npos) return -1;
  at += mark.size();
  return NumberAt(text, at);
}

}  // namespace

SimStop ReadStop(std::string_view reply) {
  SimStop stop;
  const std::size_t at = reply.find("Stop at ");
  if (at != reply.npos) {
    std::size_t p = at + 8;
    stop.pc = static_cast<int>(NumberAt(reply, p));
    const std::size_t open = reply.find('(', p);
    if (open != reply.npos) {
      std::size_t q = open + 1;
      stop.reason = static_cast<int>(NumberAt(reply, q));
      const std::size_t end = reply.find('\n', q);
      stop.text = Trimmed(reply.substr(q + 1, end - q - 1));
    }
  }
  const std::size_t event = reply.find("Event `write' at ");
  if (event == reply.npos) return stop;
  std::size_t p = event + 17;
  const std::size_t bracket = reply.find('[', p);
  if (bracket == reply.npos) return stop;
  stop.space = reply.substr(p, bracket - p);
  p = bracket + 1;
  stop.address = static_cast<int>(NumberAt(reply, p));
  p = reply.find("]: ", p);
  if (p == reply.npos) return stop;
  p += 3;
  stop.writer = static_cast<int>(NumberAt(reply, p));
  // The disassembly ends the line before "F 0x...", after the writer's
  // address and its bytes (a label's line may come between).
  const std::size_t f = reply.find("\nF 0x", p);
  const std::string_view before = reply.substr(0, f);
  const std::size_t start = before.rfind('\n');
  const std::string_view line =
      before.substr(start == before.npos ? 0 : start + 1);
  const std::string mark = fmt::format("0x{:04x}", stop.writer);
  std::size_t word = line.find(mark);
  if (word == line.npos) return stop;
  word += mark.size();
  for (;;) {
    word = line.find_first_not_of(' ', word);
    if (word == line.npos) return stop;
    const std::size_t end_of = line.find(' ', word);
    const std::string_view token = line.substr(word, end_of - word);
    if (token.size() != 2 ||
        token.find_first_not_of("0123456789abcdef") != token.npos) {
      break;
    }
    word = end_of;
  }
  stop.instruction = Trimmed(line.substr(word));
  return stop;
}

int ReadSfr(std::string_view reply) {
  const std::size_t colon = reply.find(":");
  if (colon == reply.npos) return -1;
  const std::size_t hex = reply.find(" 0x", colon);
  if (hex == reply.npos) return -1;
  std::size_t at = hex + 1;
  const std::int64_t value = NumberAt(reply, at);
  return value >= 0 && value <= 0xFF ? static_cast<int>(value) : -1;
}

int ActiveHandler(std::string_view reply) {
  const std::size_t head = reply.find("Active interrupt service");
  if (head == reply.npos) return -1;
  int handler = -1;
  // Each service's line: priority, handler, PC, source; the last is the
  // innermost.
  std::size_t at = reply.find('\n', reply.find('\n', head) + 1);
  while (at != reply.npos && at + 1 < reply.size()) {
    const std::size_t end = reply.find('\n', at + 1);
    const std::string_view line = reply.substr(at + 1, end - at - 1);
    const std::size_t hex = line.find("0x");
    if (hex != line.npos) {
      std::size_t p = hex;
      handler = static_cast<int>(NumberAt(line, p));
    }
    at = end;
  }
  return handler;
}

int ImmediateOf(std::string_view instruction) {
  if (!instruction.starts_with("MOV ")) return -1;
  const std::size_t hash = instruction.rfind(",#");
  if (hash == instruction.npos) return -1;
  std::size_t at = hash + 2;
  const std::int64_t value = NumberAt(instruction, at);
  return value >= 0 && value <= 0xFF ? static_cast<int>(value) : -1;
}

std::map<int, int> ReadSfrs(std::string_view reply) {
  std::map<int, int> values;
  for (std::size_t at = 0; at < reply.size();) {
    std::size_t end = reply.find('\n', at);
    if (end == reply.npos) end = reply.size();
    const std::string_view line = reply.substr(at, end - at);
    at = end + 1;
    // "0x98 SCON:  0b01010000 0x50 ..." for a register s51's type names,
    // "0xc4      28 ." for one it does not; the echo of a command s51 read
    // meanwhile may come first.
    const std::size_t colon = line.find(':');
    std::size_t p =
        colon != line.npos ? line.rfind("0x", colon) : line.find("0x");
    if (p == line.npos) continue;
    const std::int64_t address = NumberAt(line, p);
    int value = -1;
    if (colon != line.npos) {
      value = ReadSfr(line);
    } else {
      const std::size_t digits = line.find_first_not_of(' ', p);
      std::string hex = "0x";
      if (digits != line.npos) hex += line.substr(digits, 2);
      std::size_t q = 0;
      const std::int64_t read = hex.size() == 4 ? NumberAt(hex, q) : -1;
      value = q == 4 && read >= 0 ? static_cast<int>(read) : -1;
    }
    if (address >= 0x80 && address <= 0xFF && value >= 0 && value <= 0xFF)
      values[static_cast<int>(address)] = value;
  }
  return values;
}

namespace {

constexpr int kStepped = 109;
constexpr int kBreakpoint = 104;
constexpr int kEvent = 112;
constexpr int kJumpToItself = 113;
constexpr int kTimedEntries = 12;
constexpr int kWatchedHits = 4;
constexpr int kAccumulator = 0xE0;
constexpr int kMarks = 0x7A000000;  // 2046820352 on: no address or count
// Steps a batch: s51 answers a batch at once, where it looks at its input
// only every tenth of a second once it has none.
constexpr int kBatch = 40;
constexpr std::int64_t kMostPerStep = 200000;
// Instructions take 12 to 48 clocks on the 8052: steps of the mean keep
// a batch near the time asked.
constexpr std::int64_t kMeanClocksPerInstruction = 24;

class Run {
 public:
  Run(Console& console, const SimAsk& ask, SimRun& out)
      : console_(console), ask_(ask), out_(out) {
    query_ = "get sfr";
    for (const int address : ask_.bytes) {
      query_ += fmt::format(" 0x{:02x}", address);
      queued_ += fmt::format("break sfr w 0x{:02x}\n", address);
      breakpoints_[{false, address}] = ++numbered_;
    }
    query_ += fmt::format(" 0x{:02x}\n", kAccumulator);
    for (const int bit : ask_.bits) {
      queued_ += fmt::format("break bits w 0x{:02x}\n", bit);
      breakpoints_[{true, bit}] = ++numbered_;
    }
    queued_ += "set option selfjump_stop 1\n";
  }

  void Go() {
    const auto budget =
        static_cast<std::int64_t>(ask_.sim_time_s * ask_.frequency_mhz * 1e6);
    while (out_.clocks < budget && out_.stopped.empty() && !settled_) {
      const std::int64_t steps = std::clamp<std::int64_t>(
          (budget - out_.clocks) / kMeanClocksPerInstruction / kBatch, 1,
          kMostPerStep);
      std::string batch = std::move(queued_);
      queued_.clear();
      std::vector<std::string> marks;
      Mark(batch, marks);  // what the queued commands said
      for (int i = 0; i < kBatch; ++i) {
        for (const std::string& command :
             {fmt::format("step {}\n", steps), std::string("timer get time\n"),
              query_, std::string("info hardware irq\n")}) {
          batch += command;
          Mark(batch, marks);
        }
      }
      std::vector<std::string> replies;
      const ConsoleStatus status = console_.Ask(batch, marks, replies);
      if (status != ConsoleStatus::kOk) {
        out_.fault = status == ConsoleStatus::kTimedOut ? SimFault::kWallClock
                                                        : SimFault::kEnded;
        out_.detail = replies.empty() ? std::string() : replies.back();
        return;
      }
      for (std::size_t r = 1; r + 3 < replies.size(); r += 4) {
        if (out_.clocks >= budget || !out_.stopped.empty() || settled_) break;
        const std::int64_t clocks = NumberAfter(replies[r + 1], "sec (");
        if (clocks < out_.clocks) {  // no clock: no s51 we know
          out_.fault = SimFault::kEnded;
          out_.detail = replies[r + 1];
          return;
        }
        out_.clocks = clocks;
        Stopped(replies[r], ReadSfrs(replies[r + 2]),
                ActiveHandler(replies[r + 3]));
      }
    }
  }

 private:
  void Queue(const std::string& command) { queued_ += command + "\n"; }

  // A command printing a number no command holds, in decimal where the
  // commands spell it in hex: where the reply before it ends.
  void Mark(std::string& batch, std::vector<std::string>& marks) {
    const int mark = kMarks + ++marked_;
    batch += fmt::format("expression 0x{:x}\n", mark);
    marks.push_back(fmt::format("{}\n", mark));
  }

  void Stopped(const std::string& reply, const std::map<int, int>& sfrs,
               int handler) {
    const SimStop stop = ReadStop(reply);
    out_.pc = stop.pc;
    if (stop.reason == kBreakpoint) {
      Entered(stop.pc);
    } else if (stop.reason == kEvent) {
      Written(stop, sfrs, handler);
    } else if (stop.reason == kJumpToItself) {
      // Waiting for nothing: the run is over, unless interrupts will come.
      // Waiting for interrupts: only they move it on, so stop no more.
      settled_ = timed_.empty();
      out_.settled = settled_;
      if (!settled_ && !waits_) Queue("set option selfjump_stop 0");
      waits_ = true;
    } else if (stop.reason != kStepped) {
      out_.stopped = stop.text.empty() ? reply : stop.text;
    }
    Enabled(sfrs);
  }

  // A handler's entries are timed from when its interrupt is enabled.
  void Enabled(const std::map<int, int>& sfrs) {
    for (const SimTimed& t : ask_.timed) {
      const auto value = sfrs.find(t.enable);
      if (value == sfrs.end() || (value->second & t.mask) != t.mask ||
          !timed_.insert(t.address).second) {
        continue;
      }
      Queue(fmt::format("break 0x{:04x}", t.address));
      ++numbered_;
    }
  }

  void Entered(int pc) {
    out_.entries.push_back({pc, out_.clocks});
    if (++entries_[pc] == kTimedEntries)
      Queue(fmt::format("clear 0x{:04x}", pc));
  }

  void Written(const SimStop& stop, const std::map<int, int>& sfrs,
               int handler) {
    SimWrite w{.clock = out_.clocks,
               .pc = stop.writer,
               .address = stop.address,
               .bit = stop.space == "bits",
               .instruction = stop.instruction};
    const int byte = w.bit ? (w.address & 0xF8) : w.address;
    const auto read = sfrs.find(byte);
    const int value = read == sfrs.end() ? -1 : read->second;
    w.value = w.bit && value >= 0 ? ((value >> (w.address & 7)) & 1) : value;
    if (!w.bit && std::find(ask_.counts.begin(), ask_.counts.end(),
                            w.address) != ask_.counts.end()) {
      // The timer may have counted on since: the value is the
      // instruction's own.
      w.value = ImmediateOf(w.instruction);
      const auto a = sfrs.find(kAccumulator);
      if (w.value < 0 && w.instruction.ends_with(",A") && a != sfrs.end())
        w.value = a->second;
    }
    w.known = w.value >= 0;
    w.vector = handler >= 3 && (handler - 3) % 8 == 0 ? (handler - 3) / 8 : -1;
    const std::tuple key{w.bit, w.address, w.pc};
    out_.writes.push_back(std::move(w));
    if (++hits_[key] == kWatchedHits) {
      Queue(fmt::format("delete {}",
                        breakpoints_[{std::get<0>(key), std::get<1>(key)}]));
    }
  }

  Console& console_;
  const SimAsk& ask_;
  SimRun& out_;
  std::string query_;
  std::string queued_;  // commands for the next batch, answered first
  int marked_ = 0;
  int numbered_ = 0;  // s51 numbers breakpoints as they are made
  bool settled_ = false;
  bool waits_ = false;  // for interrupts, in a jump to itself
  std::map<std::pair<bool, int>, int> breakpoints_;
  std::set<int> timed_;
  std::map<int, int> entries_;
  std::map<std::tuple<bool, int, int>, int> hits_;
};

}  // namespace

SimRun Simulate(const std::string& image, const SimAsk& ask) {
  SimRun out;
  const auto hz = static_cast<std::int64_t>(ask.frequency_mhz * 1e6 + 0.5);
  Console console(
      {ask.program, "-b", "-t", ask.type, "-X", fmt::format("{}", hz), image},
      std::chrono::duration<double>(ask.wall_s));
  if (!console.Started()) {
    out.fault = SimFault::kMissing;
    out.detail = console.Error();
    return out;
  }
  Run(console, ask, out).Go();
  return out;
}

}  // namespace mcs51
