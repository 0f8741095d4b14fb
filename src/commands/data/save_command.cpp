// File > Save DataMatrix: the working data (a selected group or locus set is saved as such) in
// the layout confirmed in the file parameter dialog, followed by the group blocks. What the
// reader could not give back is refused before anything is written, and the file is replaced
// only when all of it was written: a failure leaves the file that was there.
#include "commands/dialogs/file_filters.h"
#include "commands/shell/data_guard.h"
#include "commands/shell/main_program.h"
#include "io/data_file_writer.h"
#include "io/group_blocks.h"

namespace vorn {
namespace {

void Save1Click(TMainPrg& app) {
  if (!RequireMatrix(app)) return;
  const FileDialogOptions options = SaveFileOptions("", kTextFilter, "datafile.txt", "txt");
  const auto chosen = app.host.ChooseSaveFile(options);
  if (!chosen) return;
  const std::string& name = *chosen;

  TFileParamDialog& dialog = app.dialogs.fileParam;
  dialog.ShowAmbiguityNegative(true);
  const bool accepted = dialog.Execute(app, app.ws.settings.layout);
  dialog.ShowAmbiguityNegative(false);
  if (!accepted) return;

  const GroupState& groups = app.ws.groups;
  const auto saved = WriteDataFile(name, app.ws.data, app.ws.settings.layout, groups.groups, groups.locusSets);
  if (!app.Check(saved)) return;
  for (GroupBlock block : *saved) app.ErrorBox(CleanedMembersMessage(block));
  app.Report("Saving DataMatrix to " + name);
}

}  // namespace

void RegisterSaveCommand(HandlerTable& table) { table["Save1Click"] = Plain(Save1Click); }

}  // namespace vorn
