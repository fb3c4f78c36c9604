#include "timers/generators.h"

#include "timers/record_parts.h"

// Atmel's internal baud-rate generator, NXP's LPC900, TI's radios,
// the S0REL generator (Infineon, Nordic) and Analog Devices' Timer 3;
// generators.cpp and generators_2.cpp have the rest.
namespace timers::records {

// AT89C51RB2/RC2/RD2/ED2/ID2, IC2, 5131: 2^SMOD1 * FPER / (6^(1 - SPD) * 32
// * (256 - BRL)), FPER = FOSC/2 in X1 and FOSC in X2: 12, 6, 2 or 1 clocks
// of FOSC per count. BDRCON: BRR 0x10, TBCK 0x08, RBCK 0x04, SPD 0x02;
// CKCON0: X2 0x01.
constexpr ClockChoice kAtmelBrgClocks[] = {
    {12, 384}, {6, 192}, {2, 64}, {1, 32}};
constexpr Arithmetic kAtmelBrg{256, Counting::kUp, true, kAtmelBrgClocks};
constexpr std::uint8_t kAtmelBrgBits[] = {0x00, 0x00, 0x00, 0x01,
                                          0x02, 0x00, 0x02, 0x01};
constexpr Write kAtmelBrgWrites[] = {
    kScon,
    {.reg = "BDRCON", .value = 0x00, .comment = "stopped while it is loaded"},
    {.reg = "BRL", .source = S::kReloadLow},
    kSmod,
    {.reg = "CKCON0",
     .mask = 0x01,
     .value = 0x00,
     .choice_slot = 1,
     .comment = "X2"},
    {.reg = "BDRCON",
     .value = 0x1C,
     .choice_slot = 0,
     .comment = "BRR, TBCK, RBCK, SPD: the UART on the generator"}};
constexpr Generator kAtmelBrgGen{.key = "brg",
                                 .text = "the internal baud-rate generator",
                                 .timer = 0,
                                 .arithmetic = &kAtmelBrg,
                                 .choice_bits = kAtmelBrgBits,
                                 .writes = kAtmelBrgWrites};

// P89LPC9xx: CCLK / (BRGR1:BRGR0 + 16). BRGCON: SBRGS 0x02 (the UART on the
// generator), BRGEN 0x01; BRGR is written while BRGEN is 0.
constexpr ClockChoice kLpcClock[] = {{1, 1}};
constexpr Arithmetic kLpcBrg{65536, Counting::kOffset, false, kLpcClock, 16};
constexpr Write kLpcBrgWrites[] = {
    kScon,
    {.reg = "BRGCON", .value = 0x00, .comment = "stopped while it is loaded"},
    {.reg = "BRGR0", .source = S::kReloadLow},
    {.reg = "BRGR1", .source = S::kReloadHigh},
    {.reg = "BRGCON", .value = 0x03, .comment = "SBRGS, BRGEN"}};
constexpr Generator kLpcBrgGen{.key = "brg",
                               .text = "the baud-rate generator",
                               .timer = 0,
                               .arithmetic = &kLpcBrg,
                               .choice_bits = kNoBits,
                               .writes = kLpcBrgWrites};

// CC2530/CC2540 and CC2510/CC1110 USART0 as a UART: F * (256 + BAUD_M) *
// 2^BAUD_E / 2^28. U0CSR: MODE 0x80, RE 0x40; U0UCR: STOP 0x02 (a high
// stop bit); U0GCR: BAUD_E in bits 4 ... 0, ORDER 0 (LSB first).
constexpr Arithmetic kCcUart{
    256, Counting::kMantissaExponent, false, kLpcClock, 0, "BAUD_E"};
constexpr Write kCcUartWrites[] = {
    {.reg = "U0CSR", .value = 0x80, .comment = "UART mode, receiver off"},
    {.reg = "U0UCR", .value = 0x02, .comment = "8 bits, no parity, 1 stop"},
    {.reg = "U0GCR", .source = S::kStep, .comment = "BAUD_E, LSB first"},
    {.reg = "U0BAUD", .source = S::kReloadLow, .comment = "BAUD_M"},
    {.reg = "U0CSR", .value = 0xC0, .comment = "UART mode, receiver on"}};
constexpr Generator kCcUart0{.key = "u0",
                             .text = "USART0 as UART",
                             .timer = 0,
                             .arithmetic = &kCcUart,
                             .choice_bits = kNoBits,
                             .writes = kCcUartWrites};

// C517A, C509, C515C and nRF24LE1: 2^SMOD * f / (64 * (1024 - S0REL)), a
// 10-bit timer at f/2; BD (bit 7 of ADCON0, ADCON on the nRF24LE1) puts
// serial port 0 on it. S0RELL is written last: it reloads the timer.
constexpr ClockChoice kS0relClock[] = {{2, 64}};
constexpr Arithmetic kS0rel{1024, Counting::kUp, true, kS0relClock};
#define S0REL_WRITES(adcon)                           \
  kScon, {.reg = "S0RELH", .source = S::kReloadHigh}, \
      {.reg = "S0RELL", .source = S::kReloadLow},     \
      {.reg = adcon, .mask = 0x80, .value = 0x80, .comment = "BD"}, kSmod
constexpr Write kC517Writes[] = {S0REL_WRITES("ADCON0")};
constexpr Write kNrfWrites[] = {S0REL_WRITES("ADCON")};
#undef S0REL_WRITES
constexpr Generator kC517S0rel{.key = "s0rel",
                               .text = "the S0REL baud-rate generator",
                               .timer = 0,
                               .arithmetic = &kS0rel,
                               .choice_bits = kNoBits,
                               .writes = kC517Writes};
constexpr Generator kNrfS0rel{.key = "s0rel",
                              .text = "the S0REL baud-rate generator",
                              .timer = 0,
                              .arithmetic = &kS0rel,
                              .choice_bits = kNoBits,
                              .writes = kNrfWrites};

// ADuC84x, ADuC83x: Timer 3, 2 * fCORE / (2^(DIV - 1) * (T3FD + 64)), that
// is fCORE / (2^DIV / 4 * n) with n = T3FD + 64. DIV 0 ... 7 is the binary
// divider, the clocks per count here; the maker's DIV (rounded down) keeps
// T3FD within 0 ... 63, as R = 64 does. T3CON: T3BAUDEN 0x80, DIV 0x07.
constexpr ClockChoice kAducDiv[] = {{1, 0.25}, {2, 0.5}, {4, 1},   {8, 2},
                                    {16, 4},   {32, 8},  {64, 16}, {128, 32}};
constexpr Arithmetic kAducT3{64, Counting::kOffset, false, kAducDiv, 64};
constexpr std::uint8_t kAducBits[] = {0, 0, 1, 0, 2, 0, 3, 0,
                                      4, 0, 5, 0, 6, 0, 7, 0};
constexpr Write kAducWrites[] = {
    kScon,
    {.reg = "T3FD", .source = S::kReloadLow},
    {.reg = "T3CON",
     .value = 0x80,
     .choice_slot = 0,
     .comment = "T3BAUDEN, DIV: the UART on Timer 3"}};
constexpr Generator kAducT3Gen{.key = "t3",
                               .text = "Timer 3, the fractional divider",
                               .timer = 3,
                               .arithmetic = &kAducT3,
                               .choice_bits = kAducBits,
                               .writes = kAducWrites};

}  // namespace timers::records
