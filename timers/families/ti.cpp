// TI's radios: the CC2530 (CC2531, CC2540, CC2541) and the CC2510
// (CC1110), USART0 as a UART.
#include "timers/families/core_timers.h"

namespace mcs51::families {
namespace {

// F * (256 + BAUD_M) * 2^BAUD_E / 2^28. U0CSR: MODE 0x80, RE 0x40; U0UCR:
// STOP 0x02 (a high stop bit); U0GCR: BAUD_E in bits 4 ... 0, ORDER 0 (LSB
// first).
constexpr double kK1[] = {1};
// clang-format off
#define U0_UART_WRITES                                                     \
  {.reg = "U0CSR", .value = 0x80, .comment = "UART mode, receiver off"},   \
  {.reg = "U0UCR", .value = 0x02, .comment = "8 bits, no parity, 1 stop"}, \
  {.reg = "U0GCR", .source = S::kStep, .comment = "BAUD_E, LSB first"},    \
  {.reg = "U0BAUD", .source = S::kReloadLow, .comment = "BAUD_M"},         \
  {.reg = "U0CSR", .value = 0xC0, .comment = "UART mode, receiver on"}
// clang-format on

// USART0's pins (TI's ioCC2530.h and ioCCxx10_bitdef.h: PERCFG 0xF1, U0CFG
// bit 0; P0SEL 0xF3; P1SEL 0xF4; CC253x/4x User's Guide SWRU191F, Table 7-1):
// location 1 (U0CFG 0, the reset value) is P0.2 RX, P0.3 TX; location 2
// (U0CFG 1) P1.4 RX, P1.5 TX. USART0 already comes first on port 0 at reset
// (P2DIR.PRIP0 00).
constexpr Write kAlt1Baud[] = {{.reg = "PERCFG",
                                .mask = 0x01,
                                .value = 0x00,
                                .comment = "U0CFG = 0: USART0 at location 1"},
                               {.reg = "P0SEL",
                                .mask = 0x0C,
                                .value = 0x0C,
                                .comment = "P0.2 RX, P0.3 TX to the USART"},
                               U0_UART_WRITES};
constexpr Write kAlt2Baud[] = {{.reg = "PERCFG",
                                .mask = 0x01,
                                .value = 0x01,
                                .comment = "U0CFG = 1: USART0 at location 2"},
                               {.reg = "P1SEL",
                                .mask = 0x30,
                                .value = 0x30,
                                .comment = "P1.4 RX, P1.5 TX to the USART"},
                               U0_UART_WRITES};
#undef U0_UART_WRITES
constexpr BaudMode kUartBauds[] = {
    {"u0", "USART0 as UART", 256, Counting::kMantissaExponent, false, kK1,
     kAlt1Baud, 0, "BAUD_E"},
    {"u0alt2", "USART0 as UART at location 2", 256, Counting::kMantissaExponent,
     false, kK1, kAlt2Baud, 0, "BAUD_E"}};
constexpr Unit kUsart0{
    .key = "u0", .number = 0, .clocks = kAt1, .bauds = kUartBauds};
constexpr Fitted kUnits[] = {{&kUsart0}};
constexpr Register kRegisters[] = {
    {"U0CSR", 0x86},  {"U0BAUD", 0xC2}, {"U0UCR", 0xC4}, {"U0GCR", 0xC5},
    {"PERCFG", 0xF1}, {"P0SEL", 0xF3},  {"P1SEL", 0xF4}};
// The system clocks these radios run their UART from.
constexpr double kCc2530Clocks[] = {16, 32};
constexpr double kCc2510Clocks[] = {13, 26};
constexpr std::string_view kCc2530Names[] = {"cc2531", "cc2540", "cc2541"};
constexpr std::string_view kCc2510Names[] = {"cc1110"};
// The system clock starts on the RC oscillator (CLKCONCMD, CLKCON OSC = 1).
constexpr std::string_view kCc2530Note[] = {
    "FREQ is the system clock selected: the 16 MHz RC oscillator from",
    "reset; the 32 MHz crystal once CLKCONCMD.OSC is cleared and",
    "CLKCONSTA.OSC reads 0."};
constexpr std::string_view kCc2510Note[] = {
    "FREQ is the system clock selected: the 13 MHz RC oscillator from",
    "reset; the 26 MHz crystal once CLKCON.OSC is cleared."};

}  // namespace

// The cores its parts run, for delays and the code's named core.
constexpr Core kCc25Core = RefusedCore("cc25xx", "TI CC25xx 8051 core", 1);
constexpr const Core* kCc25Cores[] = {&kCc25Core};

extern const Chip kCc2530;
constexpr Chip kCc2530{
    .name = "cc2530",
    .family = "TI CC2530, CC2531, CC2540, CC2541",
    .document =
        "TI's CC2430/CC2530 USART baud-rate formula (UxBAUD, UxGCR) "
        "and its table for a 32 MHz system clock",
    .evidence = Evidence::kPrintedTable,
    .units = kUnits,
    .registers = kRegisters,
    .internal_mhz = kCc2530Clocks,
    .note = kCc2530Note,
    .aliases = kCc2530Names,
    .clock =
        "the system clock CLKCONCMD.OSC has selected: the 16 MHz RC "
        "oscillator from reset, the 32 MHz crystal once OSC is cleared and "
        "CLKCONSTA.OSC reads 0",
    .cores = kCc25Cores};

extern const Chip kCc2510;
constexpr Chip kCc2510{
    .name = "cc2510",
    .family = "TI CC2510, CC1110",
    .document = "the CC2430/CC2530 USART's formula (U0BAUD, U0GCR)",
    .evidence = Evidence::kFormulaOnly,
    .units = kUnits,
    .registers = kRegisters,
    .internal_mhz = kCc2510Clocks,
    .note = kCc2510Note,
    .aliases = kCc2510Names,
    .clock =
        "the system clock CLKCON.OSC has selected: the 13 MHz RC "
        "oscillator from reset, the 26 MHz crystal (27 MHz on some CC1110 "
        "boards) once OSC is cleared",
    .cores = kCc25Cores};

}  // namespace mcs51::families
