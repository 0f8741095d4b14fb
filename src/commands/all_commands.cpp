#include "commands/all_commands.h"

namespace vorn {

// Each subject adds its handlers to the table.
void RegisterShellCommands(HandlerTable& table);
void RegisterFileNameCommands(HandlerTable& table);
void RegisterLoadCommand(HandlerTable& table);
void RegisterStatisticsCommands(HandlerTable& table);
void RegisterMissingDataCommands(HandlerTable& table);
void RegisterRemovalCommands(HandlerTable& table);
void RegisterShannonCommands(HandlerTable& table);
void RegisterShannonReplicateCommands(HandlerTable& table);
void RegisterSaveCommand(HandlerTable& table);
void RegisterGroupCommands(HandlerTable& table);
void RegisterUpgmaCommand(HandlerTable& table);
void RegisterConsensusCommands(HandlerTable& table);
void RegisterProfileCommands(HandlerTable& table);
void RegisterSimilarityCommands(HandlerTable& table);
void RegisterReplicateCommands(HandlerTable& table);
void RegisterExportCommands(HandlerTable& table);
void RegisterAmovaCommands(HandlerTable& table);
void RegisterRSupportCommands(HandlerTable& table);
void RegisterPcoaCommand(HandlerTable& table);
void RegisterPictureCommands(HandlerTable& table);
void RegisterPopulationCommands(HandlerTable& table);
void RegisterMantelCommand(HandlerTable& table);
void RegisterStructureCommand(HandlerTable& table);
void RegisterAssignmentCommand(HandlerTable& table);
void RegisterTreeMethodCommands(HandlerTable& table);
void RegisterSupportCommand(HandlerTable& table);
void RegisterImportCommands(HandlerTable& table);
void RegisterWorkbenchCommands(HandlerTable& table);
void RegisterReplicateSampleCommands(HandlerTable& table);
void RegisterDataQualityCommand(HandlerTable& table);
void RegisterMissingDataCheckCommand(HandlerTable& table);
void RegisterBandFstCommand(HandlerTable& table);
void RegisterBandRarityCommand(HandlerTable& table);
void RegisterSpatialCommand(HandlerTable& table);
void RegisterNetworkCommand(HandlerTable& table);
void RegisterReportCommand(HandlerTable& table);
void RegisterEditCommands(HandlerTable& table);

HandlerTable AllCommands() {
  HandlerTable table;
  RegisterShellCommands(table);
  RegisterFileNameCommands(table);
  RegisterLoadCommand(table);
  RegisterStatisticsCommands(table);
  RegisterMissingDataCommands(table);
  RegisterRemovalCommands(table);
  RegisterShannonCommands(table);
  RegisterShannonReplicateCommands(table);
  RegisterSaveCommand(table);
  RegisterGroupCommands(table);
  RegisterUpgmaCommand(table);
  RegisterConsensusCommands(table);
  RegisterProfileCommands(table);
  RegisterSimilarityCommands(table);
  RegisterReplicateCommands(table);
  RegisterExportCommands(table);
  RegisterAmovaCommands(table);
  RegisterRSupportCommands(table);
  RegisterPcoaCommand(table);
  RegisterPictureCommands(table);
  RegisterPopulationCommands(table);
  RegisterMantelCommand(table);
  RegisterSpatialCommand(table);
  RegisterStructureCommand(table);
  RegisterAssignmentCommand(table);
  RegisterTreeMethodCommands(table);
  RegisterSupportCommand(table);
  RegisterImportCommands(table);
  RegisterWorkbenchCommands(table);
  RegisterReplicateSampleCommands(table);
  RegisterDataQualityCommand(table);
  RegisterMissingDataCheckCommand(table);
  RegisterBandFstCommand(table);
  RegisterBandRarityCommand(table);
  RegisterNetworkCommand(table);
  RegisterReportCommand(table);
  RegisterEditCommands(table);
  return table;
}

}  // namespace vorn
