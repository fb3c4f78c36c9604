// TI's radios: the CC2530 (CC2531, CC2540, CC2541) and the CC2510
// (CC1110), USART0 as a UART.
#include "timers/families/core_timers.h"

namespace timers::families {
namespace {

// F * (256 + BAUD_M) * 2^BAUD_E / 2^28. U0CSR: MODE 0x80, RE 0x40; U0UCR:
// STOP 0x02 (a high stop bit); U0GCR: BAUD_E in bits 4 ... 0, ORDER 0 (LSB
// first).
constexpr double kK1[] = {1};
constexpr Write kUartBaud[] = {
    {.reg = "U0CSR", .value = 0x80, .comment = "UART mode, receiver off"},
    {.reg = "U0UCR", .value = 0x02, .comment = "8 bits, no parity, 1 stop"},
    {.reg = "U0GCR", .source = S::kStep, .comment = "BAUD_E, LSB first"},
    {.reg = "U0BAUD", .source = S::kReloadLow, .comment = "BAUD_M"},
    {.reg = "U0CSR", .value = 0xC0, .comment = "UART mode, receiver on"}};
constexpr BaudMode kUartBauds[] = {{"u0", "USART0 as UART", 256,
                                    Counting::kMantissaExponent, false, kK1,
                                    kUartBaud, 0, "BAUD_E"}};
constexpr Unit kUsart0{
    .key = "u0", .number = 0, .clocks = kAt1, .bauds = kUartBauds};
constexpr Fitted kUnits[] = {{&kUsart0}};
constexpr Register kRegisters[] = {
    {"U0CSR", 0x86}, {"U0BAUD", 0xC2}, {"U0UCR", 0xC4}, {"U0GCR", 0xC5}};
// The system clocks these radios run their UART from.
constexpr double kCc2530Clocks[] = {16, 32};
constexpr double kCc2510Clocks[] = {13, 26};
constexpr std::string_view kCc2530Names[] = {"cc2531", "cc2540", "cc2541"};
constexpr std::string_view kCc2510Names[] = {"cc1110"};

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
    .aliases = kCc2530Names,
    .clock =
        "the system clock CLKCONCMD.OSC selects: the 32 MHz crystal or "
        "the 16 MHz RC oscillator",
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
    .aliases = kCc2510Names,
    .clock =
        "the system clock CLKCON selects: the 26 MHz crystal (27 MHz on "
        "some CC1110 boards) or the 13 MHz RC oscillator",
    .cores = kCc25Cores};

}  // namespace timers::families
