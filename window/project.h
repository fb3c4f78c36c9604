#pragma once
// The project descriptor: everything an entry point hands to its front end's
// start routine. There is one window, Form1, and only the events listed here
// reach its handlers. No toolkit: every front end reads the same record.

#include <array>
#include <span>
#include <string_view>

#include "window/form1.h"

namespace window {

enum class Event { kLoad, kClick };

using Handler = void (Form1::*)();

struct EventConnection {
  std::string_view object;  // "Form1" for the window's own events
  Event event;
  Handler handler;
};

inline constexpr int kLocaleChinesePrc = 2052;

struct ProjectDescriptor {
  std::span<const EventConnection> events;
  int locale;  // kLocaleChinesePrc: the toolkit's own texts in Chinese
};

inline constexpr std::array<EventConnection, 3> kForm1Events{{
    {"Form1", Event::kLoad, &Form1::Load},
    {"Command1", Event::kClick, &Form1::Command1_Click},
    {"Command2", Event::kClick, &Form1::Command2_Click},
}};

inline constexpr ProjectDescriptor kBaud51Project{
    .events = kForm1Events,
    .locale = kLocaleChinesePrc,
};

}  // namespace window
