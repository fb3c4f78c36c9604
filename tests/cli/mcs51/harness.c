/* Sends four bytes with the generated uart_init() and reports, through
 * the simulator's interface at xram 0xFFFF, the machine cycles each byte
 * took from the write of SBUF to TI, as counted by Timer 0. */
#include "uart_init.c"

#define SIMIF (*(volatile unsigned char __xdata *)0xFFFF)

static __xdata unsigned char high[4], low[4];

static void print(unsigned char c)
{
    SIMIF = 'p';
    SIMIF = c;
}

static void print_hex(unsigned char c)
{
    SIMIF = 'x';
    SIMIF = c;
}

void main(void)
{
    unsigned char i;
    uart_init();
    TMOD = (TMOD & 0xF0) | 0x01; /* Timer 0: 16-bit, machine cycles */
    for (i = 0; i < 4; i++) {
        TH0 = 0;
        TL0 = 0;
        TR0 = 1;
        SBUF = 'A' + i;
        while (!TI) {
        }
        TR0 = 0;
        TI = 0;
        high[i] = TH0;
        low[i] = TL0;
    }
    print('@');
    for (i = 0; i < 4; i++) {
        print(' ');
        print_hex(high[i]);
        print_hex(low[i]);
    }
    print('\n');
    SIMIF = 's'; /* stop the simulation */
}
