// Trees > UPGMA: the tree of the active (dis)similarity matrix, appended as one Newick line to
// the tree file under the matrix's name.
#include "commands/trees/built_tree.h"
#include "commands/shell/main_program.h"
#include "commands/report/report_steps.h"
#include "trees/matrix_tree.h"
#include "trees/newick_writer.h"

namespace vorn {
namespace {

void UPGMA1Click(TMainPrg& app) {
  Workspace& ws = app.ws;
  const DistanceMatrix* active = ws.ActiveMatrix();
  if (!active) {
    app.ErrorBox("Need to perform Jaccard calculation first.");
    return;
  }
  app.Report("Building UPGMA tree...");
  auto tree = BuildMatrixTree(*active, ws.results.marks, ws.settings.similarity.transformation, ws.data.individualLabels);
  if (!app.Check(tree)) return;
  const std::string text = TreeToNewick(*tree, ws.results.activeName);
  const auto rewrite = app.PrepareOutputFile(ws.files.tree);
  if (!rewrite) return;
  if (!app.Check(WriteTreeLine(text, ws.files.tree, *rewrite))) return;
  RememberTree(ws, *active, text);
  RecordTree(app, "UPGMA", "sokal1958", text);
}

}  // namespace

void RegisterUpgmaCommand(HandlerTable& table) { table["UPGMA1Click"] = Plain(UPGMA1Click); }

}  // namespace vorn
