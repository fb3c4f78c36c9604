#pragma once
// The project descriptor: everything the entry point hands to the start
// routine. There is one window, Form1, and only the events listed here reach
// its handlers.

#include <array>
#include <span>
#include <string_view>

#include "window/form1.h"

namespace app {

enum class Event { kLoad, kClick };

using Handler = void (window::Form1::*)();

struct EventConnection {
  std::string_view object;  // "Form1" for the window's own events
  Event event;
  Handler handler;
};

inline constexpr int kLocaleChinesePrc = 2052;

struct ProjectDescriptor {
  std::string_view startup_object;
  std::span<const EventConnection> events;
  int locale;
  int threads;  // everything runs on the one GUI thread
};

inline constexpr std::array<EventConnection, 3> kForm1Events{{
    {"Form1", Event::kLoad, &window::Form1::Load},
    {"Command1", Event::kClick, &window::Form1::Command1_Click},
    {"Command2", Event::kClick, &window::Form1::Command2_Click},
}};

inline constexpr ProjectDescriptor kBaud51Project{
    .startup_object = "Form1",
    .events = kForm1Events,
    .locale = kLocaleChinesePrc,
    .threads = 1,
};

}  // namespace app
