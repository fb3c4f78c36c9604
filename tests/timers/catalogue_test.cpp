#include "timers/catalogue.h"
