#pragma once
// Form1 built and wired: its widgets, the control operations over them, and
// the window's host, which the widgets' events reach.

#include <QObject>
#include <memory>

#include "app/builder.h"
#include "app/qt_controls.h"
#include "window/host.h"
#include "window/project.h"

class QWidget;

namespace app {

class FormHost final : public QObject {
 public:
  // Builds the window from its description, gives its starting results
  // their tooltips and connects its buttons to the host; nothing is shown
  // and Load has not been raised yet.
  explicit FormHost(const window::ProjectDescriptor& project);
  ~FormHost() override;
  FormHost(const FormHost&) = delete;
  FormHost& operator=(const FormHost&) = delete;

  QWidget& Window() const { return *built_.form; }

  // Raises the window's Load event, if the project connects it.
  void RaiseLoad();

  // Shows the window with the focus on the control with the lowest tab index.
  void Show();

 protected:
  // A new palette on the window, the desktop's or its own, colours the
  // labels anew by the readable-colour rule.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  BuiltWindow built_;
  QtControls controls_;
  window::Host host_;
};

}  // namespace app
