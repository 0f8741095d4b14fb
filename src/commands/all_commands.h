// Every command of the program: the table a host gives the main program, built from the handlers
// of each subject below.
#pragma once

#include "commands/shell/main_program.h"

namespace vorn {

HandlerTable AllCommands();

}  // namespace vorn
