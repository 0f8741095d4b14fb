// File > Save DataMatrix: the working data (a selected group or locus set is saved as such) in
// the layout confirmed in the file parameter dialog, followed by the group blocks.
#include "commands/main_program.h"
#include "io/data_file_writer.h"
#include "io/group_blocks.h"

namespace vorn {
namespace {

// Appends one block; false when the file could not be written (already told).
bool AppendBlock(TMainPrg& app, const std::string& name, const GroupList& list, GroupBlock block) {
  const auto written = WriteBlock(name, list, block, WriteMode::Append);
  if (!app.Check(written)) return false;
  if (written.value()) app.ErrorBox(CleanedMembersMessage(block));
  return true;
}

void Save1Click(TMainPrg& app) {
  if (!app.RequireData()) return;
  FileDialogOptions options;
  options.filter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
  options.initialName = "datafile.txt";
  options.defaultExtension = "txt";
  options.confirmOverwrite = true;
  const auto chosen = app.host.ChooseSaveFile(options);
  if (!chosen) return;
  const std::string& name = *chosen;

  TFileParamDialog& dialog = app.dialogs.fileParam;
  dialog.ShowAmbiguityNegative(true);
  const bool accepted = dialog.Execute(app, app.ws.settings.layout);
  dialog.ShowAmbiguityNegative(false);
  if (!accepted) return;

  const FileLayout& layout = app.ws.settings.layout;
  if (!app.Check(WriteDataFile(name, app.ws.data, layout))) return;
  if (layout.includeGroups) {
    if (!AppendBlock(app, name, app.ws.groups.groups, GroupBlock::Groups)) return;
    if (!AppendBlock(app, name, app.ws.groups.locusSets, GroupBlock::LocusSets)) return;
  }
  app.Report("Saving DataMatrix to " + name);
}

}  // namespace

void RegisterSaveCommand(HandlerTable& table) { table["Save1Click"] = Plain(Save1Click); }

}  // namespace vorn
