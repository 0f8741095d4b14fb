// Whether the structure found in the data follows their missing scores: Spearman's rho of each
// individual's share of missing scores with its place on the first principal coordinates, and a
// Mantel test of the distances between individuals against the absolute difference of their
// missing shares, each with a permutation p. A correlation at p <= kMissingnessLevel is called
// significant: an axis or a distance that follows missingness shows scoring, not genetics.
//
// Draws, in this order: the rank correlations' permutations (SpearmanTest), then the Mantel
// test's (MantelTest, the distances permuted). progress is told the Mantel test's permutations.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/conventions.h"
#include "core/data_matrix.h"
#include "core/ordination.h"
#include "core/progress.h"
#include "core/random_generator.h"
#include "core/result.h"
#include "missingness/rank_correlation.h"
#include "population/mantel_test.h"

namespace vorn {

inline constexpr Real kMissingnessLevel = 0.05L;
// The principal coordinates tested, the first ones (fewer when the analysis has fewer).
inline constexpr std::size_t kMissingnessAxes = 3;

struct MissingnessCheck {
  std::vector<Real> shares;             // per individual, missing scores over loci
  std::vector<RankCorrelation> axes;    // axis k + 1 at k
  MantelResult distances;               // the distances against |share difference|
  std::int32_t permutations = 0;
};

// Each individual's missing share, in data order.
std::vector<Real> IndividualMissingShares(const DataMatrix& data);

// distances: the strict lower triangle of the individuals' distances ((i, j), i > j, at
// i (i - 1) / 2 + j), over the individuals of shares and of the ordination, in the same order.
Result<MissingnessCheck> CheckMissingness(const std::vector<Real>& shares, const Ordination& ordination,
                                          const std::vector<Real>& distances, std::int32_t permutations,
                                          RandomGenerator& random, const StepProgress& progress = {});

// "Axis 1 follows missing data (rho = 0.62, p = 0.001): consider removing individuals or loci
// with most missing scores", or "Axis 1 does not follow missing data (rho = 0.05, p = 0.612)"; without
// permutations no p and no verdict: "Axis 1: rho = 0.05 (no permutation test)".
std::string AxisVerdict(std::size_t axis, const RankCorrelation& correlation, std::int32_t permutations);
// The same of the distances: "The distances follow missing data (r = 0.41, p = 0.002): ...".
std::string DistanceVerdict(const MantelResult& mantel);
// Whether a p from a test with permutations is significant.
bool FollowsMissingData(Real p, std::int32_t permutations);

}  // namespace vorn
