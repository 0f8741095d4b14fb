#include "similarity/similarity_matrix.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/progress.h"
#include "similarity/coefficient_names.h"
#include "similarity/coefficients.h"

namespace vorn {
Result<SimilarityFill> BuildSimilarityMatrix(const PackedScores& scores, SimilarityMode variant,
                                             SimilarityCoefficient coefficient, Real neiLiR) {
  if (!IsKnown(coefficient)) {
    return Failure{"VornCore: Unknown coeffient " + std::to_string(static_cast<int>(variant) + 1)};
  }
  MaskedFloatingPointExceptions masked;
  const std::size_t n = scores.IndividualCount();
  SimilarityFill fill;
  fill.matrix = DistanceMatrix(n);
  Real* entries = fill.matrix.entries.data();
  std::size_t undefined = 0;
  // Small matrices are filled faster than threads meet, above all when other programs keep
  // the cores busy. Rows grow with i, so they are handed out a few at a time.
  const bool parallel = TriangleSize(n) * scores.WordCount() >= kParallelSimilarityWork;
#pragma omp parallel if (parallel) reduction(+ : undefined)
  {
    std::vector<PairCounts> counts(n);  // one row, for each thread
#pragma omp for schedule(dynamic, 8)
    for (std::size_t i = 0; i < n; ++i) {
      KeepResponsive();  // acts only on the thread that runs the command
      Real* row = entries + TriangleIndex(i, 0);
      CountPairs(scores, i, scores, i + 1, counts.data());
      CoefficientValues(coefficient, variant, counts.data(), i + 1, neiLiR, row);
      if (coefficient == SimilarityCoefficient::NeiLi) undefined += std::count(row, row + i + 1, kUndefinedNeiLi);
    }
  }
  fill.undefinedNeiLiPairs = undefined;
  return fill;
}

Result<SimilarityFill> BuildSimilarityMatrix(const DataMatrix& data, SimilarityMode variant,
                                             const SimilaritySettings& settings) {
  return BuildSimilarityMatrix(PackedScores(data), variant, settings.coefficient, settings.neiLiR);
}

}  // namespace vorn
