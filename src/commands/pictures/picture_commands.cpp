// View: the tree viewer and the PCoA plot windows, and the same pictures, with the scatter plot
// of the last Mantel test, the bar plot of the last population structure run and the correlogram
// of the last spatial autocorrelation and the rarefied band richness curves of the last band
// rarity run, saved as SVG or PNG files (the way scripts draw them). The drawing needs Qt; a build without it says so.
// DataMatrix > Missing Data Map: the working matrix's missing scores saved as a picture the
// same way, individuals ordered by their groups at the chosen level.
#include <algorithm>

#include "commands/shell/data_guard.h"
#include "commands/trees/kept_network_scene.h"
#include "commands/shell/kept_result_text.h"
#include "commands/shell/main_program.h"
#include "commands/report/report_steps.h"
#include "pictures/network_layout.h"
#include "core/number_format.h"
#include "matrix/band_counts.h"
#include "pictures/missing_map.h"
#include "pictures/picture_maker.h"

namespace vorn {
namespace {

constexpr const char* kNoPictures =
    "This build of Vorn draws no pictures: it was built without Qt (Debian: qt6-base-dev and qt6-svg-dev).";

bool CanDraw(TMainPrg& app) {
  if (!app.pictures) app.ErrorBox(kNoPictures);
  return app.pictures != nullptr;
}

void TreeViewer1Click(TMainPrg& app) {
  if (CanDraw(app)) app.pictures->ShowTreeViewer(app);
}

void PCoAPlot1Click(TMainPrg& app) {
  if (!CanDraw(app)) return;
  if (!app.ws.CurrentOrdination()) return app.ErrorBox(NoOrdinationText(app.ws));
  app.pictures->ShowPcoaPlot(app);
}

void SaveTreePicture1Click(TMainPrg& app) {
  if (!CanDraw(app)) return;
  const auto choices = app.dialogs.treePicture.Execute(app, app.ws.files.tree);
  if (!choices) return;
  const auto lines = ReadTreeFile(choices->treeFile);
  if (!app.Check(lines)) return;
  auto scene = MakeTreeScene(*lines, choices->tree, choices->treeFile, app.ws.groups.groups, choices->level,
                             choices->midpointRoot ? TreeRooting::Midpoint : TreeRooting::AsWritten);
  if (!app.Check(scene)) return;
  scene->nodeLabels = choices->nodeLabels;
  scene->hideSupportBelow = static_cast<unsigned>(choices->hideBelow);
  const auto path = ChoosePictureFile(app.host, "Save Tree Picture", "tree.svg");
  if (!path) return;
  if (!app.Check(app.pictures->SaveTree(*scene, static_cast<double>(choices->rowHeight), static_cast<double>(choices->width), *path))) return;
  app.Report("Tree picture saved: " + *path);
  if (!scene->note.empty()) app.Report(scene->note);
}

void SavePCoAPlot1Click(TMainPrg& app) {
  if (!CanDraw(app)) return;
  const Ordination* ordination = app.ws.CurrentOrdination();
  if (!ordination) return app.ErrorBox(NoOrdinationText(app.ws));
  const auto choices = app.dialogs.pcoaPlot.Execute(app);
  if (!choices) return;
  auto scene = MakePcoaScene(*ordination, choices->xAxis, choices->yAxis, app.ws.groups.groups, choices->level);
  if (!app.Check(scene)) return;
  scene->pointLabels = choices->pointLabels;
  const auto path = ChoosePictureFile(app.host, "Save PCoA Plot", "pcoa.svg");
  if (!path) return;
  if (!app.Check(app.pictures->SavePcoa(*scene, static_cast<double>(choices->width), static_cast<double>(choices->height), *path))) return;
  app.Report("PCoA plot saved: " + *path);
}

void SaveMantelPlot1Click(TMainPrg& app) {
  if (!CanDraw(app)) return;
  const MantelPairs* mantel = app.ws.CurrentMantel();
  if (!mantel) return app.ErrorBox(NoMantelText(app.ws));
  const auto size = app.dialogs.mantelPlot.Execute(app);
  if (!size) return;
  const auto path = ChoosePictureFile(app.host, "Save Mantel Plot", "mantel.svg");
  if (!path) return;
  const auto width = static_cast<double>(size->width), height = static_cast<double>(size->height);
  if (!app.Check(app.pictures->SaveMantel(*mantel, width, height, *path))) return;
  app.Report("Mantel plot saved: " + *path);
}

void SaveCorrelogram1Click(TMainPrg& app) {
  if (!CanDraw(app)) return;
  const Correlogram* correlogram = app.ws.CurrentCorrelogram();
  if (!correlogram) return app.ErrorBox(NoCorrelogramText(app.ws));
  const auto size = app.dialogs.correlogramPlot.Execute(app);
  if (!size) return;
  const auto path = ChoosePictureFile(app.host, "Save Correlogram", "correlogram.svg");
  if (!path) return;
  const auto width = static_cast<double>(size->width), height = static_cast<double>(size->height);
  if (!app.Check(app.pictures->SaveCorrelogram(*correlogram, width, height, *path))) return;
  app.Report("Correlogram saved: " + *path);
  RecordPicture(app, "Correlogram of " + std::to_string(correlogram->classes.size()) + " distance classes", *path);
}

void SaveRarefactionCurves1Click(TMainPrg& app) {
  if (!CanDraw(app)) return;
  const RarefactionCurves* curves = app.ws.CurrentRarefaction();
  if (!curves) return app.ErrorBox(NoRarefactionText(app.ws));
  const auto size = app.dialogs.rarefactionPlot.Execute(app);
  if (!size) return;
  const auto path = ChoosePictureFile(app.host, "Save Rarefaction Curves", "rarefaction.svg");
  if (!path) return;
  const auto width = static_cast<double>(size->width), height = static_cast<double>(size->height);
  if (!app.Check(app.pictures->SaveRarefaction(*curves, width, height, *path))) return;
  app.Report("Rarefaction curves saved: " + *path);
  RecordPicture(app, "Band richness and private band richness by rarefaction", *path);
}

void SaveStructurePlot1Click(TMainPrg& app) {
  if (!CanDraw(app)) return;
  if (!app.ws.structure) {
    return app.ErrorBox("There is no population structure to show: run Analysis > Population Structure first.");
  }
  const auto choices = app.dialogs.structurePlot.Execute(app);
  if (!choices) return;
  const StructureBars& bars = *app.ws.structure;
  if (choices->k != 0 && std::find(bars.clusters.begin(), bars.clusters.end(), choices->k) == bars.clusters.end()) {
    return app.ErrorBox("The last population structure run has no K = " + std::to_string(choices->k) + " (it ran K = " +
                        std::to_string(bars.clusters.front()) + " to " + std::to_string(bars.clusters.back()) + ").");
  }
  const auto path = ChoosePictureFile(app.host, "Save Structure Plot", "structure.svg");
  if (!path) return;
  const auto width = static_cast<double>(choices->size.width), height = static_cast<double>(choices->size.height);
  if (!app.Check(app.pictures->SaveStructure(bars, choices->k, choices->curves, width, height, *path))) return;
  app.Report("Structure plot saved: " + *path);
  RecordPicture(app,
                "Population structure of " + std::to_string(bars.individuals.size()) + " individuals, " +
                    (choices->k == 0 ? "K = " + std::to_string(bars.clusters.front()) + " to " + std::to_string(bars.clusters.back())
                                     : "K = " + std::to_string(choices->k)),
                *path);
}

void MissingDataMap1Click(TMainPrg& app) {
  if (!RequireMatrix(app) || !CanDraw(app)) return;
  const auto choices = app.dialogs.missingDataMap.Execute(app);
  if (!choices) return;
  const Workspace& ws = app.ws;
  const std::size_t levels = GroupLevels(ws.groups.groups);
  if (choices->level > levels) {
    return app.ErrorBox("There is no group level " + std::to_string(choices->level) + ": the groups have " +
                        std::to_string(levels) + (levels == 1 ? " level." : " levels."));
  }
  const auto path = ChoosePictureFile(app.host, "Save Missing Data Map", "missing.svg");
  if (!path) return;
  const MissingMap map = MakeMissingMap(ws.data, ws.groups.groups, choices->level, choices->sortLoci);
  const auto width = static_cast<double>(choices->width), height = static_cast<double>(choices->height);
  if (!app.Check(app.pictures->SaveMissingMap(map, ws.data, width, height, *path))) return;
  app.Report("Missing data map saved: " + *path + " (" + FormatPercent(Share(map.missingCells, ws.data.CellCount())) +
             " of the scores missing)");
  RecordPicture(app, "Missing scores of " + std::to_string(ws.data.individualCount) + " individuals at " +
                         std::to_string(ws.data.locusCount) + " loci (" +
                         FormatPercent(Share(map.missingCells, ws.data.CellCount())) + " missing)",
                *path);
}

void SaveNetworkPicture1Click(TMainPrg& app) {
  if (!CanDraw(app)) return;
  if (!app.network) return app.ErrorBox("Build a NeighborNet first (Trees > NeighborNet).");
  const KeptNetwork& kept = *app.network;
  const auto path = ChoosePictureFile(app.host, "Save Network Picture", "network.svg");
  if (!path) return;
  const NetworkScene scene = KeptNetworkScene(kept, app.ws.groups.groups);
  const double side = NetworkPictureSide(kept.net.n);
  std::size_t leftOut = 0;
  if (!app.Check(app.pictures->SaveNetwork(scene, side, side, *path, leftOut))) return;
  app.Report("Network picture saved: " + *path +
             (leftOut > 0 ? " (" + std::to_string(leftOut) + " labels left out where they would overlap)" : ""));
  RecordPicture(app, "NeighborNet of " + std::to_string(kept.net.n) + " individuals from the matrix " + kept.matrixName,
                *path);
}

}  // namespace

void RegisterPictureCommands(HandlerTable& table) {
  table["SaveNetworkPicture1Click"] = Plain(SaveNetworkPicture1Click);
  table["TreeViewer1Click"] = Plain(TreeViewer1Click);
  table["PCoAPlot1Click"] = Plain(PCoAPlot1Click);
  table["SaveTreePicture1Click"] = Plain(SaveTreePicture1Click);
  table["SavePCoAPlot1Click"] = Plain(SavePCoAPlot1Click);
  table["SaveMantelPlot1Click"] = Plain(SaveMantelPlot1Click);
  table["SaveStructurePlot1Click"] = Plain(SaveStructurePlot1Click);
  table["SaveCorrelogram1Click"] = Plain(SaveCorrelogram1Click);
  table["SaveRarefactionCurves1Click"] = Plain(SaveRarefactionCurves1Click);
  table["MissingDataMap1Click"] = Plain(MissingDataMap1Click);
}

}  // namespace vorn
