#pragma once
// The window's control operations over the widgets BuildWindow made.

#include <map>
#include <span>
#include <string>
#include <string_view>

#include "window/controls.h"
#include "window/description.h"

class QWidget;

namespace app {

class QtControls final : public window::Controls {
 public:
  // `form` must outlive this object and hold one child per record.
  QtControls(QWidget& form, std::span<const window::ControlRecord> records);

  std::string Text(std::string_view combo) const override;
  void AddItem(std::string_view combo, std::string_view item) override;
  void SetCaption(std::string_view label, std::string_view caption) override;
  void SetForeColor(std::string_view label, window::Color color) override;
  void SetToolTip(std::string_view label, std::string_view text) override;
  void Unload() override;

 private:
  struct Control {
    QWidget* widget;
    const window::ControlRecord* record;
  };
  // The control `name` as widget type W; throws if there is none.
  template <class W>
  W& Find(std::string_view name) const;

  QWidget& form_;
  std::map<std::string, Control, std::less<>> controls_;
};

}  // namespace app
