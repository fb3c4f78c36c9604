// The calculator as a page: builds Form1 from its records, raises Load and
// wires the buttons to the handlers the project descriptor names. The
// browser calls in through the exported functions below; each one is a
// dispatch point of its own, so no exception reaches JavaScript.
#include <emscripten/emscripten.h>

#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

#include "calc/conversions.h"
#include "web/builder.h"
#include "web/dom.h"
#include "web/dom_controls.h"
#include "web/settings_panel.h"
#include "window/description.h"
#include "window/dispatch.h"
#include "window/form1.h"
#include "window/look.h"
#include "window/project.h"

namespace {

struct Page {
  web::DomControls controls{window::kForm1Controls};
  window::Form1 form{controls};
};

std::unique_ptr<Page>& Current() {
  static std::unique_ptr<Page> page;
  return page;
}

int PressIndex(std::string_view button) {
  const auto& events = window::kBaud51Project.events;
  for (std::size_t i = 0; i < events.size(); ++i) {
    if (events[i].event == window::Event::kClick &&
        events[i].object == button) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

// The modal message over the window; the page goes on as the failure left
// it.
void Dispatch(const std::function<void()>& work) noexcept {
  window::Dispatch(work, [](std::string_view message) {
    baud51_dom_message(message.data(), message.size());
  });
}

// The table below the window, made when it is first shown: after the
// window is ready.
web::SettingsView& Below() {
  static web::SettingsView view;
  return view;
}

struct Request {
  double frequency_mhz;
  double baud;
};

std::optional<Request>& Pending() {
  static std::optional<Request> request;
  return request;
}

// The crystal and rate the window has just calculated with, read as it
// reads them; the table follows once the press is over.
void ShowSettingsLater(Page& page) {
  Pending() = Request{calc::ReadNumber(page.controls.Text("Combo1")),
                      calc::ReadNumber(page.controls.Text("Combo2"))};
  baud51_dom_settings_later();
}

void RaiseLoad(Page& page) {
  for (const window::EventConnection& connection :
       window::kBaud51Project.events) {
    if (connection.event == window::Event::kLoad &&
        connection.object == window::kForm1.name) {
      Dispatch([&] { (page.form.*connection.handler)(); });
    }
  }
}

}  // namespace

extern "C" {

// Builds the window afresh: at first and whenever the user starts the
// program again after 退出.
EMSCRIPTEN_KEEPALIVE void baud51_start() {
  Dispatch([] {
    Current().reset();
    web::BuildWindow(window::kForm1, window::kForm1Controls, PressIndex);
    Current() = std::make_unique<Page>();
  });
  if (Page* page = Current().get()) {
    bool described = false;
    Dispatch([&] {
      page->form.DescribeStartResults();
      described = true;
    });
    RaiseLoad(*page);
    if (const auto* first = window::FirstTabStop(window::kForm1Controls)) {
      baud51_dom_focus(first->name.data(), first->name.size());
    }
    baud51_dom_ready();
    if (described) Dispatch([page] { ShowSettingsLater(*page); });
    return;
  }
  baud51_dom_ready();
}

EMSCRIPTEN_KEEPALIVE void baud51_press(int index) {
  const auto& events = window::kBaud51Project.events;
  Page* page = Current().get();
  if (page == nullptr || index < 0 ||
      static_cast<std::size_t>(index) >= events.size()) {
    return;
  }
  const window::Handler handler =
      events[static_cast<std::size_t>(index)].handler;
  bool done = false;
  Dispatch([&] {
    (page->form.*handler)();
    done = true;
  });
  // A failed calculation leaves the table as it was, like the window.
  if (done && handler == &window::Form1::Command1_Click) {
    Dispatch([page] { ShowSettingsLater(*page); });
  }
}

EMSCRIPTEN_KEEPALIVE void baud51_settings() {
  Dispatch([] {
    if (const std::optional<Request> request =
            std::exchange(Pending(), std::nullopt)) {
      Below().Show(request->frequency_mhz, request->baud);
    }
  });
}

EMSCRIPTEN_KEEPALIVE void baud51_chip(int index) {
  Dispatch([index] { Below().ChooseChip(index); });
}

EMSCRIPTEN_KEEPALIVE void baud51_choose(int row) {
  Dispatch([row] { Below().ChooseRow(row); });
}

EMSCRIPTEN_KEEPALIVE void baud51_scheme_changed() {
  if (Page* page = Current().get()) {
    Dispatch([page] { page->controls.Recolor(); });
  }
}

}  // extern "C"

int main() {
  baud51_start();
  return 0;
}
