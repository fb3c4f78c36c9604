#pragma once
// The start routine: from the project descriptor to a running window, and
// back when no window is left.

#include <functional>

#include "window/project.h"

class QWidget;

namespace app {

struct StartHooks {
  // Called once the window is first shown, before the event loop runs.
  std::function<void(QWidget& form)> on_shown;
};

// Exit status when there is no display to open the window on, or Qt cannot
// start for another reason.
inline constexpr int kNoDisplayExit = 2;

// Creates the application, then Run(). Without a display, or with a named
// display that cannot be opened, it says so in one line on stderr; if Qt
// cannot start for any other reason, it passes on what Qt said, in one line.
// Either way it exits with kNoDisplayExit.
int Start(const window::ProjectDescriptor& project,
          const StartHooks& hooks = {});

// Needs a QApplication: configures it, builds Form1, raises Load, shows the
// window and runs the event loop until no window is left.
int Run(const window::ProjectDescriptor& project, const StartHooks& hooks = {});

// Application-wide settings: name, version "1.00", locale with Qt's own
// translation for it when installed, default font.
void ConfigureApplication(const window::ProjectDescriptor& project);

}  // namespace app
