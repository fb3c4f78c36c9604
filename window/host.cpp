#include "window/host.h"

#include <utility>

#include "window/description.h"

namespace window {

Host::Host(const ProjectDescriptor& project, Controls& controls,
           Reporter report)
    : project_(project), report_(std::move(report)), form_(controls) {
  form_.DescribeStartResults();
}

void Host::RaiseLoad() { Raise(kForm1.name, Event::kLoad); }

Handler Host::Click(std::string_view object) {
  return Raise(object, Event::kClick);
}

// One dispatch per handler, so one that fails leaves the next its turn.
Handler Host::Raise(std::string_view object, Event event) {
  Handler finished = nullptr;
  for (const EventConnection& connection : project_.events) {
    if (connection.object != object || connection.event != event) continue;
    Dispatch(
        [&] {
          (form_.*connection.handler)();
          finished = connection.handler;
        },
        report_);
  }
  return finished;
}

}  // namespace window
