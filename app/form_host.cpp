#include "app/form_host.h"

#include <QEvent>
#include <QPushButton>
#include <QWidget>

#include "app/dispatch.h"
#include "app/error_report.h"
#include "window/description.h"
#include "window/look.h"

namespace app {

FormHost::FormHost(const window::ProjectDescriptor& project)
    : built_(BuildWindow(window::kForm1, window::kForm1Controls)),
      controls_(*built_.form, window::kForm1Controls, built_.controls),
      host_(project, controls_, ReportError) {
  for (const window::ControlRecord& record : window::kForm1Controls) {
    auto* button = qobject_cast<QPushButton*>(controls_.Widget(record.name));
    if (button == nullptr) continue;
    QObject::connect(button, &QPushButton::clicked, this,
                     [this, name = record.name] { host_.Click(name); });
  }
  built_.form->installEventFilter(this);
}

// The host and the controls go before the window, which must not call on
// them as it goes.
FormHost::~FormHost() { built_.form->removeEventFilter(this); }

void FormHost::RaiseLoad() { host_.RaiseLoad(); }

void FormHost::Show() {
  const window::ControlRecord* first =
      window::FirstTabStop(window::kForm1Controls);
  QWidget* focus = first ? controls_.Widget(first->name) : nullptr;
  if (focus != nullptr) focus->setFocus(Qt::OtherFocusReason);
  built_.form->show();
  if (focus != nullptr) focus->setFocus(Qt::OtherFocusReason);
}

// The desktop's palette reaches the window as its own, so one event covers
// both.
bool FormHost::eventFilter(QObject* watched, QEvent* event) {
  if (watched == built_.form.get() && event->type() == QEvent::PaletteChange) {
    Dispatch([this] { controls_.Recolor(); });
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace app
