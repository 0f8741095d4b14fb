// Trees > NeighborNet: the splits network of the active matrix as distances under the current
// transformation, its block appended to the analysis file, its splits on request to a Nexus file,
// and the network kept for its picture. On request its splits get bootstrap support first; Cancel
// then stops the command with nothing written.
#include <optional>

#include "commands/similarity/active_distances.h"
#include "commands/shell/main_program.h"
#include "commands/report/report_steps.h"
#include "core/command_progress.h"
#include "core/result_table.h"
#include "core/number_format.h"
#include "io/nexus_splits.h"
#include "networks/network_text.h"
#include "replicates/network_support.h"
#include "replicates/replicate_trees.h"
#include "similarity/coefficient_names.h"

namespace vorn {
namespace {

// The bootstrap support of the network's splits, with progress: the replicate networks it
// counts over, or nothing when cancelled (told).
std::optional<std::size_t> AddSupport(TMainPrg& app, NeighborNet& net) {
  const std::int32_t count = app.ws.settings.replicates.BS;
  CommandProgress progress(app.host, "NeighborNet", "Replicate", static_cast<std::size_t>(count));
  progress.Advance(0);
  const NetworkSupportSummary summary =
      AddNetworkSupport(app.ws, net, [&](std::int32_t done) { return progress.Advance(static_cast<std::size_t>(done)); });
  if (progress.Cancelled()) {
    app.Report("Cancelled after " + std::to_string(summary.delivered) + " of " + std::to_string(count) +
               " replicate networks; no NeighborNet was written.");
    return std::nullopt;
  }
  if (summary.withoutNetwork > 0) {
    app.MessageQuery("No network could be built for " + std::to_string(summary.withoutNetwork) + " of " +
                         std::to_string(count) + " replicates (" + summary.firstFailure +
                         "); they were left out of the support.",
                     "Warning", MessageButtons::Ok);
  }
  return summary.networks;
}

// The network of the active matrix, with progress: the joins of the agglomeration, then the
// rounds of the split weights (the bar's last step); nothing when it failed or was cancelled (told).
std::optional<NeighborNet> BuildNetwork(TMainPrg& app, std::size_t n, const std::vector<Real>& pairs) {
  CommandProgress progress(app.host, "NeighborNet", "Join", n);
  auto net = BuildNeighborNet(n, pairs, app.ws.data.individualLabels, [&](std::size_t joins, std::size_t rounds) {
    return progress.Show(joins, rounds == 0 ? "Join " + std::to_string(joins) + " of " + std::to_string(n - 1)
                                            : "Split weights: round " + std::to_string(rounds));
  });
  if (progress.Cancelled()) {
    app.Report("Cancelled: no NeighborNet was built.");
    return std::nullopt;
  }
  if (!app.Check(net)) return std::nullopt;
  return std::move(*net);
}

void NeighborNet1Click(TMainPrg& app) {
  Workspace& ws = app.ws;
  const auto pairs = ActiveDistancePairs(app, "no NeighborNet was built");
  if (!pairs) return;
  const auto choices = app.dialogs.neighborNet.Execute(app);
  if (!choices) return;
  if (choices->bootstrapSupport) {
    if (!app.Check(CheckReplicateRun(ws, ReplicateAnalysis::BootstrapStd))) return;
    if (ws.settings.replicates.BS < 1) {
      return app.ErrorBox("Bootstrap support needs at least 1 replicate, but BS is " +
                          std::to_string(ws.settings.replicates.BS) +
                          " (Options > Replicate Analysis Settings); no NeighborNet was built.");
    }
  }
  const std::size_t n = ws.ActiveMatrix()->n;
  if (choices->bootstrapSupport && n != ws.data.individualCount) {
    return app.ErrorBox("Bootstrap support resamples the working data, whose " + std::to_string(ws.data.individualCount) +
                        " individuals are not the " + std::to_string(n) +
                        " of the active matrix; no NeighborNet was built.");
  }
  auto net = BuildNetwork(app, n, *pairs);
  if (!net) return;
  std::size_t supportNetworks = 0;
  if (choices->bootstrapSupport) {
    const auto networks = AddSupport(app, *net);
    if (!networks) return;
    supportNetworks = *networks;
  }
  app.Report("NeighborNet: " + std::to_string(net->splits.size()) + " splits of positive weight, least-squares fit " +
             FormatReal(net->fit) + " %" +
             (supportNetworks > 0 ? ", support from " + std::to_string(supportNetworks) + " bootstrap networks" : ""));
  const std::string title = "NeighborNet of the matrix " + ws.results.activeName + " (" +
                            TransformationName(ws.settings.similarity.transformation) + "): " + std::to_string(n) +
                            " individuals";
  const std::vector<std::string> summary = NetworkSummaryLines(*net, ws.data.individualLabels, supportNetworks);
  const ResultTable splits{NetworkSplitRows(*net, ws.data.individualLabels)};
  auto file = app.BeginOutputFile(ws.files.analysis);
  if (!file) return;
  file->Line(title);
  for (const std::string& line : summary) file->Line(line);
  file->Line();
  for (const std::string& line : splits.Aligned()) file->Line(line);
  file->Line();
  if (!app.FinishOutputFile(*file)) return;
  ReportStep step;
  step.title = title;
  step.lines = summary;
  step.references = {"bryant2004"};
  step.method = "A NeighborNet (Bryant & Moulton 2004) of the " + std::to_string(n) + " individuals was built from " +
                ActiveDistancePhrase(ws, step.references) +
                (supportNetworks > 0 ? ", its splits supported by " + std::to_string(supportNetworks) +
                                           " networks from bootstrap replicates of the loci (Felsenstein 1985)"
                                     : std::string()) +
                ".";
  if (supportNetworks > 0) step.references.push_back("felsenstein1985");
  AddListing(step, splits, {}, ws.files.analysis);
  app.reportRecord.Add(std::move(step));
  if (!choices->splitsFile.empty()) {
    if (!app.Check(WriteNexusSplits(choices->splitsFile, ws.data.individualLabels, *net))) return;
  }
  app.network = KeptNetwork{std::move(*net), ws.data.individualLabels, ws.results.activeName};
}

}  // namespace

void RegisterNetworkCommand(HandlerTable& table) { table["NeighborNet1Click"] = Plain(NeighborNet1Click); }

}  // namespace vorn
