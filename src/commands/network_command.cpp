// Trees > NeighborNet: the splits network of the active matrix as distances under the current
// transformation, its block appended to the analysis file, its splits on request to a Nexus file,
// and the network kept for its picture.
#include "commands/active_distances.h"
#include "commands/main_program.h"
#include "core/result_table.h"
#include "core/number_format.h"
#include "io/nexus_splits.h"
#include "networks/network_text.h"
#include "similarity/coefficient_names.h"

namespace vorn {
namespace {

void NeighborNet1Click(TMainPrg& app) {
  Workspace& ws = app.ws;
  const auto pairs = ActiveDistancePairs(app, "no NeighborNet was built");
  if (!pairs) return;
  const auto choices = app.dialogs.neighborNet.Execute(app);
  if (!choices) return;
  const std::size_t n = ws.ActiveMatrix()->n;
  auto net = BuildNeighborNet(n, *pairs, ws.data.individualLabels);
  if (!app.Check(net)) return;
  app.Report("NeighborNet: " + std::to_string(net->splits.size()) + " splits of positive weight, least-squares fit " +
             FormatReal(net->fit) + " %");
  auto file = app.BeginOutputFile(ws.files.analysis);
  if (!file) return;
  file->Line("NeighborNet of the matrix " + ws.results.activeName + " (" +
             TransformationName(ws.settings.similarity.transformation) + "): " + std::to_string(n) + " individuals");
  for (const std::string& line : NetworkSummaryLines(*net, ws.data.individualLabels)) file->Line(line);
  file->Line();
  for (const std::string& line : ResultTable{NetworkSplitRows(*net, ws.data.individualLabels)}.Aligned()) file->Line(line);
  file->Line();
  if (!app.FinishOutputFile(*file)) return;
  if (!choices->splitsFile.empty()) {
    if (!app.Check(WriteNexusSplits(choices->splitsFile, ws.data.individualLabels, *net))) return;
  }
  app.network = KeptNetwork{std::move(*net), ws.data.individualLabels, ws.results.activeName};
}

}  // namespace

void RegisterNetworkCommand(HandlerTable& table) { table["NeighborNet1Click"] = Plain(NeighborNet1Click); }

}  // namespace vorn
