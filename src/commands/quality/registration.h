// The handlers of data quality, missing data and replicate samples, added to the program's table.
#pragma once

#include "commands/shell/main_program.h"

namespace vorn {

void RegisterDataQualityCommand(HandlerTable& table);
void RegisterMissingDataCheckCommand(HandlerTable& table);
void RegisterReplicateSampleCommands(HandlerTable& table);

}  // namespace vorn
