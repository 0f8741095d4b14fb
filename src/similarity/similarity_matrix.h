// Filling the matrix of a coefficient between all individuals of a score block under the
// Standard, Minimum-similarity or Maximum-similarity treatment. Entries are independent, so
// rows are filled on all cores; each entry is the same value the serial fill would give.
#pragma once

#include <cfenv>
#include <cstddef>
#include <optional>
#include <vector>

#include "core/data_matrix.h"
#include "core/distance_matrix.h"
#include "core/result.h"
#include "core/settings.h"
#include "core/undefined_pairs.h"
#include "similarity/pair_counts.h"
#include "similarity/weighted_scores.h"

namespace vorn {

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

// Pair-words below which one thread fills a matrix (a few milliseconds of work): sharing a
// smaller matrix costs more than it saves when another program holds the second core.
constexpr std::size_t kParallelSimilarityWork = std::size_t{1} << 23;

struct SimilarityFill {
  DistanceMatrix matrix;
  std::size_t undefinedNeiLiPairs = 0;  // entries set to -1 (Nei-Li only)
  UndefinedMarks marks;                 // what the entries do not tell of pairs without a distance
  // When asked for: the loci scored in both of each pair, a + b + c + d of its counts, in the
  // layout of the matrix (the diagonal: the loci scored in the individual).
  std::vector<std::uint32_t> comparable;
};

// Entry (i, j) is the coefficient of individuals i and j under variant (Standard, Minimum or
// Maximum); a zero denominator gives a not-a-number entry. A coefficient outside the six is
// refused with "VornCore: Unknown coeffient 1" (Standard), "... 2" (Minimum) or "... 3" (Maximum).
// countComparable: keep the comparable loci of every pair, from the counts the entries are made of.
Result<SimilarityFill> BuildSimilarityMatrix(const PackedScores& scores, SimilarityMode variant,
                                             SimilarityCoefficient coefficient, Real neiLiR,
                                             bool countComparable = false);
// The same over a sample of loci taken with repetition: the entries equal those over the sample
// written out locus by locus. With a transformation the entries are the distances that
// TransformMatrix would make of them, without a second pass over the matrix (undefinedNeiLiPairs
// still counts the coefficients that were -1).
Result<SimilarityFill> BuildSimilarityMatrix(const WeightedScores& scores, SimilarityMode variant,
                                             SimilarityCoefficient coefficient, Real neiLiR,
                                             std::optional<DistanceTransformation> transformation = std::nullopt);
Result<SimilarityFill> BuildSimilarityMatrix(const DataMatrix& data, SimilarityMode variant,
                                             const SimilaritySettings& settings, bool countComparable = false);

}  // namespace vorn
