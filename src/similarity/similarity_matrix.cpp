#include "similarity/similarity_matrix.h"

#include <algorithm>
#include <cfenv>
#include <string>
#include <vector>

#include "core/progress.h"
#include "similarity/coefficient_names.h"
#include "similarity/coefficients.h"

namespace vorn {
namespace {

// While a matrix is filled, floating-point exceptions stay masked, whatever a host library set:
// an undefined value becomes a not-a-number entry and the fill goes on.
class MaskedFloatingPointExceptions {
 public:
  MaskedFloatingPointExceptions() { std::feholdexcept(&saved_); }
  ~MaskedFloatingPointExceptions() { std::fesetenv(&saved_); }
  MaskedFloatingPointExceptions(const MaskedFloatingPointExceptions&) = delete;
  MaskedFloatingPointExceptions& operator=(const MaskedFloatingPointExceptions&) = delete;

 private:
  std::fenv_t saved_;
};

// Pair-words below which one thread fills the matrix (a few milliseconds of work): sharing a
// smaller matrix costs more than it saves when another program holds the second core.
constexpr std::size_t kParallelWork = std::size_t{1} << 23;

// The fill shared by plain and weighted scores: countRow(i, counts, scratch) gives the counts
// of individual i with individuals 0 .. i.
template <typename Scores, typename CountRow>
Result<SimilarityFill> Fill(const Scores& scores, SimilarityMode variant, SimilarityCoefficient coefficient,
                            Real neiLiR, CountRow countRow) {
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
  const bool parallel = TriangleSize(n) * scores.WordCount() >= kParallelWork;
#pragma omp parallel if (parallel) reduction(+ : undefined)
  {
    std::vector<PairCounts> counts(n), scratch(n);  // one row, for each thread
#pragma omp for schedule(dynamic, 8)
    for (std::size_t i = 0; i < n; ++i) {
      KeepResponsive();  // acts only on the thread that runs the command
      Real* row = entries + TriangleIndex(i, 0);
      countRow(i, counts.data(), scratch.data());
      CoefficientValues(coefficient, variant, counts.data(), i + 1, neiLiR, row);
      if (coefficient == SimilarityCoefficient::NeiLi) undefined += std::count(row, row + i + 1, kUndefinedNeiLi);
    }
  }
  fill.undefinedNeiLiPairs = undefined;
  return fill;
}

}  // namespace

Result<SimilarityFill> BuildSimilarityMatrix(const PackedScores& scores, SimilarityMode variant,
                                             SimilarityCoefficient coefficient, Real neiLiR) {
  return Fill(scores, variant, coefficient, neiLiR, [&](std::size_t i, PairCounts* counts, PairCounts*) {
    CountPairs(scores, i, scores, i + 1, counts);
  });
}

Result<SimilarityFill> BuildSimilarityMatrix(const WeightedScores& scores, SimilarityMode variant,
                                             SimilarityCoefficient coefficient, Real neiLiR) {
  return Fill(scores, variant, coefficient, neiLiR, [&](std::size_t i, PairCounts* counts, PairCounts* scratch) {
    scores.CountPairs(i, i + 1, counts, scratch);
  });
}

Result<SimilarityFill> BuildSimilarityMatrix(const DataMatrix& data, SimilarityMode variant,
                                             const SimilaritySettings& settings) {
  return BuildSimilarityMatrix(PackedScores(data), variant, settings.coefficient, settings.neiLiR);
}

}  // namespace vorn
