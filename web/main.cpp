// The calculator as a page: builds Form1 from its records, raises Load and
// wires the buttons to the handlers the project descriptor names. The
// browser calls in through the exported functions below; each one is a
// dispatch point of its own, so no exception reaches JavaScript.
#include <emscripten/emscripten.h>

#include <memory>

#include "app/project.h"
#include "web/builder.h"
#include "web/dispatch.h"
#include "web/dom.h"
#include "web/dom_controls.h"
#include "window/description.h"
#include "window/form1.h"

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
  const auto& events = app::kBaud51Project.events;
  for (std::size_t i = 0; i < events.size(); ++i) {
    if (events[i].event == app::Event::kClick && events[i].object == button) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

// The first control in tab order that takes the focus, as on the desktop.
std::string_view FirstTabStop() {
  const window::ControlRecord* first = nullptr;
  for (const window::ControlRecord& record : window::kForm1Controls) {
    if (window::TakesFocus(record) &&
        (first == nullptr || record.tab_index < first->tab_index)) {
      first = &record;
    }
  }
  return first == nullptr ? std::string_view{} : first->name;
}

void RaiseLoad(Page& page) {
  for (const app::EventConnection& connection : app::kBaud51Project.events) {
    if (connection.event == app::Event::kLoad &&
        connection.object == window::kForm1.name) {
      web::Dispatch([&] { (page.form.*connection.handler)(); });
    }
  }
}

}  // namespace

extern "C" {

// Builds the window afresh: at first and whenever the user starts the
// program again after 退出.
EMSCRIPTEN_KEEPALIVE void baud51_start() {
  web::Dispatch([] {
    Current().reset();
    web::BuildWindow(window::kForm1, window::kForm1Controls, PressIndex);
    Current() = std::make_unique<Page>();
  });
  if (Page* page = Current().get()) {
    web::Dispatch([page] { page->form.DescribeStartResults(); });
    RaiseLoad(*page);
    const std::string_view focus = FirstTabStop();
    if (!focus.empty()) baud51_dom_focus(focus.data(), focus.size());
  }
  baud51_dom_ready();
}

EMSCRIPTEN_KEEPALIVE void baud51_press(int index) {
  const auto& events = app::kBaud51Project.events;
  Page* page = Current().get();
  if (page == nullptr || index < 0 ||
      static_cast<std::size_t>(index) >= events.size()) {
    return;
  }
  const app::Handler handler = events[static_cast<std::size_t>(index)].handler;
  web::Dispatch([&] { (page->form.*handler)(); });
}

EMSCRIPTEN_KEEPALIVE void baud51_scheme_changed() {
  if (Page* page = Current().get()) {
    web::Dispatch([page] { page->controls.Recolor(); });
  }
}

}  // extern "C"

int main() {
  baud51_start();
  return 0;
}
