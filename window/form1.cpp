#include "window/form1.h"

namespace window {

void Form1::Load() {}

void Form1::Command1_Click() {}

void Form1::Command2_Click() {}

}  // namespace window
