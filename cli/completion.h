#pragma once
// The bash completion of baud51-cli, written from the tables of commands
// and options and the catalogue when the program is built.

#include <string>

namespace cli {

// A bash script that defines _baud51_cli and binds it to baud51-cli. It
// offers the commands, each command's options, every option's values
// (after --chip NAME, that family's own timers and clocks), and the
// standard crystals (MHz) and rates where a FREQ or BAUD goes.
//   CompletionScript() contains "--format) COMPREPLY=($(compgen -W \"text
//   csv json markdown\" ..."
//   after "--chip n76e003 --timer " it offers "1 3"
std::string CompletionScript();

}  // namespace cli
