// The entry point reads nothing of its own: it hands the project to the start
// routine and returns when the window is gone.
#include "app/start.h"
#include "window/project.h"

int main() { return app::Start(window::kBaud51Project); }
