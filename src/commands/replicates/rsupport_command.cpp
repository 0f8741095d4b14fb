// Replicate Analyses > Estimate R-support (TR) and Options > MR Consensus And R-Support Settings.
// The command warns first, then searches r and appends the Rx-consensus (or "R-support failure")
// to the consensus output file and the report of the R-clusters to the analysis file. The
// window shows the r and the tree in work; Cancel ends the analysis and nothing is written.
#include <functional>
#include <string>
#include <vector>

#include "commands/trees/cluster_report_files.h"
#include "commands/shell/data_guard.h"
#include "commands/shell/main_program.h"
#include "commands/report/report_steps.h"
#include "core/command_progress.h"
#include "report/methods_text.h"
#include "similarity/coefficient_names.h"
#include "replicates/r_support_trees.h"
#include "similarity/coefficients.h"
#include "trees/cluster_report.h"
#include "trees/newick_writer.h"

namespace vorn {
namespace {

constexpr const char* kWarning =
    "This is a very resource-intensive process (i.e., CPU, time and memory-intensive).\r\n"
    "The program will NOT respond to user input until it has completed the calculations.\r\n"
    "Do you wish to proceed?";
constexpr const char* kFailure = "R-support failure";

RSupportSettings AnalysisSettings(const ConsensusSettings& settings) {
  return RSupportSettings{settings.rSupportThreshold, static_cast<std::uint32_t>(settings.rFrom),
                          static_cast<std::uint32_t>(settings.rTo), settings.precisionDigits,
                          static_cast<std::uint32_t>(settings.rxThreshold)};
}

// The report's record of a search that completed: the R-clusters with the key of their OTU
// numbers (named with the file when they are more than a report's table shows), and how they were found.
void RecordRSupport(TMainPrg& app, const RSupportResult& result, const std::vector<std::string>& names) {
  const Workspace& ws = app.ws;
  const ConsensusSettings& settings = ws.settings.consensus;
  ReportStep step;
  step.title = "R-support";
  step.references = {"sokal1958"};
  step.method = "The R-support of each cluster, the smallest number r of random draws per pair of the Average "
                "similarity (" + CoefficientPhrase(ws.settings.similarity.coefficient, step.references) +
                " drawn between its least and greatest value the missing scores allow) at which the cluster is found "
                "in at least " + std::to_string(settings.rSupportThreshold) + " % of " +
                std::to_string(ws.settings.replicates.TR) + " UPGMA trees (Sokal & Michener 1958) on distances " +
                TransformationName(ws.settings.similarity.transformation) + ", was searched from r = " +
                std::to_string(settings.rFrom) + " to " + std::to_string(settings.rTo) + " at a precision of " +
                std::to_string(settings.precisionDigits) + " decimal" + (settings.precisionDigits == 1 ? "" : "s") +
                " of log10(r); the Rx-consensus kept the clusters with r at most " +
                std::to_string(settings.rxThreshold) + ".";
  step.lines = {result.rxConsensus ? "Rx-consensus written to " + ws.files.consensusOutput + "."
                                   : std::string("No Rx-consensus: R-support failure.")};
  AddClusterTables(step, RClusterTable(result.clusters, names.size()),
                   "Clusters found during Rx-consensus construction, a digit per OTU.", "R-clusters", names,
                   ws.files.analysis);
  app.reportRecord.Add(std::move(step));
}

void EstimateRsupport1Click(TMainPrg& app, const MenuItem& item) {
  if (!RequireMatrix(app)) return;
  Workspace& ws = app.ws;
  if (!app.Check(CheckRSupportRun(ws))) return;
  if (app.MessageQuery(kWarning, "Warning", MessageButtons::YesNo) != MessageAnswer::Yes) return;
  app.Report("Estimating R support...");

  auto bounds = BuildAverageBounds(ws);
  if (!app.Check(bounds)) return;
  if (bounds->undefinedNeiLiPairs > 0) app.ErrorBox(UndefinedNeiLiMessage(bounds->undefinedNeiLiPairs));
  const std::int32_t treeCount = ws.settings.replicates.TR;
  CommandProgress progress(app.host, PlainCaption(item.caption), "Tree", static_cast<std::size_t>(treeCount));
  const auto showProgress = [&](std::uint32_t r, std::int32_t done) {
    progress.SetUnit("r= " + std::to_string(r) + ": tree");
    return progress.Advance(static_cast<std::size_t>(done));
  };
  const RSupportSettings settings = AnalysisSettings(ws.settings.consensus);
  RSupportTrees trees(ws, *bounds, settings.consensusThreshold, showProgress);
  const RSupportResult result = EstimateRSupport(settings, std::ref(trees), ws.data.individualLabels.All(),
                                                 [&](std::string_view message) { app.ErrorBox(message); });
  if (result.cancelled) {
    app.Report("R-support cancelled: nothing was written.");
    return;
  }

  const std::string& consensusFile = ws.files.consensusOutput;
  std::vector<std::string> names;
  if (result.completed) {
    for (std::size_t individual : result.otuOrder) names.push_back(ws.data.individualLabels[individual]);
    const auto writeReport = [&](const std::function<void(std::string_view)>& line) {
      WriteRClusterReport("Clusters found during Rx-consensus construction:", result.clusters, names.size(), line);
    };
    if (!AppendClusterReport(app, writeReport, names)) return;
  }
  if (!result.rxConsensus) {
    // A failed analysis adds its line to what the file holds, without asking to rewrite it.
    app.Check(WriteTextLine(kFailure, consensusFile, false));
    if (result.completed) RecordRSupport(app, result, names);
    return;
  }
  const auto rewrite = app.PrepareOutputFile(consensusFile);
  if (!rewrite) return;
  if (app.Check(WriteTextLine(*result.rxConsensus, consensusFile, *rewrite))) RecordRSupport(app, result, names);
}

void MajorityRuleRvalueAnalysisSetting1Click(TMainPrg& app) {
  app.dialogs.consensusSettings.Execute(app, app.ws.settings.consensus);
}

}  // namespace

void RegisterRSupportCommands(HandlerTable& table) {
  table["EstimateRsupport1Click"] = EstimateRsupport1Click;
  table["MajorityRuleRvalueAnalysisSetting1Click"] = Plain(MajorityRuleRvalueAnalysisSetting1Click);
}

}  // namespace vorn
