// The handlers of the population analyses, added to the program's table.
#pragma once

#include "commands/shell/main_program.h"

namespace vorn {

void RegisterAmovaCommands(HandlerTable& table);
void RegisterAssignmentCommand(HandlerTable& table);
void RegisterBandFstCommand(HandlerTable& table);
void RegisterBandRarityCommand(HandlerTable& table);
void RegisterMantelCommand(HandlerTable& table);
void RegisterPopulationCommands(HandlerTable& table);
void RegisterShannonCommands(HandlerTable& table);
void RegisterShannonReplicateCommands(HandlerTable& table);
void RegisterSpatialCommand(HandlerTable& table);
void RegisterStructureCommand(HandlerTable& table);

}  // namespace vorn
