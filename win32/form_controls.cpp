#include "win32/form_controls.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "win32/control_id.h"
#include "win32/text.h"
#include "window/auto_size.h"

namespace win32 {
namespace {

using window::ControlKind;
using window::ControlRecord;

// A dropped-down list shows every entry of the longer list (six baud rates).
constexpr int kListRows = 6;

const wchar_t* ClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::kLabel:
      return WC_STATICW;
    case ControlKind::kComboBox:
      return WC_COMBOBOXW;
    case ControlKind::kCommandButton:
      return WC_BUTTONW;
  }
  throw std::logic_error("unknown control kind");
}

// Every control starts its own group, so arrow keys never move the focus
// onto the next control as the dialog manager would within a group.
DWORD StyleOf(ControlKind kind) {
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_GROUP;
  switch (kind) {
    case ControlKind::kLabel:
      // A caption is never a mnemonic; SS_NOTIFY lets the label see the
      // mouse, for its tooltip and its menu.
      return kChild | SS_LEFT | SS_NOPREFIX | SS_NOTIFY;
    case ControlKind::kComboBox:
      // A text longer than the field scrolls rather than being refused.
      return kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
    case ControlKind::kCommandButton:
      return kChild | WS_TABSTOP | BS_PUSHBUTTON;
  }
  throw std::logic_error("unknown control kind");
}

std::wstring WindowText(HWND hwnd) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1,
                    L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

void SetText(HWND hwnd, std::string_view text) {
  if (!SetWindowTextW(hwnd, Wide(text).c_str())) {
    throw std::runtime_error("cannot set a control's text");
  }
}

// A device context to measure texts in, given back on every way out. The
// fonts are screen fonts, so any screen-compatible one measures as the
// controls' own do.
class MeasuringDc {
 public:
  MeasuringDc() : dc_(CreateCompatibleDC(nullptr)) {
    if (dc_ == nullptr) throw std::runtime_error("no device context");
  }
  ~MeasuringDc() { DeleteDC(dc_); }
  MeasuringDc(const MeasuringDc&) = delete;
  MeasuringDc& operator=(const MeasuringDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

UINT DpiOf(HWND form) {
  const UINT dpi = GetDpiForWindow(form);
  return dpi == 0 ? kBaseDpi : dpi;
}

// Where a record's control goes at `dpi`, before an auto-sized label is
// fitted to its text.
RECT PlaceOf(const ControlRecord& record, UINT dpi) {
  const int x = window::Pixels(record.left, dpi);
  const int y = window::Pixels(record.top, dpi);
  int height = window::Pixels(record.height, dpi);
  // A drop-down combo box is made as tall as its opened list; its font
  // decides how tall the closed box is.
  if (record.kind == ControlKind::kComboBox) height *= 1 + kListRows;
  return {x, y, x + window::Pixels(record.width, dpi), y + height};
}

// The described combo boxes are 65 pixels wide at 96 dpi; once the arrow is
// drawn, the edit field's own margins would push "11.0592" past its right
// edge, misleading the reader. Without them the whole start text shows.
void LeaveTextRoom(HWND combo) {
  COMBOBOXINFO parts{};
  parts.cbSize = sizeof(parts);
  if (GetComboBoxInfo(combo, &parts) && parts.hwndItem != nullptr) {
    SendMessageW(parts.hwndItem, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                 MAKELPARAM(0, 0));
  }
}

}  // namespace

FormControls::FormControls(HWND form, std::span<const ControlRecord> records)
    : form_(form), records_(records), dpi_(DpiOf(form)) {
  const std::vector<const ControlRecord*> ordered = window::InTabOrder(records);
  const auto instance =
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(form, GWLP_HINSTANCE));
  controls_.reserve(ordered.size());
  for (const ControlRecord* record : ordered) {
    // Made with its text, where it goes and as big as it is at the form's
    // DPI: under Wine every later change is another trip to the server.
    const RECT place = PlaceOf(*record, dpi_);
    HWND hwnd = CreateWindowExW(
        0, ClassOf(record->kind), Wide(record->text).c_str(),
        StyleOf(record->kind), place.left, place.top, place.right - place.left,
        place.bottom - place.top, form,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(*record))),
        instance, nullptr);
    if (hwnd == nullptr) {
      throw std::runtime_error("cannot create " + std::string(record->name));
    }
    controls_.push_back({hwnd, record,
                         record->fore_color.value_or(window::kNormalTextColor),
                         nullptr, std::nullopt, false});
    // A combo box leaves its field empty whatever it was made with.
    if (record->kind == ControlKind::kComboBox) SetText(hwnd, record->text);
  }
  SetFonts();
}

