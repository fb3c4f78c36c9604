// The area below the window as a program of its own: the settings, their
// code, the crystals, the ticks and the delay, with everything of mcs51/
// they need. The page loads it once the window answers (main.cpp), from
// compressed bytes of its own; the window never waits for it. The browser
// calls in through the exported functions below; each one is a dispatch
// point of its own, so no exception reaches JavaScript.
#include <emscripten/emscripten.h>

#include <optional>
#include <string>
#include <utility>

#include "web/below/settings_panel.h"
#include "web/bridge.h"
#include "web/dom.h"
#include "web/entry.h"

namespace {

using web::Dispatch;

// Made once, in the browser's language (Chinese for any "zh", else
// English).
web::SettingsView& Below() {
  static web::SettingsView view(baud51_dom_browser_chinese()
                                    ? mcs51::Tongue::kChinese
                                    : mcs51::Tongue::kEnglish);
  return view;
}

// The window's field `which` as last calculated with, if it has been.
std::optional<std::string> Pressed(int which) {
  const int size = baud51_dom_pressed_size(which);
  if (size < 0) return std::nullopt;
  std::string text(static_cast<std::size_t>(size) + 1, '\0');
  baud51_dom_pressed_copy(which, text.data(), text.size());
  text.pop_back();
  return text;
}

// The link's choices below. `fresh`: the address's fragment has just
// changed, over the page as it is.
void ApplyLink(bool fresh) {
  Below().Apply({.language = web::LinkValue("lang"),
                 .code = web::LinkValue("code"),
                 .chip = web::LinkValue("chip"),
                 .setting = web::LinkValue("setting"),
                 .peer = web::LinkValue("peer"),
                 .period = web::LinkValue("period"),
                 .delay = web::LinkValue("delay"),
                 .tick = web::LinkValue("tick"),
                 .tolerance = web::LinkValue("tol"),
                 .fresh = fresh});
}

// The link's choices below, taken once; then the window's last calculation,
// if any, as every later one.
void Start() {
  Dispatch([] { ApplyLink(false); });
  baud51_dom_below_ready();
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void baud51_settings() {
  Dispatch([] {
    std::optional<std::string> frequency = Pressed(0);
    std::optional<std::string> baud = Pressed(1);
    if (frequency && baud) {
      Below().Show(std::move(*frequency), std::move(*baud),
                   baud51_dom_pressed_held() != 0);
    }
  });
}

EMSCRIPTEN_KEEPALIVE void baud51_chip(int index) {
  Dispatch([index] { Below().ChooseChip(index); });
}

EMSCRIPTEN_KEEPALIVE void baud51_choose(int row) {
  Dispatch([row] { Below().ChooseRow(row); });
}

EMSCRIPTEN_KEEPALIVE void baud51_tick(int row) {
  Dispatch([row] { Below().ChooseTick(row); });
}

// The address's fragment changed: its choices here, then its crystal and
// rate in the window, opened as a link over the page as it is.
EMSCRIPTEN_KEEPALIVE void baud51_link_changed() {
  Dispatch([] {
    baud51_dom_link_forget();
    ApplyLink(true);
  });
  baud51_dom_open_link();
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

}  // extern "C"

int main() {
  Start();
  return 0;
}
