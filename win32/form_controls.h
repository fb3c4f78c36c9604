#pragma once
// The window's control operations over Win32 child windows: one STATIC,
// COMBOBOX or BUTTON per control record, made and laid out here.

#include <windows.h>

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "win32/look.h"
#include "window/controls.h"
#include "window/description.h"

namespace win32 {

class FormControls final : public window::Controls {
 public:
  // Creates one child of `form` per record, in tab-index order, since the
  // dialog manager's Tab follows the children's z-order, each with its
  // text, font, place and size at the form's DPI. Throws if a child cannot
  // be made. `form` and `records` must outlive this object.
  FormControls(HWND form, std::span<const window::ControlRecord> records);
  ~FormControls() override;
  FormControls(const FormControls&) = delete;
  FormControls& operator=(const FormControls&) = delete;

  std::string Text(std::string_view combo) const override;
  void AddItem(std::string_view combo, std::string_view item) override;
  void SetCaption(std::string_view label, std::string_view caption) override;
  void SetForeColor(std::string_view label, window::Color color) override;
  void SetToolTip(std::string_view label, std::string_view text) override;
  void Unload() override;

  // Gives every control its font, place and size at `dpi`, as when the
  // window moves to a monitor of another DPI, and redraws the form.
  void Layout(UINT dpi);

  // For WM_SETCURSOR, which comes with the mouse over the form or any of
  // its children: makes the tooltips on the first call. Throws if they
  // cannot be made, once.
  void Hovered();

  // The record of one of the window's children; nullptr for any other.
  const window::ControlRecord* RecordOf(HWND child) const;
  // The child made for a record's name; throws if there is none.
  HWND Handle(std::string_view name) const;
  // The focus-taking control with the lowest tab index; nullptr if none.
  HWND FirstTabStop() const;

  // For WM_CTLCOLORSTATIC: sets `dc`'s colours for one of the labels and
  // returns the brush of its background, or nullptr for any other child.
  HBRUSH Paint(HWND child, HDC dc);

  // The caption of a label that offers copying; nullopt for any other child.
  std::optional<std::string> CopyableCaption(HWND child) const;

 private:
  struct Control {
    HWND hwnd;
    const window::ControlRecord* record;
    window::Color fore;               // the described colour last set
    Font own_font;                    // null: the window's font
    std::optional<std::wstring> tip;  // the text its tooltip is to show
    bool tip_shown = false;           // handed to the tooltip window
  };
  const Control* FindHandle(HWND child) const;
  Control& Find(std::string_view name, window::ControlKind kind);
  const Control& Find(std::string_view name, window::ControlKind kind) const;
  // Fonts at dpi_; auto-sized labels measure their captions in them.
  void SetFonts();
  void FitToText(const Control& control, HDC dc) const;
  // Hands a control's tip to the tooltip window, which must exist.
  void Tip(Control& control);

  HWND form_;
  std::span<const window::ControlRecord> records_;
  HWND tooltip_ = nullptr;  // made at the first hover
  bool tips_tried_ = false;
  UINT dpi_ = kBaseDpi;
  std::vector<Control> controls_;
  Font window_font_;
  std::map<COLORREF, HBRUSH> brushes_;
};

}  // namespace win32
