// Every command of the program: the table a host gives the main program.
#pragma once

#include "commands/main_program.h"

namespace vorn {

HandlerTable AllCommands();

}  // namespace vorn
