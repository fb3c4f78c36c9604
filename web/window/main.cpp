// The calculator as a page: builds Form1 from its records and hands its
// host the Load event and the buttons' clicks. The browser calls in through
// the exported functions below; each one is a dispatch point of its own, so
// no exception reaches JavaScript. This program is only the window, small
// so that it answers at once; the area below is a second one.
#include <emscripten/emscripten.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "calc/reading.h"
#include "web/bridge.h"
#include "web/dom.h"
#include "web/entry.h"
#include "web/window/builder.h"
#include "web/window/dom_controls.h"
#include "window/description.h"
#include "window/form1.h"
#include "window/host.h"
#include "window/look.h"
#include "window/project.h"

namespace {

using web::Dispatch;

struct Page {
  web::DomControls controls{window::kForm1Controls};
  window::Host host{window::kBaud51Project, controls, web::Report};
};

std::unique_ptr<Page>& Current() {
  static std::unique_ptr<Page> page;
  return page;
}

// A click on the button `name`, as the user gives it; whether it
// calculated. The area below, a program of its own (below_main.cpp), reads
// the fields as just calculated with, once the press is over; a failed
// calculation leaves it as it was, like the window.
bool Press(Page& page, std::string_view name) {
  const window::Handler finished = page.host.Click(name);
  if (finished != &window::Form1::Command1_Click) return false;
  baud51_dom_calculated();
  return true;
}

// A link's crystal and rate, as the user would give them: typed into the
// fields, and 计算 pressed once when both read strictly. A value that does
// not stays in its field as text, and the area below says why it was not
// calculated. Where the window refuses them, the area below stays with the
// fields it had, and the address as it is. The link's choices below are
// that area's own.
void OpenLink(Page& page) {
  const std::string frequency_before = page.controls.Text("Combo1");
  const std::string baud_before = page.controls.Text("Combo2");
  const std::optional<std::string> frequency = web::LinkValue("freq");
  const std::optional<std::string> baud = web::LinkValue("baud");
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
    if (!Press(page, "Command1")) {
      baud51_dom_held(frequency_before.data(), frequency_before.size(),
                      baud_before.data(), baud_before.size());
    }
    return;
  }
  baud51_dom_calculated();
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
      baud51_dom_calculated();
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

// The address's fragment changed, and the area below has taken its
// choices: the crystal and rate, opened as a link over the window as it is.
EMSCRIPTEN_KEEPALIVE void baud51_open_link() {
  if (Page* page = Current().get()) {
    Dispatch([page] {
      baud51_dom_link_forget();
      OpenLink(*page);
    });
  }
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
