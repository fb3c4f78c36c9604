// Writes the window's markup for the page, at build time.
#include <iostream>

#include "web/window/markup.h"

int main() {
  // A whole line: Node's standard output is written out line by line.
  std::cout << web::WindowMarkup(window::kForm1, window::kForm1Controls)
            << std::endl;
  return std::cout ? 0 : 1;
}
