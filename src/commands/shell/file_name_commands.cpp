// File > Select File Names: the five output and input file names, and turning the log on and off.
#include <string>

#include "commands/shell/main_program.h"
#include "commands/dialogs/file_filters.h"

namespace vorn {
namespace {

constexpr const char* kTreeFilter = "Phylip/Newick Tree File (*.ph)|*.ph";

// Asks for a file name with a save-style dialog showing the current one; on OK stores it and
// reports the report text followed by the name.
void SelectFileName(TMainPrg& app, std::string& setting, const char* title, const char* filter, const char* report) {
  const FileDialogOptions options = SaveFileOptions(title, filter, setting);
  const auto chosen = app.host.ChooseSaveFile(options);
  if (!chosen) return;
  setting = *chosen;
  app.Report(report + setting);
}

void SelectAnalysisOutputFile1Click(TMainPrg& app) {
  SelectFileName(app, app.ws.files.analysis, "Select Analysis Output File", kTextFilter,
                 "Analysis Output File set to ");
}

void SelectTreeOutputFile1Click(TMainPrg& app) {
  SelectFileName(app, app.ws.files.tree, "Select Tree Output File", kTreeFilter, "Tree Output File set to ");
}

void Seect1Click(TMainPrg& app) {
  SelectFileName(app, app.ws.files.consensusInput, "Select Consensus Input Tree File...", kTreeOrAnyFilter,
                 "Consensus Input Tree File set to: ");
}

void SelectConsensusTreeOutputFile1Click(TMainPrg& app) {
  SelectFileName(app, app.ws.files.consensusOutput, "Select Consensus Tree Output File...", kTreeOrAnyFilter,
                 "Consensus Tree Output File set to: ");
}

void SelectLogFile1Click(TMainPrg& app) {
  if (app.ws.log.logging) {
    app.ErrorBox("You cannot change the log file while logging to that file is enabled!");
    return;
  }
  SelectFileName(app, app.ws.files.log, "Select Log File...", kTextFilter, "Selected Log File: ");
}

// "Turn log on" / "Turn log off". The caption changes only when the log could be opened, so it
// always tells the true state.
void urnlogon1Click(TMainPrg& app) {
  if (!app.ws.log.logging) {
    if (!app.StartLogging()) return;
  } else {
    app.StopLogging();
  }
  app.UpdateLogCaption();
}

}  // namespace

void RegisterFileNameCommands(HandlerTable& table) {
  table["SelectAnalysisOutputFile1Click"] = Plain(SelectAnalysisOutputFile1Click);
  table["SelectTreeOutputFile1Click"] = Plain(SelectTreeOutputFile1Click);
  table["Seect1Click"] = Plain(Seect1Click);
  table["SelectConsensusTreeOutputFile1Click"] = Plain(SelectConsensusTreeOutputFile1Click);
  table["SelectLogFile1Click"] = Plain(SelectLogFile1Click);
  table["urnlogon1Click"] = Plain(urnlogon1Click);
}

}  // namespace vorn
