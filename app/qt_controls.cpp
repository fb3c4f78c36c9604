#include "app/qt_controls.h"

#include <QComboBox>
#include <QLabel>
#include <QWidget>
#include <stdexcept>

#include "app/builder.h"

namespace app {

QtControls::QtControls(QWidget& form,
                       std::span<const window::ControlRecord> records,
                       std::span<QWidget* const> widgets)
    : form_(form) {
  for (std::size_t i = 0; i < records.size() && i < widgets.size(); ++i) {
    controls_.emplace(
        records[i].name,
        Control{widgets[i], &records[i],
                records[i].fore_color.value_or(window::kNormalTextColor)});
  }
}

QWidget* QtControls::Widget(std::string_view name) const {
  const auto found = controls_.find(name);
  return found == controls_.end() ? nullptr : found->second.widget;
}

template <class W>
W& QtControls::Find(std::string_view name) const {
  const auto found = controls_.find(name);
  W* widget = found == controls_.end() ? nullptr
                                       : qobject_cast<W*>(found->second.widget);
  if (widget == nullptr) {
    throw std::invalid_argument("no " +
                                std::string(W::staticMetaObject.className()) +
                                " named " + std::string(name));
  }
  return *widget;
}

std::string QtControls::Text(std::string_view combo) const {
  return Find<QComboBox>(combo).currentText().toStdString();
}

void QtControls::AddItem(std::string_view combo, std::string_view item) {
  auto& box = Find<QComboBox>(combo);
  // Qt selects the first entry added to an empty list, which would replace
  // the field's text; here the text stays and nothing is selected.
  const int index = box.currentIndex();
  const QString text = box.currentText();
  box.addItem(Utf8(item));
  if (box.currentIndex() != index) {
    box.setCurrentIndex(index);
    box.setEditText(text);
  }
}

void QtControls::SetCaption(std::string_view label, std::string_view caption) {
  auto& widget = Find<QLabel>(label);
  widget.setText(Utf8(caption));
  if (controls_.find(label)->second.record->auto_size) {
    ApplyAutoSize(widget, caption);
  }
}

void QtControls::SetForeColor(std::string_view label, window::Color color) {
  auto& widget = Find<QLabel>(label);
  Control& control = controls_.find(label)->second;
  control.fore = color;
  Paint(widget, control);
}

void QtControls::Recolor() {
  for (const auto& [name, control] : controls_) {
    if (auto* label = qobject_cast<QLabel*>(control.widget)) {
      Paint(*label, control);
    }
  }
}

// From the window's palette rather than the label's: while a new one
// spreads, the window has it before its children do.
void QtControls::Paint(QLabel& label, const Control& control) const {
  QPalette palette = form_.palette();
  // Only the roles set below are the label's own; the rest it inherits.
  palette.setResolveMask(0);
  SetLabelColors(palette, control.fore, control.record->back_color);
  label.setPalette(palette);
}

void QtControls::SetToolTip(std::string_view label, std::string_view text) {
  Find<QLabel>(label).setToolTip(Utf8(text));
}

void QtControls::Unload() { form_.close(); }

}  // namespace app
