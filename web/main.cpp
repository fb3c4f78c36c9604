// The calculator as a page: builds Form1 from its records and hands its
// host the Load event and the buttons' clicks. The browser calls in through
// the exported functions below; each one is a dispatch point of its own, so
// no exception reaches JavaScript.
#include <emscripten/emscripten.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "calc/reading.h"
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

// The area below the window, made once the window is ready, in the
// browser's language (Chinese for any "zh", else English).
web::SettingsView& Below() {
  static web::SettingsView view(baud51_dom_browser_chinese()
                                    ? mcs51::Tongue::kChinese
                                    : mcs51::Tongue::kEnglish);
  return view;
}

struct Request {
  std::string frequency_text;
  std::string baud_text;
};

std::optional<Request>& Pending() {
  static std::optional<Request> request;
  return request;
}

// The field texts the window has just calculated with; the area below
// reads them strictly once the press is over.
void ShowSettingsLater(Page& page) {
  Pending() =
      Request{page.controls.Text("Combo1"), page.controls.Text("Combo2")};
  baud51_dom_settings_later();
}

// A click on the button `name`, as the user gives it.
void Press(Page& page, std::string_view name) {
  const window::Handler finished = page.host.Click(name);
  // A failed calculation leaves the area below as it was, like the window.
  if (finished == &window::Form1::Command1_Click) {
    Dispatch([&page] { ShowSettingsLater(page); });
  }
}

// A value of the address's fragment; none when absent or longer than any
// field's sensible text.
std::optional<std::string> LinkValue(std::string_view key) {
  const int size = baud51_dom_link_size(key.data(), key.size());
  if (size < 0 || size > 200) return std::nullopt;
  std::string text(static_cast<std::size_t>(size) + 1, '\0');
  baud51_dom_link_copy(key.data(), key.size(), text.data(), text.size());
  text.pop_back();
  return text;
}

// A link's inputs, as the user would give them: its choices below, its
// crystal and rate typed into the fields, and 计算 pressed once when both
// read strictly. A value that does not stays in its field as text, and the
// area below says why it was not calculated.
void OpenLink(Page& page) {
  Below().Apply({.language = LinkValue("lang"),
                 .code = LinkValue("code"),
                 .chip = LinkValue("chip"),
                 .setting = LinkValue("setting"),
                 .peer = LinkValue("peer"),
                 .period = LinkValue("period"),
                 .delay = LinkValue("delay")});
  const std::optional<std::string> frequency = LinkValue("freq");
  const std::optional<std::string> baud = LinkValue("baud");
  for (const auto& [name, text] :
       {std::pair{"Combo1", &frequency}, std::pair{"Combo2", &baud}}) {
    if (*text) {
      baud51_dom_set_value(name, std::string_view(name).size(), (*text)->data(),
                           (*text)->size());
    }
  }
  if ((frequency || baud) &&
      calc::ReadFrequency(page.controls.Text("Combo1")).value &&
      calc::ReadBaud(page.controls.Text("Combo2")).value) {
    Press(page, "Command1");
    return;
  }
  ShowSettingsLater(page);
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
    // The link is the page's input once; a restart after 退出 starts from
    // the records, as the window does.
    static bool linked = false;
    if (!std::exchange(linked, true)) {
      Dispatch([page] { OpenLink(*page); });
    } else {
      Dispatch([page] { ShowSettingsLater(*page); });
    }
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
  Press(*page, window::kForm1Controls[static_cast<std::size_t>(index)].name);
}

EMSCRIPTEN_KEEPALIVE void baud51_settings() {
  Dispatch([] {
    if (const std::optional<Request> request =
            std::exchange(Pending(), std::nullopt)) {
      Below().Show(std::move(request->frequency_text),
                   std::move(request->baud_text));
    }
  });
}

EMSCRIPTEN_KEEPALIVE void baud51_chip(int index) {
  Dispatch([index] { Below().ChooseChip(index); });
}

EMSCRIPTEN_KEEPALIVE void baud51_choose(int row) {
  Dispatch([row] { Below().ChooseRow(row); });
}

EMSCRIPTEN_KEEPALIVE void baud51_language(int index) {
  Dispatch([index] { Below().ChooseLanguage(index); });
}

EMSCRIPTEN_KEEPALIVE void baud51_code(int index) {
  Dispatch([index] { Below().ChooseCode(index); });
}

EMSCRIPTEN_KEEPALIVE void baud51_tolerance() {
  Dispatch([] { Below().SetTolerance(web::FieldText("tolerance")); });
}

EMSCRIPTEN_KEEPALIVE void baud51_peer(int index) {
  Dispatch([index] { Below().ChoosePeer(index); });
}

EMSCRIPTEN_KEEPALIVE void baud51_period() {
  Dispatch([] { Below().SetPeriod(web::FieldText("period")); });
}

EMSCRIPTEN_KEEPALIVE void baud51_delay() {
  Dispatch([] { Below().SetDelay(web::FieldText("delay")); });
}

EMSCRIPTEN_KEEPALIVE void baud51_read() {
  Dispatch([] { Below().SetCode(); });
}

EMSCRIPTEN_KEEPALIVE void baud51_rates() {
  Dispatch([] { Below().OpenRates(); });
}

EMSCRIPTEN_KEEPALIVE void baud51_crystals() {
  Dispatch([] { Below().FindCrystals(web::FieldText("crystal-rates")); });
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
