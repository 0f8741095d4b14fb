// The handlers of trees, consensus, support and networks, added to the program's table.
#pragma once

#include "commands/shell/main_program.h"

namespace vorn {

void RegisterConsensusCommands(HandlerTable& table);
void RegisterNetworkCommand(HandlerTable& table);
void RegisterSupportCommand(HandlerTable& table);
void RegisterTreeMethodCommands(HandlerTable& table);
void RegisterUpgmaCommand(HandlerTable& table);

}  // namespace vorn
