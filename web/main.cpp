// The calculator as a page: builds Form1 from its records and hands its
// host the Load event and the buttons' clicks. The browser calls in through
// the exported functions below; each one is a dispatch point of its own, so
// no exception reaches JavaScript.
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
#include "window/host.h"
#include "window/look.h"
#include "window/project.h"

namespace {

// The modal message over the window; the page goes on as the failure left
// it.
void Report(std::string_view message) {
  baud51_dom_message(message.data(), message.size());
}

void Dispatch(const std::function<void()>& work) noexcept {
  window::Dispatch(work, Report);
}

struct Page {
  web::DomControls controls{window::kForm1Controls};
  window::Host host{window::kBaud51Project, controls, Report};
};

std::unique_ptr<Page>& Current() {
  static std::unique_ptr<Page> page;
  return page;
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

}  // namespace

extern "C" {

// Builds the window afresh: at first and whenever the user starts the
// program again after 退出.
EMSCRIPTEN_KEEPALIVE void baud51_start() {
  Dispatch([] {
    Current().reset();
    web::BuildWindow(window::kForm1, window::kForm1Controls);
    Current() = std::make_unique<Page>();
  });
  if (Page* page = Current().get()) {
    page->host.RaiseLoad();
    if (const auto* first = window::FirstTabStop(window::kForm1Controls)) {
      baud51_dom_focus(first->name.data(), first->name.size());
    }
    baud51_dom_ready();
    Dispatch([page] { ShowSettingsLater(*page); });
    return;
  }
  baud51_dom_ready();
}

// `index` is the button's record in kForm1Controls.
EMSCRIPTEN_KEEPALIVE void baud51_press(int index) {
  Page* page = Current().get();
  if (page == nullptr || index < 0 ||
      static_cast<std::size_t>(index) >= window::kForm1Controls.size()) {
    return;
  }
  const window::Handler finished = page->host.Click(
      window::kForm1Controls[static_cast<std::size_t>(index)].name);
  // A failed calculation leaves the table as it was, like the window.
  if (finished == &window::Form1::Command1_Click) {
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

// The labels' colours for the scheme the page is in now: with the window's
// first frame, and whenever the scheme changes.
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
