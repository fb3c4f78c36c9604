#pragma once
// Between the page's two programs (bridge.js): the window's, which answers
// first, and the one below it, which comes a moment later. The fields as
// last calculated with wait in the page for the program below, however
// many presses come before it is there.

#include <cstddef>

extern "C" {
// The window's side: 计算 has just calculated with the fields as they are
// now (or the window has just started); the area below follows.
void baud51_dom_calculated();
// Or: the window refused a link's fields, and the area below stays with
// these, the fields it had, and the address as it is.
void baud51_dom_held(const char* frequency, std::size_t frequency_length,
                     const char* baud, std::size_t baud_length);
// The side below: the field `which` (0 the crystal, 1 the rate) as last
// calculated with: its length in UTF-8, or -1 when there has been no
// calculation yet, then the text itself.
int baud51_dom_pressed_size(int which);
void baud51_dom_pressed_copy(int which, char* buffer, std::size_t size);
// Whether those are the fields held over a refused link.
int baud51_dom_pressed_held();
// The program below is there: each calculation from now on, and the last
// one before it, reaches it.
void baud51_dom_below_ready();
// The side below, having taken a new fragment's choices: the window opens
// its crystal and rate.
void baud51_dom_open_link();
}
