// Trees > Support on Tree: the reference tree with the percentage of replicate trees that hold
// each of its inner nodes, written to a tree file, and a summary in the analysis file.
#include <string>

#include "commands/shell/main_program.h"
#include "commands/report/report_steps.h"
#include "core/text_file.h"
#include "trees/newick_writer.h"
#include "trees/tree_support.h"
#include "trees/tree_text.h"

namespace vorn {
namespace {

// The tree lines of a file that must exist and hold at least one tree; nothing when not (told).
std::optional<std::vector<std::string>> TreeLines(TMainPrg& app, const std::string& name, const char* role) {
  if (!FileExists(name)) {
    app.ErrorBox(std::string("The ") + role + " file " + name + " was not found.");
    return std::nullopt;
  }
  auto lines = ReadTreeList(name);
  if (!app.Check(lines)) return std::nullopt;
  if (lines->empty()) {
    app.ErrorBox(std::string("The ") + role + " file " + name + " holds no trees.");
    return std::nullopt;
  }
  return std::move(*lines);
}

TreeComparison ComparisonOf(SupportCompare choice, const NewickTree& reference) {
  switch (choice) {
    case SupportCompare::Clusters: return TreeComparison::Clusters;
    case SupportCompare::Splits: return TreeComparison::Splits;
    case SupportCompare::Automatic: break;
  }
  return NaturalComparison(reference);
}

void RecordSupport(TMainPrg& app, const TreeSupport& support, const SupportClasses& classes,
                   const SupportChoices& choices, TreeComparison comparison) {
  const std::string label = support.reference.Root().name;
  const std::string replicates = std::to_string(support.treeCount) + " replicate trees";
  const char* compared = comparison == TreeComparison::Splits ? "splits" : "clusters";
  ReportStep step;
  step.title = "Support on the tree " + label;
  step.references = {"felsenstein1985"};
  step.method = "The support of each inner node of the tree " + label + " is the percentage of " + replicates +
                " (" + choices.replicateFile + ") that hold it, compared by " + compared + " (Felsenstein 1985).";
  step.lines = {"Replicate trees: " + std::to_string(support.treeCount) + " from " + choices.replicateFile + "."};
  step.tables.push_back(ReportTable{ResultTable{{{"Inner nodes", "Count"},
                                                 {"All", std::to_string(classes.nodes)},
                                                 {"At least 95 %", std::to_string(classes.atLeast95)},
                                                 {"At least 70 %", std::to_string(classes.atLeast70)},
                                                 {"At least 50 %", std::to_string(classes.atLeast50)}}},
                                    {}});
  step.figures.push_back(TreeFigure(app, "The tree " + label + " with support from " + replicates + " (" + compared + ")",
                                    SupportTreeText(support)));
  app.reportRecord.Add(std::move(step));
}

void SupportonTree1Click(TMainPrg& app) {
  const auto choices = app.dialogs.support.Execute(app, app.ws.files);
  if (!choices) return;
  const auto references = TreeLines(app, choices->referenceFile, "reference tree");
  if (!references) return;
  const auto replicates = TreeLines(app, choices->replicateFile, "replicate tree");
  if (!replicates) return;
  app.Report("Counting support on tree...");
  auto reference = ReadNewick(references->front());
  if (!reference) {
    app.ErrorBox("The first tree of " + choices->referenceFile + ": " + reference.error());
    return;
  }
  const TreeComparison comparison = ComparisonOf(choices->compare, *reference);
  auto support = CountSupport(std::move(*reference), *replicates, comparison, choices->replicateFile);
  if (!app.Check(support)) return;

  const auto rewrite = app.PrepareOutputFile(choices->outputFile);
  if (!rewrite) return;
  if (!app.Check(WriteTreeLine(SupportTreeText(*support), choices->outputFile, *rewrite))) return;
  const SupportClasses classes = ClassifySupport(*support);
  auto file = app.BeginOutputFile(app.ws.files.analysis);
  if (!file) return;
  const std::string label = support->reference.Root().name;
  file->Line("Support on the tree " + label + " (the first tree of " + choices->referenceFile + ")");
  file->Line("Replicate trees: " + std::to_string(support->treeCount) + " from " + choices->replicateFile +
             (comparison == TreeComparison::Splits ? ", compared by splits (unrooted)" : ", compared by clusters (rooted)"));
  if (const std::uint32_t copies = support->referenceCopies; copies > 0) {
    file->Line("Left out: " + std::to_string(copies) + (copies == 1 ? " tree" : " trees") + " of " +
               choices->replicateFile + " identical to the reference tree, which cannot support itself");
  }
  file->Line("Inner nodes: " + std::to_string(classes.nodes));
  file->Line("At least 95 %: " + std::to_string(classes.atLeast95));
  file->Line("At least 70 %: " + std::to_string(classes.atLeast70));
  file->Line("At least 50 %: " + std::to_string(classes.atLeast50));
  file->Line("Tree with support values: " + choices->outputFile);
  file->Line();
  if (!app.FinishOutputFile(*file)) return;
  RecordSupport(app, *support, classes, *choices, comparison);
  app.Report("Support on tree: " + std::to_string(classes.atLeast95) + " of " + std::to_string(classes.nodes) +
             " inner nodes at 95 % or more.");
}

}  // namespace

void RegisterSupportCommand(HandlerTable& table) { table["SupportonTree1Click"] = Plain(SupportonTree1Click); }

}  // namespace vorn
