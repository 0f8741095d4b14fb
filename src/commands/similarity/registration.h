// The handlers of the similarity matrices and their ordination, added to the program's table.
#pragma once

#include "commands/shell/main_program.h"

namespace vorn {

void RegisterPcoaCommand(HandlerTable& table);
void RegisterSimilarityCommands(HandlerTable& table);

}  // namespace vorn
