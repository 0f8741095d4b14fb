#include "replicates/bootstrap_matrix.h"

#include <optional>

#include "similarity/weighted_scores.h"

namespace vorn {

SimilarityFill BootstrapStdMatrix(const DataMatrix& data, const std::vector<std::uint32_t>& loci,
                                  const SimilaritySettings& settings, bool asDistances) {
  const WeightedScores scores(data, loci);
  auto matrix = BuildSimilarityMatrix(scores, SimilarityMode::Standard, settings.coefficient, settings.neiLiR,
                                      asDistances ? std::optional(settings.transformation) : std::nullopt);
  return std::move(*matrix);
}

}  // namespace vorn
