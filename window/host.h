#pragma once
// Form1 as every front end runs it: the host owns the handlers, gives the
// starting results their tooltips, and routes the window's events to the
// handlers the project connects, each through Dispatch. No toolkit: a front
// end hands in its control operations and the way it shows a message, and
// calls in when its toolkit reports an event.

#include <string_view>

#include "window/controls.h"
#include "window/dispatch.h"
#include "window/form1.h"
#include "window/project.h"

namespace window {

class Host {
 public:
  // Makes Form1 over `controls` and gives the results the window starts
  // with their tooltips, which throws as a press with the starting texts
  // would. `project` and `controls` must outlive the host; nothing is
  // raised yet.
  Host(const ProjectDescriptor& project, Controls& controls, Reporter report);

  // Raises Form1's Load event, if the project connects it.
  void RaiseLoad();

  // A click on the control `object`: every handler the project connects to
  // it runs through Dispatch, a failure going to the reporter. Returns the
  // last one that ran to its end, nullptr if none did.
  //   Click("Command1") -> &Form1::Command1_Click, both results shown
  //   Click("Command1") with the baud field empty -> nullptr, "除数为零"
  //   Click("Label1")   -> nullptr, nothing run
  Handler Click(std::string_view object);

 private:
  Handler Raise(std::string_view object, Event event);

  const ProjectDescriptor& project_;
  Reporter report_;
  Form1 form_;
};

}  // namespace window
