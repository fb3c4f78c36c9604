// explain on a 1 MiB C file against the C preprocessor on the same file:
// `baud51-cli explain 11.0592 FILE` and `cpp -P FILE -o /dev/null` run
// alternately, each timed from spawn to exit; medians. The file is
// firmware as it grows: register set-up every twelfth function, ordinary
// code, macros and comments between. Target: at most 1.5 times.
//   explain_bench [runs]   (default 21 of each)
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "bench/support/time_run.h"

extern char** environ;

namespace {

constexpr double kTarget = 1.5;
constexpr int kWarmUpRuns = 2;
constexpr std::size_t kBytes = std::size_t{1} << 20;

std::string Firmware() {
  std::string text =
      "sfr SCON = 0x98;\nsfr TMOD = 0x89;\nsfr TH1 = 0x8D;\nsfr TL1 = 0x8B;\n"
      "sbit TR1 = 0x8E;\n#define FOSC 11059200L\n#define BAUD 9600\n"
      "#define TICKS(ms) ((ms) * 10)\nunsigned char xdata buffer[64];\n";
  for (int i = 0; text.size() < kBytes - 600; ++i) {
    const std::string n = std::to_string(i);
    if (i % 12 == 0) {
      text += "/* Block " + n +
              ": serial port and timer set-up at 11.0592 MHz.\n"
              " * Mode 1, 8 data bits, the receiver on. */\n"
              "static void uart_init_" +
              n +
              "(void)\n{\n    SCON = 0x50;                      /* mode 1, "
              "REN */\n    TMOD = (TMOD & 0x0F) | 0x20;      /* Timer 1 mode "
              "2 */\n    TH1 = 256 - FOSC / 384 / BAUD;    // 9600 baud\n"
              "    TL1 = TH1;\n    TR1 = 1;\n}\n";
    } else {
      text += "// Work " + n +
              ": a checksum over the buffer, as the protocol needs it.\n"
              "static unsigned char sum_" +
              n +
              "(unsigned char n)\n{\n    unsigned char k, s = 0;\n"
              "    for (k = 0; k < n && k < sizeof buffer; k++) {\n"
              "        s += buffer[k] ^ (unsigned char)(" +
              n +
              " & 0xFF);\n        if (s > 200) s -= TICKS(3);\n    }\n"
              "    return s;\n}\n";
    }
  }
  return text + "void main(void) { uart_init_0(); }\n";
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
  char path[] = "/tmp/explain_bench_XXXXXX.c";
  const int fd = mkstemps(path, 2);
  if (fd < 0) return 1;
  close(fd);
  std::ofstream(path, std::ios::binary) << Firmware();
  char cli[] = BAUD51_CLI_EXE, explain[] = "explain", crystal[] = "11.0592";
  char cpp[] = "/usr/bin/cpp", plain[] = "-P", to[] = "-o",
       null[] = "/dev/null";
  char* const cli_argv[] = {cli, explain, crystal, path, nullptr};
  char* const cpp_argv[] = {cpp, plain, path, to, null, nullptr};
  char* const* const programs[2] = {cli_argv, cpp_argv};
  std::vector<bench::Sample> samples[2];
  const bool ran =
      bench::Alternate(programs, environ, runs, kWarmUpRuns, samples);
  std::remove(path);
  if (!ran) return 1;
  std::vector<double> wall[2];
  for (int p = 0; p < 2; ++p) {
    for (const bench::Sample& s : samples[p]) wall[p].push_back(s.milliseconds);
  }
  const double ratio = bench::Median(wall[0]) / bench::Median(wall[1]);
  std::printf("runs each: %d, medians, a %zu-byte file\n", runs, kBytes);
  std::printf(
      "wall: baud51-cli explain %.1f ms, cpp -P %.1f ms, ratio %.2f "
      "(target <= %.1f) %s\n",
      bench::Median(wall[0]), bench::Median(wall[1]), ratio, kTarget,
      ratio <= kTarget ? "ok" : "OVER");
  return ratio <= kTarget ? 0 : 1;
}
