// The two resampling loops of the spatial autocorrelation, each the fast form of its formula in
// doubles: permuted locations (the class connection matrix permuted against the fixed covariance
// matrix) and pairs drawn with replacement within each class. Results are laid out class by
// class, class h at [h * count, (h + 1) * count); a value that is no number stands for an r whose
// denominator vanished.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/progress.h"
#include "core/random_generator.h"
#include "spatial/distance_classes.h"
#include "spatial/spatial_autocorrelation.h"

namespace vorn {

struct PermutedCorrelations {
  std::vector<double> observed;  // r of each class as the kernel computes it unpermuted
  std::vector<double> permuted;  // class by class
};

// Permutation k shuffles with the draws that start k (n - 1) draws after base. roundDone is told
// the permutations done after each round; false stops the loop, which gives nothing.
std::optional<PermutedCorrelations> PermuteLocations(const SpatialCovariance& covariance, const DistanceClasses& classes,
                                                     std::int32_t permutations, const RandomGenerator& base,
                                                     const StepProgress& roundDone);

// Bootstrap b draws from base skipped by b times the pairs in classes; the same stopping rule.
std::optional<std::vector<double>> BootstrapPairs(const SpatialCovariance& covariance, const DistanceClasses& classes,
                                                  std::int32_t bootstraps, const RandomGenerator& base,
                                                  const StepProgress& roundDone);

}  // namespace vorn
