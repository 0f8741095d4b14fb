// Trees > Principal Coordinate Analysis: the ordination of the active (dis)similarity matrix,
// converted to distances, appended to the analysis file and kept in the workspace.
#include <algorithm>
#include <cstdio>
#include <string>

#include "commands/main_program.h"
#include "core/command_progress.h"
#include "similarity/distance_transformation.h"
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

void PrincipalCoordinateAnalysis1Click(TMainPrg& app) {
  Workspace& ws = app.ws;
  const DistanceMatrix* active = ws.ActiveMatrix();
  if (!active) {
    app.ErrorBox("Need to perform (dis)similarity calculation first.");
    return;
  }
  DistanceMatrix distances = TransformMatrix(*active, ws.settings.similarity.transformation);
  if (!app.Check(CheckOrdinable(distances))) return;
  const std::size_t n = distances.n;
  TDistCluster pcoa(std::move(distances));
  app.Report("Performing PCoA");
  // The bar runs over the rotations a matrix usually needs, about 2.4 per pair.
  const std::size_t expected = n * (n - 1) / 2 * 5 / 2 + 1;
  CommandProgress progress(app.host, "Principal Coordinate Analysis", "Rotation", expected);
  const Status computed = pcoa.Compute([&](std::size_t rotations, Real offDiagonalShare) {
    return progress.Show(std::min(rotations, expected - 1), RotationText(rotations, offDiagonalShare));
  });
  if (pcoa.Cancelled()) {
    app.Report("Cancelled: PCoA stopped after " + std::to_string(pcoa.Rotations()) + " rotations; nothing was written.");
    return;
  }
  if (!app.Check(computed)) return;

  Ordination result = pcoa.Result();
  result.labels = ws.data.individualLabels;
  result.matrixName = ws.results.activeName;
  ws.ordination = std::move(result);

  auto file = app.BeginOutputFile(ws.files.analysis);
  if (!file) return;
  pcoa.WriteResults(*file, kWrittenAxes, ws.data.individualLabels);
  app.FinishOutputFile(*file);
}

}  // namespace

void RegisterPcoaCommand(HandlerTable& table) {
  table["PrincipalCoordinateAnalysis1Click"] = Plain(PrincipalCoordinateAnalysis1Click);
}

}  // namespace vorn