FormControls::~FormControls() {
  // The children, tooltip included, go with the window; what they drew with
  // is ours.
  for (const auto& [colour, brush] : brushes_) DeleteObject(brush);
}

const FormControls::Control* FormControls::FindHandle(HWND child) const {
  const auto found =
      std::find_if(controls_.begin(), controls_.end(),
                   [child](const Control& c) { return c.hwnd == child; });
  return found == controls_.end() ? nullptr : &*found;
}

const FormControls::Control& FormControls::Find(std::string_view name,
                                                ControlKind kind) const {
  for (const Control& control : controls_) {
    if (control.record->name == name && control.record->kind == kind) {
      return control;
    }
  }
  throw std::invalid_argument("no such control: " + std::string(name));
}

FormControls::Control& FormControls::Find(std::string_view name,
                                          ControlKind kind) {
  return const_cast<Control&>(std::as_const(*this).Find(name, kind));
}

std::string FormControls::Text(std::string_view combo) const {
  return Utf8(WindowText(Find(combo, ControlKind::kComboBox).hwnd));
}

void FormControls::AddItem(std::string_view combo, std::string_view item) {
  const Control& control = Find(combo, ControlKind::kComboBox);
  const std::wstring text = Wide(item);
  // Appending neither selects the entry nor changes the field's text.
  const LRESULT index = SendMessageW(control.hwnd, CB_ADDSTRING, 0,
                                     reinterpret_cast<LPARAM>(text.c_str()));
  if (index == CB_ERR || index == CB_ERRSPACE) {
    throw std::runtime_error("cannot add to " + std::string(combo));
  }
}

void FormControls::SetCaption(std::string_view label,
                              std::string_view caption) {
  const Control& control = Find(label, ControlKind::kLabel);
  SetText(control.hwnd, caption);
  if (control.record->auto_size) FitToText(control, MeasuringDc().get());
}

void FormControls::SetForeColor(std::string_view label, window::Color color) {
  Control& control = Find(label, ControlKind::kLabel);
  control.fore = color;
  InvalidateRect(control.hwnd, nullptr, TRUE);
}

void FormControls::SetToolTip(std::string_view label, std::string_view text) {
  Control& control = Find(label, ControlKind::kLabel);
  control.tip = Wide(text);
  if (tooltip_ != nullptr) Tip(control);
}

void FormControls::Hovered() {
  // Made at the mouse's first visit rather than at start-up: it is one more
  // top-level window, which under Wine costs an X window. Tried once, so a
  // failure is told once.
  if (tips_tried_) return;
  tips_tried_ = true;
  tooltip_ = CreateWindowExW(
      WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
      WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
      CW_USEDEFAULT, CW_USEDEFAULT, form_, nullptr,
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(form_, GWLP_HINSTANCE)),
      nullptr);
  if (tooltip_ == nullptr) throw std::runtime_error("cannot create tooltips");
  for (Control& control : controls_) {
    if (control.tip) Tip(control);
  }
}

