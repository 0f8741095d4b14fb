// Trees > Neighbor-Joining and Trees > Cophenetic Correlation, and Options > Tree Method: the
// second tree method beside UPGMA, its use in the replicate analyses, and how well the last tree
// built renders the distances of its matrix.
#include <cmath>
#include <string>

#include "commands/trees/built_tree.h"
#include "commands/shell/main_program.h"
#include "commands/report/report_steps.h"
#include "core/number_format.h"
#include "similarity/coefficient_names.h"
#include "similarity/distance_transformation.h"
#include "trees/cophenetic.h"
#include "trees/neighbor_joining.h"
#include "trees/newick_reader.h"
#include "trees/matrix_tree.h"
#include "trees/newick_writer.h"

namespace vorn {
namespace {

constexpr const char* kNoActiveMatrix = "Need to perform Jaccard calculation first.";

void NeighborJoining1Click(TMainPrg& app) {
  Workspace& ws = app.ws;
  const DistanceMatrix* active = ws.ActiveMatrix();
  if (!active) {
    app.ErrorBox(kNoActiveMatrix);
    return;
  }
  if (const UndefinedPairs undefined = ws.ActiveUndefinedPairs(); undefined.Any()) {
    app.ErrorBox(TreeRefusal(undefined, ws.data.individualLabels, TreeMethod::NeighborJoining));
    return;
  }
  app.Report("Building Neighbor-Joining tree...");
  auto tree = BuildNeighborJoining(*active, ws.settings.similarity.transformation, ws.data.individualLabels);
  if (!app.Check(tree)) return;
  for (const std::string& line : JoinNoteLines(tree->notes, 1)) app.Report(line);
  std::string text = TreeToNewick(tree->table, "NJ" + ws.results.activeName);
  const auto rewrite = app.PrepareOutputFile(ws.files.tree);
  if (!rewrite) return;
  if (!app.Check(WriteTreeLine(text, ws.files.tree, *rewrite))) return;
  RecordTree(app, "Neighbor-Joining", "saitou1987", text);
  RememberTree(ws, *active, std::move(text));
}

void CopheneticCorrelation1Click(TMainPrg& app) {
  Workspace& ws = app.ws;
  const DistanceMatrix* active = ws.ActiveMatrix();
  if (!active) {
    app.ErrorBox(kNoActiveMatrix);
    return;
  }
  if (!ws.lastTree || ws.lastTree->matrixFingerprint != Fingerprint(*active)) {
    app.ErrorBox("Build a tree of the active matrix first (Trees > UPGMA or Trees > Neighbor-Joining).");
    return;
  }
  const BuiltTree& built = *ws.lastTree;
  auto tree = ReadNewick(built.newick);
  if (!app.Check(tree)) return;
  // The tree names its tips as Newick can hold them.
  LabelTable written;
  for (const std::string& label : ws.data.individualLabels.All()) written.Add(NewickName(label));
  auto paths = PathDistances(*tree, written);
  if (!app.Check(paths)) return;
  const Real r = PearsonOverPairs(TransformMatrix(*active, built.transformation), *paths);
  const std::string rText = std::isnan(r) ? std::string("undefined (no variation)") : FormatReal(r);

  auto file = app.BeginOutputFile(ws.files.analysis);
  if (!file) return;
  file->Line("Cophenetic correlation between the matrix " + built.matrixName + " (" +
             TransformationName(built.transformation) + ") and the tree " + tree->Root().name);
  file->Line("Pairs of individuals: " + std::to_string(active->n * (active->n - 1) / 2));
  file->Line("r= " + rText);
  file->Line();
  if (!app.FinishOutputFile(*file)) return;
  app.Report("Cophenetic correlation: r= " + rText);
  ReportStep step;
  step.title = "Cophenetic correlation";
  step.lines = {"Between the matrix " + built.matrixName + " (" + TransformationName(built.transformation) +
                ") and the tree " + tree->Root().name + "."};
  step.method = "The cophenetic correlation (Sokal & Rohlf 1962) measured how well the tree " + tree->Root().name +
                " renders the distances of its matrix.";
  step.references = {"sokal1962"};
  step.tables.push_back(ReportTable{
      ResultTable{{{"Statistic", "Value"}, {"Pairs of individuals", std::to_string(active->n * (active->n - 1) / 2)}, {"r", rText}}},
      {}});
  app.reportRecord.Add(std::move(step));
}

void TreeMethod1Click(TMainPrg& app) { app.dialogs.treeMethod.Execute(app, app.ws.settings.treeMethod); }

}  // namespace

void RegisterTreeMethodCommands(HandlerTable& table) {
  table["NeighborJoining1Click"] = Plain(NeighborJoining1Click);
  table["CopheneticCorrelation1Click"] = Plain(CopheneticCorrelation1Click);
  table["TreeMethod1Click"] = Plain(TreeMethod1Click);
}

}  // namespace vorn
