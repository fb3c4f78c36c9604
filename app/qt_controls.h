#pragma once
// The window's control operations over the widgets BuildWindow made.

#include <map>
#include <span>
#include <string>
#include <string_view>

#include "window/controls.h"
#include "window/description.h"

class QLabel;
class QWidget;

namespace app {

class QtControls final : public window::Controls {
 public:
  // `widgets[i]` is the control made from `records[i]`; `form` holds them
  // all and must outlive this object.
  QtControls(QWidget& form, std::span<const window::ControlRecord> records,
             std::span<QWidget* const> widgets);

  std::string Text(std::string_view combo) const override;
  void AddItem(std::string_view combo, std::string_view item) override;
  void SetCaption(std::string_view label, std::string_view caption) override;
  void SetForeColor(std::string_view label, window::Color color) override;
  void SetToolTip(std::string_view label, std::string_view text) override;
  void Unload() override;

  // The widget of the control `name`, or nullptr.
  QWidget* Widget(std::string_view name) const;

  // Works every label's colours out again from the window's palette, as
  // when the desktop's changes.
  void Recolor();

 private:
  // The control `name` as widget type W; throws if there is none.
  template <class W>
  W& Find(std::string_view name) const;

  struct Control {
    QWidget* widget;
    const window::ControlRecord* record;
    window::Color fore;  // as last set, before the contrast rule
  };
  void Paint(QLabel& label, const Control& control) const;

  QWidget& form_;
  std::map<std::string_view, Control, std::less<>> controls_;
};

}  // namespace app
