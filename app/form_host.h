#pragma once
// Form1 built and wired: its widgets, the control operations over them, the
// handlers, and the connected events, each through the dispatch point.

#include <memory>

#include "app/builder.h"
#include "app/qt_controls.h"
#include "window/form1.h"
#include "window/project.h"

class QWidget;

namespace app {

class FormHost {
 public:
  // Builds the window from its description, gives its starting results
  // their tooltips and connects the project's events; nothing is shown and
  // Load has not been raised yet.
  explicit FormHost(const window::ProjectDescriptor& project);
  ~FormHost();
  FormHost(const FormHost&) = delete;
  FormHost& operator=(const FormHost&) = delete;

  QWidget& Window() const { return *built_.form; }

  // Raises the window's Load event, if the project connects it.
  void RaiseLoad();

  // Shows the window with the focus on the control with the lowest tab index.
  void Show();

 private:
  const window::ProjectDescriptor& project_;
  BuiltWindow built_;
  QtControls controls_;
  window::Form1 form_;
};

}  // namespace app
