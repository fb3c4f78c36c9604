// The Win32 layer's own rules, run inside this process under Wine: label
// colours, the dispatch point, and the layout at another DPI, which Wine 8
// never switches to by itself.
#include <windows.h>

#include <stdexcept>
#include <string>

#include "calc/runtime_error.h"
#include "tests/win32/check.h"
#include "win32/dispatch.h"
#include "win32/form_controls.h"
#include "win32/look.h"
#include "window/contrast.h"

namespace {

using window::Color;

void CheckColours(check::Suite& suite) {
  suite.Group("label colours");
  const auto light = [](int index) -> COLORREF {
    return index == COLOR_BTNFACE ? 0xF0F0F0 : 0x000000;
  };
  const auto dark = [](int index) -> COLORREF {
    return index == COLOR_BTNFACE ? 0x202020 : 0xFFFFFF;
  };
  // Under the default light colours, the described ones show unchanged.
  using window::kResultBackColor;
  suite.Expect(
      win32::ShownColors(window::kWarningColor, kResultBackColor, light) ==
          win32::LabelColors{0x0040C0, 0xE0E0E0},
      "warning on grey, light");
  suite.Expect(win32::ShownColors(window::kNormalTextColor, kResultBackColor,
                                  light) == win32::LabelColors{0, 0xE0E0E0},
               "normal on grey, light");
  suite.Expect(win32::ShownColors(window::kMakerColor, std::nullopt, light) ==
                   win32::LabelColors{0xFF0000, 0xF0F0F0},
               "maker on window, light");
  // Under dark ones, white button text on the results' own grey, or the
  // maker's blue on a dark window, would be unreadable.
  for (const auto& [name, fore, back] :
       {std::tuple{"normal on grey, dark", window::kNormalTextColor,
                   std::optional<Color>(kResultBackColor)},
        std::tuple{"maker on window, dark", window::kMakerColor,
                   std::optional<Color>()}}) {
    const win32::LabelColors shown = win32::ShownColors(fore, back, dark);
    suite.Expect(window::ContrastRatio(shown.text, shown.back) >=
                     window::kMinimumContrast,
                 name);
  }
}

void CheckDispatch(check::Suite& suite) {
  suite.Group("dispatch");
  struct Row {
    const char* name;
    void (*work)();
    std::string message;
  };
  for (const Row& row : {
           Row{"division by zero",
               [] {
                 throw calc::RuntimeError(calc::ErrorKind::kDivisionByZero);
               },
               "除数为零"},
           Row{"overflow",
               [] { throw calc::RuntimeError(calc::ErrorKind::kOverflow); },
               "溢出"},
           Row{"other exception",
               [] { throw std::invalid_argument("no Combo3"); }, "no Combo3"},
           Row{"not an exception", [] { throw 42; }, "未知错误"},
       }) {
    std::string reported;
    win32::Dispatch(row.work, [&](std::string_view m) { reported = m; });
    suite.Equal(reported, row.message, row.name);
  }
  win32::Dispatch([] { throw 1; },
                  [](std::string_view) { throw std::runtime_error("no box"); });
  suite.Expect(true, "a failing reporter stays inside");
}

RECT PlaceOf(HWND parent, HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

LONG FontHeight(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)),
             sizeof(font), &font);
  return font.lfHeight;
}

// Width of a label's caption in the label's own font.
LONG CaptionWidth(HWND label) {
  wchar_t caption[64] = {};
  const int length = GetWindowTextW(label, caption, 64);
  HDC dc = GetDC(label);
  SelectObject(dc,
               reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
  SIZE extent{};
  GetTextExtentPoint32W(dc, caption, length, &extent);
  ReleaseDC(label, dc);
  return extent.cx;
}

// The controls laid out at 144 dpi, then back at 96, as on moving the window
// between monitors.
void CheckLayout(check::Suite& suite) {
  suite.Group("layout by dpi");
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0,
                                400, 300, nullptr, nullptr, nullptr, nullptr);
  win32::FormControls controls(parent, window::kForm1Controls);
  struct Row {
    const char* name;
    UINT dpi;
    RECT command1;  // a button: every side scales
    LONG combo_left, combo_width, window_font, title_font;
  };
  for (const Row& row :
       {Row{"144 dpi", 144, {120, 276, 206, 306}, 120, 98, -18, -24},
        Row{"back at 96 dpi", 96, {80, 184, 137, 204}, 80, 65, -12, -16}}) {
    controls.Layout(row.dpi);
    const std::string name = row.name;
    const RECT button = PlaceOf(parent, controls.Handle("Command1"));
    suite.Expect(EqualRect(&button, &row.command1), name + " Command1");
    const RECT combo = PlaceOf(parent, controls.Handle("Combo1"));
    suite.Equal(combo.left, row.combo_left, name + " Combo1 left");
    suite.Equal(combo.right - combo.left, row.combo_width,
                name + " Combo1 width");
    suite.Equal(FontHeight(controls.Handle("Label1")), row.window_font,
                name + " window font");
    suite.Equal(FontHeight(controls.Handle("Label5")), row.title_font,
                name + " title font");
    for (const char* label : {"Label1", "Label5", "Label6"}) {
      const RECT place = PlaceOf(parent, controls.Handle(label));
      suite.Equal(place.right - place.left,
                  CaptionWidth(controls.Handle(label)),
                  name + " " + label + " fits its caption");
    }
  }
  // A new caption is measured again.
  controls.SetCaption("Label12", "<-误差%%->");
  const RECT grown = PlaceOf(parent, controls.Handle("Label12"));
  suite.Equal(grown.right - grown.left,
              CaptionWidth(controls.Handle("Label12")), "new caption measured");
  DestroyWindow(parent);
}

}  // namespace

int wmain() {
  check::Suite suite;
  CheckColours(suite);
  CheckDispatch(suite);
  CheckLayout(suite);
  return suite.Finish();
}
