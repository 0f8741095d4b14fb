#include "commands/similarity/active_distances.h"

#include "similarity/distance_transformation.h"

namespace vorn {

std::optional<std::vector<Real>> ActiveDistancePairs(TMainPrg& app, const std::string& consequence) {
  const Workspace& ws = app.ws;
  const DistanceMatrix* active = ws.ActiveMatrix();
  if (!active) {
    app.ErrorBox("Need to perform Jaccard calculation first.");
    return std::nullopt;
  }
  if (const UndefinedPairs undefined = ws.ActiveUndefinedPairs(); undefined.Any()) {
    app.ErrorBox(UndefinedPairsRefusal(undefined, ws.data.individualLabels, consequence));
    return std::nullopt;
  }
  const DistanceTransformation transformation = ws.settings.similarity.transformation;
  // Transformed pair by pair, so that the strict triangle is the only copy of the matrix.
  std::vector<Real> pairs;
  pairs.reserve(active->n * (active->n - 1) / 2);
  for (std::size_t i = 1; i < active->n; ++i) {
    for (std::size_t j = 0; j < i; ++j) pairs.push_back(ApplyTransformation((*active)(i, j), transformation));
  }
  return pairs;
}

}  // namespace vorn
