// The handlers of the bootstrap and jackknife replicates, added to the program's table.
#pragma once

#include "commands/shell/main_program.h"

namespace vorn {

void RegisterRSupportCommands(HandlerTable& table);
void RegisterReplicateCommands(HandlerTable& table);

}  // namespace vorn
