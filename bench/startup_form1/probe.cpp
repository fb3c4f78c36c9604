// Start-up probe: the real start routine, quitting as soon as the window has
// been shown and its first events handled.
#include <QCoreApplication>
#include <QTimer>
#include <QWidget>

#include "app/project.h"
#include "app/start.h"

int main() {
  return app::Start(app::kBaud51Project, {[](QWidget&) {
                      QTimer::singleShot(0, QCoreApplication::instance(),
                                         &QCoreApplication::quit);
                    }});
}
