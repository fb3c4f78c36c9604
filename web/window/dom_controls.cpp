#include "web/window/dom_controls.h"

#include <stdexcept>

#include "web/dom.h"
#include "web/window/builder.h"

namespace web {
namespace {

std::string_view KindName(window::ControlKind kind) {
  switch (kind) {
    case window::ControlKind::kLabel:
      return "label";
    case window::ControlKind::kComboBox:
      return "combo box";
    case window::ControlKind::kCommandButton:
      return "button";
  }
  return "control";
}

}  // namespace

DomControls::DomControls(std::span<const window::ControlRecord> records) {
  for (const window::ControlRecord& record : records) {
    records_.emplace(record.name, &record);
    if (record.kind == window::ControlKind::kLabel) {
      labels_.emplace(
          record.name,
          Label{&record, record.fore_color.value_or(window::kNormalTextColor)});
    }
  }
}

const window::ControlRecord& DomControls::Find(std::string_view name,
                                               window::ControlKind kind) const {
  const auto found = records_.find(name);
  if (found == records_.end() || found->second->kind != kind) {
    throw std::invalid_argument("no " + std::string(KindName(kind)) +
                                " named " + std::string(name));
  }
  return *found->second;
}

std::string DomControls::Text(std::string_view combo) const {
  Find(combo, window::ControlKind::kComboBox);
  return FieldText(combo);
}

void DomControls::AddItem(std::string_view combo, std::string_view item) {
  Find(combo, window::ControlKind::kComboBox);
  baud51_dom_add_item(combo.data(), combo.size(), item.data(), item.size());
}

// An auto-sized label takes its text's size from the browser's own layout.
void DomControls::SetCaption(std::string_view label, std::string_view caption) {
  Find(label, window::ControlKind::kLabel);
  baud51_dom_set_caption(label.data(), label.size(), caption.data(),
                         caption.size());
}

void DomControls::SetForeColor(std::string_view label, window::Color color) {
  Find(label, window::ControlKind::kLabel);
  Label& shown = labels_.find(label)->second;
  shown.described = color;
  Paint(label, shown);
}

void DomControls::SetToolTip(std::string_view label, std::string_view text) {
  Find(label, window::ControlKind::kLabel);
  baud51_dom_set_tooltip(label.data(), label.size(), text.data(), text.size());
}

void DomControls::Unload() { baud51_dom_unload(); }

void DomControls::Recolor() {
  for (const auto& [name, label] : labels_) Paint(name, label);
}

void DomControls::Paint(std::string_view name, const Label& label) const {
  const auto back = label.record->back_color;
  const window::LabelColors shown = LabelColors(label.described, back);
  baud51_dom_set_colors(name.data(), name.size(), shown.text,
                        back ? static_cast<int>(shown.back) : -1);
}

}  // namespace web
