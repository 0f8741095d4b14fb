#include "commands/all_commands.h"

#include "commands/shell/registration.h"
#include "commands/report/registration.h"
#include "commands/data/registration.h"
#include "commands/similarity/registration.h"
#include "commands/trees/registration.h"
#include "commands/replicates/registration.h"
#include "commands/population/registration.h"
#include "commands/quality/registration.h"
#include "commands/pictures/registration.h"

namespace vorn {

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
