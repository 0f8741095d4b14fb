// File > Load: choose a data file, confirm its layout, read it.
#include "commands/main_program.h"
#include "core/text_file.h"
#include "io/data_file_reader.h"

namespace vorn {
namespace {

void Load1Click(TMainPrg& app) {
  FileDialogOptions options;
  options.filter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
  const auto chosen = app.host.ChooseOpenFile(options);
  if (!chosen) return;
  const std::string& name = *chosen;
  if (!FileExists(name)) {
    app.MessageQuery("Input file does not exist", "Error", MessageButtons::Ok);
    return;
  }
  if (!app.dialogs.fileParam.Execute(app, app.ws.settings.layout)) {
    app.ErrorBox("No data loaded.");
    return;
  }
  // The file is read into a new matrix, so a failed read leaves the previous data in place.
  auto matrix = ReadDataFile(name, app.ws.settings.layout);
  if (!app.Check(matrix)) return;
  app.ws.InstallLoadedMatrix(std::move(*matrix));
  app.Report("Loading File: " + name);
}

}  // namespace

void RegisterLoadCommand(HandlerTable& table) { table["Load1Click"] = Plain(Load1Click); }

}  // namespace vorn
