#include "similarity/pair_distance.h"

#include <string>

#include "similarity/average_similarity.h"
#include "similarity/coefficient_names.h"
#include "similarity/coefficients.h"
#include "similarity/distance_transformation.h"

namespace vorn {
namespace {

Result<Real> PairDistance(Workspace& ws, const PairCounts& counts, const char* routine, PairNotes& notes) {
  const SimilaritySettings& settings = ws.settings.similarity;
  if (!IsKnown(settings.coefficient)) {
    return Failure{std::string("Vorncore: ") + routine + ": Unknown distance coefficient"};
  }
  if (!IsKnown(settings.transformation)) return Failure{"DistXF: Unknown option."};
  const auto value = [&](SimilarityMode variant) {
    return CoefficientValue(settings.coefficient, variant, counts, settings.neiLiR);
  };
  Real coefficient = 0;
  if (settings.amovaSimilarity == SimilarityMode::Average) {
    const std::int32_t drawCount = ws.settings.replicates.JC;
    if (auto checked = CheckDrawCount(drawCount); !checked) return Failure{checked.error()};
    coefficient = AverageOfBounds(value(SimilarityMode::Minimum), value(SimilarityMode::Maximum), settings.coefficient,
                                  drawCount, ws.random)
                      .mean;
  } else {
    coefficient = value(settings.amovaSimilarity);
  }
  if (settings.coefficient == SimilarityCoefficient::NeiLi && coefficient == kUndefinedNeiLi) {
    ++notes.undefinedNeiLiPairs;
  }
  return ApplyTransformation(coefficient, settings.transformation);
}

}  // namespace

Result<Real> SDist(Workspace& ws, std::size_t i, std::size_t j, PairNotes& notes) {
  return PairDistance(ws, CountPair(ws.data, i, j), "SDist", notes);
}

Result<Real> SDist_mem(Workspace& ws, const Cell* blockA, const Cell* blockB, std::size_t nA, std::size_t nB,
                       std::size_t i, std::size_t j, PairNotes& notes) {
  return PairDistance(ws, CountPair(blockA, nA, i, blockB, nB, j, ws.data.locusCount), "SDist_mem", notes);
}

}  // namespace vorn
