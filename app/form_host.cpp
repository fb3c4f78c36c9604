#include "app/form_host.h"

#include <QPushButton>
#include <QWidget>

#include "app/dispatch.h"
#include "window/description.h"
#include "window/look.h"

namespace app {

FormHost::FormHost(const window::ProjectDescriptor& project)
    : project_(project),
      built_(BuildWindow(window::kForm1, window::kForm1Controls)),
      controls_(*built_.form, window::kForm1Controls, built_.controls),
      form_(controls_) {
  form_.DescribeStartResults();
  for (const window::EventConnection& connection : project.events) {
    if (connection.event != window::Event::kClick) continue;
    auto* button =
        qobject_cast<QPushButton*>(controls_.Widget(connection.object));
    if (button == nullptr) continue;  // the descriptor names only buttons
    const window::Handler handler = connection.handler;
    QObject::connect(
        button, &QPushButton::clicked, built_.form.get(),
        [this, handler] { Dispatch([&] { (form_.*handler)(); }); });
  }
}

FormHost::~FormHost() = default;

void FormHost::RaiseLoad() {
  for (const window::EventConnection& connection : project_.events) {
    if (connection.event == window::Event::kLoad &&
        connection.object == window::kForm1.name) {
      Dispatch([&] { (form_.*connection.handler)(); });
    }
  }
}

void FormHost::Show() {
  const window::ControlRecord* first =
      window::FirstTabStop(window::kForm1Controls);
  QWidget* focus = first ? controls_.Widget(first->name) : nullptr;
  if (focus != nullptr) focus->setFocus(Qt::OtherFocusReason);
  built_.form->show();
  if (focus != nullptr) focus->setFocus(Qt::OtherFocusReason);
}

}  // namespace app
