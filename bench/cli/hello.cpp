// The yardstick for baud51-cli's start-up: a C++ "hello world" built with
// the same compiler, flags and build type.
#include <iostream>

int main() { std::cout << "Hello, world!\n"; }
