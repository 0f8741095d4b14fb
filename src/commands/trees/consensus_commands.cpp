// Trees > Strict Consensus and Majority Rule Consensus: the consensus of the trees in the
// consensus input file, appended as one line to the consensus output file, with the report of
// every cluster found appended to the analysis file. Unrooted trees (every one with a three-way
// root, as neighbor-joining writes them) are compared by their splits, rooted ones by clusters.
#include <functional>

#include "commands/trees/cluster_report_files.h"
#include "commands/shell/main_program.h"
#include "commands/report/report_steps.h"
#include "core/number_format.h"
#include "core/text_file.h"
#include "trees/cluster_report.h"
#include "trees/consensus_tree.h"
#include "trees/newick_writer.h"
#include "trees/tree_label_kinds.h"
#include "trees/tree_text.h"

namespace vorn {
namespace {

struct ConsensusKind {
  const char* report;
  const char* reportTitle;
  bool majority;
};

constexpr ConsensusKind kStrict{"Building strict consensus...", "Clusters found during Strict Consensus Construction", false};
constexpr ConsensusKind kMajorityRule{"Building majority rule consensus...",
                                      "Clusters found during Majority Rule Consensus construction", true};

void RecordConsensus(TMainPrg& app, const ConsensusKind& kind, const ClusterCount& counted, const std::string& tree) {
  const FileNames& files = app.ws.files;
  const std::string trees = std::to_string(counted.treeCount) + " trees of " + files.consensusInput;
  const std::string name = kind.majority ? "Majority rule consensus" : "Strict consensus";
  ReportStep step;
  step.title = name + " of " + trees;
  step.lines = {"Written to " + files.consensusOutput + "."};
  step.references = {"felsenstein1985"};
  step.method = kind.majority
                    ? "The majority-rule consensus of the " + trees + " kept the clusters found in at least " +
                          FormatShortest(double(app.ws.settings.consensus.majorityThreshold)) +
                          " % of them, each labelled with the percentage of trees that hold it (Felsenstein 1985)."
                    : "The strict consensus of the " + trees + " kept the clusters found in every one of them.";
  step.figures.push_back(TreeFigure(app,
                                    name + " of " + std::to_string(counted.names.Count()) + " individuals from " +
                                        std::to_string(counted.treeCount) + " trees" +
                                        (kind.majority ? ", support as the percentage of trees" : ""),
                                    tree));
  AddClusterTables(step, ConsensusClusterTable(counted.table.Clusters(), counted.names.Count(), counted.treeCount),
                   std::string(kind.reportTitle) + ", a digit per OTU" +
                       (counted.comparison == TreeComparison::Splits
                            ? "; counted as splits of unrooted trees, each row the side without OTU #1."
                            : "."),
                   "clusters", counted.names.All(), files.analysis);
  app.reportRecord.Add(std::move(step));
}

void RunConsensus(TMainPrg& app, const ConsensusKind& kind) {
  const FileNames& files = app.ws.files;
  if (!FileExists(files.consensusInput)) {
    app.ErrorBox("Consensus tree input file was not found.");
    return;
  }
  app.Report(kind.report);
  // The input is read and checked before the output file is prepared, which creates it: a
  // consensus that fails writes nothing.
  auto trees = ReadTreeList(files.consensusInput);
  if (!app.Check(trees)) return;
  if (trees->empty()) {
    app.ErrorBox("The consensus tree input file holds no trees.");
    return;
  }
  const auto rewrite = app.PrepareOutputFile(files.consensusOutput);
  if (!rewrite) return;

  if (const std::string warning = MixedLabelsWarning(*trees, files.consensusInput); !warning.empty()) {
    app.MessageQuery(warning, "Warning", MessageButtons::Ok);
  }
  // Unrooted trees count their splits, so that where each tree happens to be rooted counts not.
  const ClusterCount counted = CountClusters(*trees, NaturalComparison(*trees));
  for (const std::string& message : ClusterCountMessages(counted)) app.ErrorBox(message);
  TTrees builder;
  if (kind.majority) {
    builder.threshold = app.ws.settings.consensus.majorityThreshold / 100.0;
    builder.showLabels = true;
  }
  auto tree = builder.BuildConsensusTree(counted.table.Clusters(), counted.names.All(), counted.treeCount);
  app.Check(tree);

  const auto& names = counted.names.All();
  const auto writeReport = [&](const std::function<void(std::string_view)>& line) {
    WriteClusterReport(kind.reportTitle, counted.table.Clusters(), names.size(), counted.treeCount, line,
                       counted.comparison);
  };
  if (!AppendClusterReport(app, writeReport, names)) return;
  if (tree && app.Check(WriteTextLine(*tree, files.consensusOutput, *rewrite))) RecordConsensus(app, kind, counted, *tree);
}

void StrictConsensus1Click(TMainPrg& app) { RunConsensus(app, kStrict); }
void MajorityRuleConsensus1Click(TMainPrg& app) { RunConsensus(app, kMajorityRule); }

}  // namespace

void RegisterConsensusCommands(HandlerTable& table) {
  table["StrictConsensus1Click"] = Plain(StrictConsensus1Click);
  table["MajorityRuleConsensus1Click"] = Plain(MajorityRuleConsensus1Click);
}

}  // namespace vorn
