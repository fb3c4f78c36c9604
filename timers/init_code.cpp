#include "timers/init_code.h"

#include <fmt/format.h>

#include "timers/code_parts.h"
#include "timers/text.h"

namespace timers {
namespace {

// Registers <8052.h> and <reg52.h> lack, declared for both compilers.
std::string Register(std::string_view name, int address) {
  return fmt::format(
      "#ifdef __SDCC\n__sfr __at(0x{0:02X}) {1};\n#else\nsfr {1} = 0x{0:02X};\n"
      "#endif\n",
      address, name);
}

}  // namespace

std::string InitCode(double frequency_mhz, double baud, const Outcome& outcome,
                     std::string_view writer) {
  if (outcome.setting->generator != nullptr) {
    return ChipInitCode(frequency_mhz, baud, outcome, writer);
  }
  const Setting& s = *outcome.setting;
  const std::string hex = ReloadHex(outcome.reload, s.profile.modulus);
  std::string code =
      CComment(HeaderLines(frequency_mhz, baud, outcome, writer)) +
      "#ifdef __SDCC\n#include <8052.h>\n#else\n"
      "#include <reg52.h> /* Keil C51 */\n#endif\n";

  std::string clock_line;
  if (s.clocks == 6) {
    code += "\n" + CComment(ClockNoteLines(6)) + Register("CKCON0", 0x8F);
    clock_line = "    CKCON0 |= 0x01;              /* X2 */\n";
  } else if (s.clocks == 1) {
    code += "\n" + CComment(ClockNoteLines(1)) + Register("AUXR", 0x8E);
    clock_line = "    AUXR |= 0x40;                /* T1x12 */\n";
  }

  code += "\nvoid uart_init(void)\n{\n";
  code += "    SCON = 0x50;                 /* mode 1, receiver on */\n";
  code += clock_line;
  if (s.timer == 1) {
    code += fmt::format(
        "    TMOD = (TMOD & 0x0F) | 0x20; /* Timer 1 in mode 2, Timer 0 "
        "kept */\n"
        "    TH1 = 0x{0};\n"
        "    TL1 = 0x{0};                  /* the first bit as long as the "
        "rest */\n"
        "{1}"
        "    TR1 = 1;\n",
        hex,
        s.smod == 1
            ? "    PCON |= 0x80;                /* SMOD = 1 doubles the rate "
              "*/\n"
            : "    PCON &= 0x7F;                /* SMOD = 0 */\n");
  } else {
    code += fmt::format(
        "    T2CON = 0x00;                /* stopped while it is loaded */\n"
        "    RCAP2H = 0x{0};\n"
        "    RCAP2L = 0x{1};\n"
        "    TH2 = 0x{0};\n"
        "    TL2 = 0x{1};\n"
        "    T2CON = 0x34;                /* RCLK, TCLK, TR2: Timer 2 clocks "
        "both ways */\n",
        hex.substr(0, 2), hex.substr(2));
  }
  code += "}\n";
  return code;
}

}  // namespace timers
