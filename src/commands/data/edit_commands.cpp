// The Edit menu: Undo and Redo over the working data (MatrixHistory), Set Scores (the grid's
// typing, context menu and paste arrive here, so a session script records them) and Rename.
// Each changed score is reported on its own line: "Ka03 Locus7: 0 → 1".
#include "commands/shell/main_program.h"
#include "editing/score_edit.h"
#include "groups/group_model.h"

namespace vorn {
namespace {

// Undo (or Redo): the groups may have come back with the step, so their menu is rebuilt.
void Step(TMainPrg& app, bool undo) {
  if (!app.RequireData()) return;
  const auto step = undo ? app.history.Undo(app.ws) : app.history.Redo(app.ws);
  if (!step) {
    app.ErrorBox(undo ? "Nothing to undo." : "Nothing to redo.");
    return;
  }
  app.RebuildGroupMenu(DisplayNames(app.ws.groups.groups, app.ws.groups.showFullPath));
  app.Report((undo ? "Undo: " : "Redo: ") + *step);
}

void Undo1Click(TMainPrg& app) { Step(app, true); }
void Redo1Click(TMainPrg& app) { Step(app, false); }

void SetScores1Click(TMainPrg& app) {
  if (!app.RequireData()) return;
  const auto block = app.dialogs.setScores.Execute(app);
  if (!block) return;
  const FileLayout& layout = app.ws.settings.layout;
  auto changes = PlanScores(app.ws.data, layout, *block);
  if (!app.Check(changes)) return;
  if (changes->empty()) {
    app.Report("Set Scores: no score changed");
    return;
  }
  std::vector<std::string> lines;
  for (const ScoreChange& change : *changes) lines.push_back(ChangeLine(app.ws.data, layout, change));
  ApplyScores(app.ws.data, *changes);
  const std::string name = lines.size() == 1 ? lines.front() : "Set Scores (" + std::to_string(lines.size()) + " scores)";
  app.history.RecordScores(name, std::move(*changes), "Set Scores");
  for (const std::string& line : lines) app.Report(line);
}

void Rename1Click(TMainPrg& app) {
  if (!app.RequireData()) return;
  const auto choice = app.dialogs.rename.Execute(app.host);
  if (!choice) return;
  const auto name = Rename(app.ws, choice->kind, choice->name, choice->newName);
  if (!app.Check(name)) return;
  app.Report("Renaming " + std::string(KindWord(choice->kind)) + " " + choice->name + " to " + *name);
}

}  // namespace

void RegisterEditCommands(HandlerTable& table) {
  table["Undo1Click"] = Plain(Undo1Click);
  table["Redo1Click"] = Plain(Redo1Click);
  table["SetScores1Click"] = Plain(SetScores1Click);
  table["Rename1Click"] = Plain(Rename1Click);
}

}  // namespace vorn
