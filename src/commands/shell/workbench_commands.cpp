// Commands added for the desktop workbench: Options > Output Files (the answer to the
// append-or-rewrite question given once for all), Options > Corrected p-Values (Holm and
// Benjamini-Hochberg columns in the older tables of p-values), Options > Random Seed (the generator's state
// for the next command, as --seed sets it at start) and File > Save Session as Script (the
// window's session as a command script, where the host records one).
#include <charconv>

#include "commands/shell/main_program.h"
#include "commands/dialogs/output_files_dialog.h"
#include "core/text_file.h"

namespace vorn {
namespace {

void OutputFiles1Click(TMainPrg& app) {
  const auto choice = app.dialogs.outputFiles.Execute(app.host, app.ws.settings.existingOutputFile);
  if (!choice) return;
  app.ws.settings.existingOutputFile = *choice;
  app.Report(ExistingOutputFileText(*choice));
}

void CorrectedPValues1Click(TMainPrg& app) {
  const auto choice = app.dialogs.correctedPValues.Execute(app.host, app.ws.settings.correctedPValues);
  if (!choice) return;
  app.ws.settings.correctedPValues = *choice;
  app.Report(std::string("Corrected p-values beside Pairwise PhiPT and the Shannon t-tests: ") + (*choice ? "on" : "off"));
}

void RandomSeed1Click(TMainPrg& app) {
  std::string value = std::to_string(app.ws.random.State());
  if (!app.dialogs.questionBox.Query(app.host, "Random Seed", "The seed of the random numbers of the next command",
                                     "(a whole number from 0 to 4294967295)", value, "")) {
    return;
  }
  std::uint32_t seed = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seed);
  if (value.empty() || error != std::errc() || end != value.data() + value.size()) {
    app.ErrorBox("The seed \"" + value + "\" is not a whole number from 0 to 4294967295.");
    return;
  }
  app.ws.random.Seed(seed);
  app.Report("Random seed set to " + std::to_string(seed));
}

void SaveSessionAsScript1Click(TMainPrg& app) {
  if (!app.recorder) {
    app.MessageQuery("Only a session of the window can be saved as a script.", "Save Session as Script",
                     MessageButtons::Ok);
    return;
  }
  const FileDialogOptions options =
      SaveFileOptions("Save Session as Script", "Vorn Scripts (*.vorn)|*.vorn|All Files (*.*)|*.*", "session.vorn", "vorn");
  const auto path = app.host.ChooseSaveFile(options);
  if (!path) return;
  const std::string script = app.recorder->Script(app.StartSeed());
  if (!app.Check(ReplaceFileWithText(*path, script))) return;
  app.Report("Session saved as script: " + *path);
}

}  // namespace

void RegisterWorkbenchCommands(HandlerTable& table) {
  table["OutputFiles1Click"] = Plain(OutputFiles1Click);
  table["RandomSeed1Click"] = Plain(RandomSeed1Click);
  table["CorrectedPValues1Click"] = Plain(CorrectedPValues1Click);
  table[std::string(kSaveSessionHandler)] = Plain(SaveSessionAsScript1Click);
}

}  // namespace vorn
