// The real baud51.exe under test from another process, as a user's tools
// would drive it. Run under Wine by ctest:
//   win32_driver PATH-TO-baud51.exe
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "tests/support/press_cases.h"
#include "tests/win32/check.h"
#include "tests/win32/remote.h"
#include "win32/text.h"
#include "window/description.h"

namespace {

using remote::Program;

const window::ControlRecord& Record(std::string_view name) {
  for (const auto& record : window::kForm1Controls) {
    if (record.name == name) return record;
  }
  throw std::invalid_argument(std::string(name));
}
using remote::Text;

// Where each control is, in pixels at 96 dpi; 0 where the font decides (a
// closed combo box's height, an auto-sized label's height). An auto-sized
// label's width is the stored one where that was measured on the same text,
// and the pinned font comes within kFontSlack of SimSun's widths.
struct Placed {
  const char* name;
  RECT rect;  // left, top, right, bottom; right or bottom 0: not checked
};
constexpr std::array<Placed, 14> kPlaces{{
    {"Combo2", {208, 72, 273, 0}},
    {"Combo1", {80, 72, 145, 0}},
    {"Command2", {208, 184, 265, 204}},
    {"Command1", {80, 184, 137, 204}},
    {"Label11", {208, 152, 265, 169}},
    {"Label10", {80, 152, 137, 169}},
    {"Label9", {208, 120, 265, 137}},
    {"Label8", {80, 120, 137, 137}},
    {"Label12", {144, 152, 198, 0}},
    {"Label6", {160, 216, 292, 0}},
    {"Label4", {208, 104, 274, 0}},
    {"Label3", {80, 104, 146, 0}},
    {"Label2", {216, 56, 252, 0}},
    {"Label1", {72, 56, 150, 0}},
}};
constexpr int kFontSlack = 3;
constexpr int kClientWidth = 342;
constexpr int kClientHeight = 244;
constexpr COLORREF kResultGrey = RGB(0xE0, 0xE0, 0xE0);

void CheckLayout(check::Suite& suite, const Program& program) {
  suite.Group("layout");
  RECT client{};
  GetClientRect(program.Form(), &client);
  suite.Equal(client.right, kClientWidth, "client width");
  suite.Equal(client.bottom, kClientHeight, "client height");
  const LONG style = GetWindowLongW(program.Form(), GWL_STYLE);
  suite.Expect((style & (WS_THICKFRAME | WS_MAXIMIZEBOX)) == 0,
               "cannot be resized");
  for (const Placed& placed : kPlaces) {
    const RECT at = program.Place(placed.name);
    const std::string row = placed.name;
    suite.Equal(at.left, placed.rect.left, row + " left");
    suite.Equal(at.top, placed.rect.top, row + " top");
    if (Record(placed.name).auto_size) {
      suite.Expect(std::abs(at.right - placed.rect.right) <= kFontSlack,
                   row + " width", std::to_string(at.right - at.left));
    } else if (placed.rect.right) {
      suite.Equal(at.right, placed.rect.right, row + " right");
    }
    if (placed.rect.bottom) {
      suite.Equal(at.bottom, placed.rect.bottom, row + " bottom");
    }
  }
  // Auto-sized and font-sized controls may grow, but never into another.
  for (const auto& a : window::kForm1Controls) {
    for (const auto& b : window::kForm1Controls) {
      RECT overlap{};
      const RECT ra = program.Place(a.name), rb = program.Place(b.name);
      if (a.name < b.name) {
        suite.Expect(!IntersectRect(&overlap, &ra, &rb),
                     std::string(a.name) + " clear of " + std::string(b.name));
      }
    }
  }
}

void CheckControls(check::Suite& suite, const Program& program) {
  suite.Group("controls");
  constexpr std::array<const char*, 3> kClasses{"Static", "ComboBox", "Button"};
  for (const auto& record : window::kForm1Controls) {
    HWND control = program.Control(record.name);
    const std::string row(record.name);
    suite.Equal(Text(control), record.text, row + " text");
    suite.Equal(remote::ClassOf(control),
                kClasses[static_cast<int>(record.kind)], row + " class");
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    suite.Equal((style & WS_TABSTOP) != 0, window::TakesFocus(record),
                row + " tab stop");
    const int id = GetDlgCtrlID(control);
    suite.Expect(id != IDOK && id != IDCANCEL, row + " id is not OK/Cancel");
  }
  for (const char* button : {"Command1", "Command2"}) {
    const LONG style = GetWindowLongW(program.Control(button), GWL_STYLE);
    suite.Equal(style & BS_TYPEMASK, BS_PUSHBUTTON,
                std::string(button) + " not default");
  }
  // Load filled the lists; the fields keep their texts, nothing selected.
  for (const auto& [combo, count] :
       {std::pair{"Combo1", 5}, std::pair{"Combo2", 6}}) {
    HWND box = program.Control(combo);
    suite.Equal(SendMessageW(box, CB_GETCOUNT, 0, 0), count,
                std::string(combo) + " entries");
    suite.Equal(SendMessageW(box, CB_GETCURSEL, 0, 0), CB_ERR,
                std::string(combo) + " nothing selected");
  }
  DPI_AWARENESS_CONTEXT awareness =
      GetWindowDpiAwarenessContext(program.Form());
  suite.Equal(static_cast<int>(GetAwarenessFromDpiAwarenessContext(awareness)),
              static_cast<int>(DPI_AWARENESS_PER_MONITOR_AWARE),
              "per-monitor DPI aware");
}

void CheckFocus(check::Suite& suite, const Program& program) {
  suite.Group("focus");
  GUITHREADINFO thread{};
  thread.cbSize = sizeof(thread);
  GetGUIThreadInfo(GetWindowThreadProcessId(program.Form(), nullptr), &thread);
  suite.Expect(thread.hwndFocus == program.Control("Command1"),
               "starts on Command1");
  // Tab goes by tab index among the controls that take the focus.
  constexpr std::array<const char*, 5> kCycle{"Command1", "Command2", "Combo1",
                                              "Combo2", "Command1"};
  for (std::size_t i = 1; i < kCycle.size(); ++i) {
    HWND next = GetNextDlgTabItem(program.Form(),
                                  program.Control(kCycle[i - 1]), FALSE);
    suite.Expect(next == program.Control(kCycle[i]),
                 std::string("Tab from ") + kCycle[i - 1]);
  }
  suite.Expect(GetNextDlgTabItem(program.Form(), program.Control("Command1"),
                                 TRUE) == program.Control("Combo2"),
               "Shift+Tab from Command1");
}

void CheckPresses(check::Suite& suite, const Program& program) {
  suite.Group("presses");
  for (const test_support::WorkedPress& row : test_support::kWorkedPresses) {
    HWND box = remote::Press(program, row.frequency, row.baud);
    if (!suite.Expect(box == nullptr, row.name, "a message box came up")) {
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      continue;
    }
    for (std::size_t i = 0; i < test_support::kResultLabels.size(); ++i) {
      suite.Equal(Text(program.Control(test_support::kResultLabels[i])),
                  row.texts[i],
                  std::string(row.name) + " " +
                      std::string(test_support::kResultLabels[i]));
    }
    const remote::Picture picture(program.Form());
    suite.Equal(picture.HasWarning(program.Place("Label10")),
                row.timer1_warning, std::string(row.name) + " T1 colour");
    suite.Equal(picture.HasWarning(program.Place("Label11")),
                row.timer2_warning, std::string(row.name) + " T2 colour");
    const RECT grey = program.Place("Label9");
    suite.Expect(picture.At(grey.right - 2, grey.bottom - 2) == kResultGrey,
                 std::string(row.name) + " result background");
  }
}

void CheckFailures(check::Suite& suite, const Program& program) {
  suite.Group("failing presses");
  for (const test_support::FailingPress& row : test_support::kFailingPresses) {
    HWND box = remote::Press(program, row.frequency, row.baud);
    const std::string name = row.name;
    if (!suite.Expect(box != nullptr, name, "no message box")) continue;
    suite.Equal(remote::BoxText(box), row.message, name + " message");
    wchar_t caption[32] = {};
    GetWindowTextW(box, caption, 32);
    suite.Equal(win32::Utf8(caption), window::kForm1.caption,
                name + " caption");
    suite.Expect(GetWindow(box, GW_OWNER) == program.Form(),
                 name + " over the window");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    suite.Expect(remote::WaitFor([&] { return !IsWindow(box); }),
                 name + " box closes");
    // Nothing was shown, and the window carries on.
    suite.Equal(Text(program.Control("Label8")), remote::kCleared,
                name + " results kept");
    suite.Expect(IsWindowVisible(program.Form()), name + " window stays");
  }
  suite.Expect(remote::Press(program, "12", "9600") == nullptr &&
                   Text(program.Control("Label8")) == "FD",
               "next press answers");
}

}  // namespace

void CheckShell(check::Suite& suite, const Program& program,
                const std::wstring& exe);

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fputs("usage: win32_driver PATH-TO-baud51.exe\n", stderr);
    return 2;
  }
  std::wstring exe = argv[1];
  // CMake gives a Unix path; under Wine the Unix root is drive Z:.
  if (exe.starts_with(L"/")) exe = L"Z:" + exe;
  std::replace(exe.begin(), exe.end(), L'/', L'\\');
  check::Suite suite;
  {
    const Program program(exe);
    if (!suite.Expect(program.Form() != nullptr, "the window shows")) {
      return suite.Finish();
    }
    CheckLayout(suite, program);
    CheckControls(suite, program);
    CheckFocus(suite, program);
    CheckPresses(suite, program);
    CheckFailures(suite, program);
    CheckShell(suite, program, exe);
  }
  return suite.Finish();
}
