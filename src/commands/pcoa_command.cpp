// Trees > Principal Coordinate Analysis: the ordination of the active (dis)similarity matrix,
// converted to distances, appended to the analysis file and kept in the workspace.
#include <algorithm>
#include <cstdio>
#include <string>

#include "commands/main_program.h"
#include "core/command_progress.h"
#include "similarity/distance_transformation.h"
#include "commands/pcoa_settings_dialog.h"
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
  app.FinishOutputFile(*file);
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
