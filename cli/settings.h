#pragma once
// The settings library, timers/, under the command line's own names.

#include "timers/catalogue.h"
#include "timers/settings.h"
#include "timers/text.h"

namespace cli {
using namespace timers;  // NOLINT(google-build-using-namespace)
}  // namespace cli
