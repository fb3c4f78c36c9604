#include "app/form_host.h"

#include <QPushButton>
#include <QWidget>
#include <algorithm>

#include "app/dispatch.h"
#include "window/description.h"

namespace app {

FormHost::FormHost(const ProjectDescriptor& project)
    : project_(project),
      built_(BuildWindow(window::kForm1, window::kForm1Controls)),
      controls_(*built_.form, window::kForm1Controls, built_.controls),
      form_(controls_) {
  form_.DescribeStartResults();
  for (const EventConnection& connection : project.events) {
    if (connection.event != Event::kClick) continue;
    auto* button =
        qobject_cast<QPushButton*>(controls_.Widget(connection.object));
    if (button == nullptr) continue;  // the descriptor names only buttons
    const Handler handler = connection.handler;
    QObject::connect(
        button, &QPushButton::clicked, built_.form.get(),
        [this, handler] { Dispatch([&] { (form_.*handler)(); }); });
  }
}

FormHost::~FormHost() = default;

void FormHost::RaiseLoad() {
  for (const EventConnection& connection : project_.events) {
    if (connection.event == Event::kLoad &&
        connection.object == window::kForm1.name) {
      Dispatch([&] { (form_.*connection.handler)(); });
    }
  }
}

void FormHost::Show() {
  const auto& controls = window::kForm1Controls;
  const auto first = std::min_element(
      controls.begin(), controls.end(), [](const auto& a, const auto& b) {
        // Controls that cannot take the focus sort last.
        if (window::TakesFocus(a) != window::TakesFocus(b)) {
          return window::TakesFocus(a);
        }
        return a.tab_index < b.tab_index;
      });
  QWidget* focus = controls_.Widget(first->name);
  if (focus != nullptr) focus->setFocus(Qt::OtherFocusReason);
  built_.form->show();
  if (focus != nullptr) focus->setFocus(Qt::OtherFocusReason);
}

}  // namespace app