void FormControls::Tip(Control& control) {
  TTTOOLINFOW tool{};
  // The oldest size that has what is used here, so the common controls of
  // any version take it.
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = form_;
  tool.uId = reinterpret_cast<UINT_PTR>(control.hwnd);
  tool.lpszText = control.tip->data();  // copied by the tooltip
  if (!control.tip_shown) {
    if (!SendMessageW(tooltip_, TTM_ADDTOOLW, 0,
                      reinterpret_cast<LPARAM>(&tool))) {
      throw std::runtime_error("cannot add a tooltip to " +
                               std::string(control.record->name));
    }
    control.tip_shown = true;
  } else {
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0,
                 reinterpret_cast<LPARAM>(&tool));
  }
}

void FormControls::Unload() { DestroyWindow(form_); }

void FormControls::Layout(UINT dpi) {
  dpi_ = dpi;
  for (const Control& control : controls_) {
    const RECT place = PlaceOf(*control.record, dpi_);
    SetWindowPos(control.hwnd, nullptr, place.left, place.top,
                 place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SetFonts();
  RedrawWindow(form_, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void FormControls::SetFonts() {
  // New fonts first: a control must never hold a font already deleted.
  Font window_font = MakeFont(window::kForm1.font, dpi_);
  std::vector<Font> own_fonts;
  for (const Control& control : controls_) {
    own_fonts.push_back(control.record->font
                            ? MakeFont(*control.record->font, dpi_)
                            : Font(nullptr));
  }
  const MeasuringDc dc;
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    Control& control = controls_[i];
    HFONT font = own_fonts[i] ? own_fonts[i].get() : window_font.get();
    // Not redrawn one by one: the form is hidden or redrawn whole.
    SendMessageW(control.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font),
                 FALSE);
    control.own_font = std::move(own_fonts[i]);
    // A new font brings its own margins.
    if (control.record->kind == ControlKind::kComboBox) {
      LeaveTextRoom(control.hwnd);
    }
    if (control.record->auto_size) FitToText(control, dc.get());
  }
  window_font_ = std::move(window_font);
}

void FormControls::FitToText(const Control& control, HDC dc) const {
  const auto font =
      reinterpret_cast<HFONT>(SendMessageW(control.hwnd, WM_GETFONT, 0, 0));
  const HGDIOBJ previous = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const window::TwipSize size = window::AutoSizeTwips(
      Utf8(WindowText(control.hwnd)),
      [dc](std::string_view line) {
        const std::wstring wide = Wide(line);
        SIZE extent{};
        GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()),
                              &extent);
        return static_cast<double>(extent.cx);
      },
      metrics.tmHeight);
  SelectObject(dc, previous);
  SetWindowPos(control.hwnd, nullptr, 0, 0, size.width / window::kTwipsPerPixel,
               size.height / window::kTwipsPerPixel,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

const window::ControlRecord* FormControls::RecordOf(HWND child) const {
  const Control* control = FindHandle(child);
  return control == nullptr ? nullptr : control->record;
}

HWND FormControls::Handle(std::string_view name) const {
  for (const Control& control : controls_) {
    if (control.record->name == name) return control.hwnd;
  }
  throw std::invalid_argument("no such control: " + std::string(name));
}

HWND FormControls::FirstTabStop() const {
  const ControlRecord* first = window::FirstTabStop(records_);
  return first != nullptr ? Handle(first->name) : nullptr;
}

HBRUSH FormControls::Paint(HWND child, HDC dc) {
  const Control* control = FindHandle(child);
  if (control == nullptr || control->record->kind != ControlKind::kLabel) {
    return nullptr;
  }
  const window::LabelColors colors =
      window::ShownColors(control->fore, control->record->back_color,
                          [](int index) { return GetSysColor(index); });
  SetTextColor(dc, colors.text);
  SetBkColor(dc, colors.back);
  auto& brush = brushes_[colors.back];
  if (brush == nullptr) brush = CreateSolidBrush(colors.back);
  return brush;
}

std::optional<std::string> FormControls::CopyableCaption(HWND child) const {
  const Control* control = FindHandle(child);
  if (control == nullptr || !control->record->selectable) return std::nullopt;
  return Utf8(WindowText(control->hwnd));
}

}  // namespace win32
