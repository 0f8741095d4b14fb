// Trees > Principal Coordinate Analysis: the ordination of the active (dis)similarity matrix,
// converted to distances, appended to the analysis file and kept in the workspace.
#include <algorithm>
#include <cstdio>
#include <string>

#include "commands/shell/main_program.h"
#include "commands/report/report_steps.h"
#include "core/command_progress.h"
#include "core/number_format.h"
#include "pictures/picture_scenes.h"
#include "similarity/distance_transformation.h"
#include "commands/dialogs/pcoa_settings_dialog.h"
#include "ordination/principal_coordinates.h"

namespace vorn {
namespace {

// "Rotation 5120; off-diagonal share 3.1e-04 (done below 2.4e-08)": the share of the squared
// norm still off the diagonal, which the rotations drive below the tolerance.
std::string RotationText(std::size_t rotations, Real offDiagonalShare) {
  char share[64];
  std::snprintf(share, sizeof share, "%.1Le (done below %.1Le)", offDiagonalShare, kJacobiTolerance);
  return "Rotation " + std::to_string(rotations) + "; off-diagonal share " + share;
}

// "Divide and conquer: 12 s": a LAPACK solver cannot tell how far it is.
std::string SolverText(PcoaSolver solver, double seconds) {
  return std::string(PcoaSolverWorkingName(solver)) + ": " + std::to_string(static_cast<long>(seconds)) + " s";
}

// The first ten eigenvalues as the analysis file writes them, the first two axes drawn as View > Save PCoA
// Plot draws them by default.
void RecordPcoa(TMainPrg& app, const Ordination& result, PcoaSolver solver) {
  const std::size_t axes = std::min<std::size_t>(10, result.AxisCount());
  ReportStep step;
  step.title = "Principal coordinate analysis of " + result.matrixName;
  step.references = {"gower1966"};
  step.method = "Principal coordinates (Gower 1966) of the " + std::to_string(result.labels.Count()) +
                " individuals were computed from " + ActiveDistancePhrase(app.ws, step.references) + " with the " +
                PcoaSolverWorkingName(solver) + " eigen solver.";
  ResultTable table;
  table.rows.push_back({"Axis", "Eigenvalue", "% of the positive sum"});
  for (std::size_t k = 0; k < axes; ++k) {
    table.rows.push_back({std::to_string(k + 1), FormatReal(result.eigenvalues[k]), FormatReal(result.percentages[k])});
  }
  step.tables.push_back(ReportTable{table, {"The first " + std::to_string(axes) + " of " +
                                            std::to_string(result.AxisCount()) + " positive eigenvalues."}});
  if (result.AxisCount() >= 2) {
    auto scene = MakePcoaScene(result, 1, 2, app.ws.groups.groups, 1);
    if (scene) {
      step.figures.push_back(ReportFigure{
          "Principal coordinates 1 and 2 of " + std::to_string(result.labels.Count()) + " individuals (" +
              FormatFixed(result.percentages[0], 1) + " % and " + FormatFixed(result.percentages[1], 1) +
              " % of the positive eigenvalues), " + result.matrixName,
          DrawnSvg(app, [&](PictureMaker& maker, const std::string& path) { return maker.SavePcoa(*scene, 800, 640, path); })});
    }
  }
  app.reportRecord.Add(std::move(step));
}

void PrincipalCoordinateAnalysis1Click(TMainPrg& app) {
  Workspace& ws = app.ws;
  const DistanceMatrix* active = ws.ActiveMatrix();
  if (!active) {
    app.ErrorBox("Need to perform (dis)similarity calculation first.");
    return;
  }
  if (const UndefinedPairs undefined = ws.ActiveUndefinedPairs(); undefined.Any()) {
    app.ErrorBox(UndefinedPairsRefusal(undefined, ws.data.individualLabels, "no principal coordinate analysis was done"));
    return;
  }
  DistanceMatrix distances = TransformMatrix(*active, ws.settings.similarity.transformation);
  if (!app.Check(CheckOrdinable(distances))) return;
  const std::size_t n = distances.n;
  const PcoaSolver solver = app.dialogs.pcoaSettings.Solver();
  TDistCluster pcoa(std::move(distances), solver);
  app.Report("Performing PCoA");
  // The bar runs over the rotations a matrix usually needs, about 2.4 per pair. The
  // LAPACK solvers cannot tell how far they are: the bar stays put, the text counts seconds.
  const std::size_t expected = n * (n - 1) / 2 * 5 / 2 + 1;
  CommandProgress progress(app.host, "Principal Coordinate Analysis", "Rotation", expected);
  const Status computed = pcoa.Compute(
      [&](std::size_t rotations, Real offDiagonalShare) {
        return progress.Show(std::min(rotations, expected - 1), RotationText(rotations, offDiagonalShare));
      },
      [&](double seconds) { return progress.Show(0, SolverText(solver, seconds)); });
  if (pcoa.Cancelled()) {
    app.Report(solver == PcoaSolver::Jacobi
                   ? "Cancelled: PCoA stopped after " + std::to_string(pcoa.Rotations()) + " rotations; nothing was written."
                   : std::string("Cancelled: PCoA stopped; nothing was written."));
    return;
  }
  if (!app.Check(computed)) return;

  Ordination result = pcoa.TakeResult();
  result.labels = ws.data.individualLabels;
  result.matrixName = ws.results.activeName;
  result.dataFingerprint = Fingerprint(ws.data);
  ws.ordination = std::move(result);

  auto file = app.BeginOutputFile(ws.files.analysis);
  if (!file) return;
  pcoa.WriteResults(*file, *ws.ordination, kWrittenAxes, ws.data.individualLabels);
  if (app.FinishOutputFile(*file)) RecordPcoa(app, *ws.ordination, solver);
}

void PCoASettings1Click(TMainPrg& app) {
  if (!app.dialogs.pcoaSettings.Execute(app)) return;
  app.Report(std::string("PCoA Settings: eigen solver ") + PcoaSolverName(app.dialogs.pcoaSettings.Solver()) + ".");
}

}  // namespace

void RegisterPcoaCommand(HandlerTable& table) {
  table["PrincipalCoordinateAnalysis1Click"] = Plain(PrincipalCoordinateAnalysis1Click);
  table["PCoASettings1Click"] = Plain(PCoASettings1Click);
}

}  // namespace vorn
