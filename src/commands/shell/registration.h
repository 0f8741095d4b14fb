// The handlers of the shell's own commands (Exit, About, Help, file names, workbench options), added to the program's table.
#pragma once

#include "commands/shell/main_program.h"

namespace vorn {

void RegisterFileNameCommands(HandlerTable& table);
void RegisterShellCommands(HandlerTable& table);
void RegisterWorkbenchCommands(HandlerTable& table);

}  // namespace vorn
