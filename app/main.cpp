// The entry point reads nothing of its own: it hands the project to the start
// routine and returns when the window is gone.
#include "app/project.h"
#include "app/start.h"

int main() { return app::Start(app::kBaud51Project); }
