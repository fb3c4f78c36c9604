#pragma once
// The window's control operations over the page's elements.

#include <map>
#include <span>
#include <string>
#include <string_view>

#include "window/controls.h"

namespace web {

class DomControls final : public window::Controls {
 public:
  explicit DomControls(std::span<const window::ControlRecord> records);

  std::string Text(std::string_view combo) const override;
  void AddItem(std::string_view combo, std::string_view item) override;
  void SetCaption(std::string_view label, std::string_view caption) override;
  void SetForeColor(std::string_view label, window::Color color) override;
  void SetToolTip(std::string_view label, std::string_view text) override;
  void Unload() override;

  // Works every label's colour out again for the scheme the page is now in.
  void Recolor();

 private:
  struct Label {
    const window::ControlRecord* record;
    window::Color described;  // as last set, before the contrast rule
  };
  // Throws when no control of that kind has the name.
  const window::ControlRecord& Find(std::string_view name,
                                    window::ControlKind kind) const;
  void Paint(std::string_view name, const Label& label) const;

  std::map<std::string_view, const window::ControlRecord*, std::less<>>
      records_;
  std::map<std::string_view, Label, std::less<>> labels_;
};

}  // namespace web
