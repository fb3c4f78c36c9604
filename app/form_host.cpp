#include "app/form_host.h"

#include <QPushButton>
#include <QWidget>
#include <algorithm>
#include <stdexcept>
#include <string>

#include "app/builder.h"
#include "app/dispatch.h"
#include "window/description.h"

namespace app {

FormHost::FormHost(const ProjectDescriptor& project)
    : project_(project),
      window_(BuildWindow(window::kForm1, window::kForm1Controls)),
      controls_(*window_, window::kForm1Controls),
      form_(controls_) {
  if (project.startup_object != window::kForm1.name) {
    throw std::invalid_argument("unknown start-up object " +
                                std::string(project.startup_object));
  }
  form_.DescribeStartResults();
  for (const EventConnection& connection : project.events) {
    if (connection.event != Event::kClick) continue;
    auto* button = window_->findChild<QPushButton*>(Utf8(connection.object),
                                                    Qt::FindDirectChildrenOnly);
    if (button == nullptr) {
      throw std::invalid_argument("no button " +
                                  std::string(connection.object));
    }
    const Handler handler = connection.handler;
    QObject::connect(
        button, &QPushButton::clicked, window_.get(),
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
  QWidget* focus = window_->findChild<QWidget*>(Utf8(first->name),
                                                Qt::FindDirectChildrenOnly);
  if (focus != nullptr) focus->setFocus(Qt::OtherFocusReason);
  window_->show();
  if (focus != nullptr) focus->setFocus(Qt::OtherFocusReason);
}

}  // namespace app
