// The handlers of loading, saving, importing, exporting, filtering and editing the data, added to the program's table.
#pragma once

#include "commands/shell/main_program.h"

namespace vorn {

void RegisterEditCommands(HandlerTable& table);
void RegisterExportCommands(HandlerTable& table);
void RegisterGroupCommands(HandlerTable& table);
void RegisterImportCommands(HandlerTable& table);
void RegisterLoadCommand(HandlerTable& table);
void RegisterMissingDataCommands(HandlerTable& table);
void RegisterProfileCommands(HandlerTable& table);
void RegisterRemovalCommands(HandlerTable& table);
void RegisterSaveCommand(HandlerTable& table);
void RegisterStatisticsCommands(HandlerTable& table);

}  // namespace vorn
