// Smouse & Peakall's (1999) multilocus spatial autocorrelation coefficient r for distance classes
// of individuals. The squared genetic distances d become the covariance matrix by double
// centring, c_ij = -(d_ij - mean_i - mean_j + mean) / 2 (means over rows, with the 0 diagonal);
// the connection matrix of class h links the pairs in it, and with the pairs (i, j) of class h
//   r_h = 2 sum c_ij / sum (c_ii + c_jj).
// Tests: locations permuted among the individuals (a one-tailed p in the direction of r, and the
// 2.5 and 97.5 percentiles of the permuted r as the null band), pairs resampled with replacement
// within each class (the 95 % bootstrap interval of r, Peakall, Ruibal & Lindenmayer 2003), and
// omega = -2 sum ln p_h over the classes, tested against the same permutations (Smouse, Peakall &
// Gonzales 2008).
//
// The draws come from the program's generator as from one serial loop: first the permutations,
// permutation k a Fisher-Yates shuffle of the n individuals taking n - 1 NextBelow draws (the
// individual order[i] is placed at location i); then the bootstraps, bootstrap b drawing for each
// class in turn as many pairs as it holds (NextBelow of that count), M draws in all for the M
// pairs in classes. Both run on all cores with the same results on any number of them; afterwards
// the generator stands where the serial loop would leave it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/conventions.h"
#include "core/progress.h"
#include "core/random_generator.h"
#include "core/result.h"
#include "spatial/distance_classes.h"

namespace vorn {

// The covariance matrix of the double-centred squared distances.
struct SpatialCovariance {
  std::size_t n = 0;
  std::vector<Real> diagonal;  // c_ii
  std::vector<Real> lower;     // c_ij, i > j, at i (i - 1) / 2 + j
};

// squared: the squared genetic distances, strict lower triangle over n individuals.
SpatialCovariance CovarianceOf(const std::vector<Real>& squared, std::size_t n);

// r of each class; nothing for a class whose denominator vanishes.
std::vector<std::optional<Real>> ClassCorrelations(const SpatialCovariance& covariance, const DistanceClasses& classes);

struct ClassAutocorrelation {
  std::optional<Real> r;
  std::optional<Real> p;                  // with permutations, for a defined r
  std::optional<Real> nullLow, nullHigh;  // percentiles 2.5 and 97.5 of the permuted r
  std::optional<Real> bootLow, bootHigh;  // percentiles 2.5 and 97.5 of the bootstrapped r
};

struct SpatialAutocorrelation {
  std::vector<ClassAutocorrelation> classes;
  std::int32_t permutations = 0;
  std::int32_t bootstraps = 0;
  std::optional<Real> omega, pOmega;  // with permutations and every r defined
};

// The percentile rule of the null band and the bootstrap interval: of the c values sorted
// ascending (those that are numbers), the low end is value floor(0.025 c) + 1, the high end
// value ceil(0.975 c); nothing without values.
std::optional<std::pair<Real, Real>> PercentileInterval(std::vector<double> values);

// The analysis of the squared genetic distances (strict lower triangle over n individuals) in
// the classes. Fails with fewer than 3 individuals, a distance that is not a finite number, and
// when every genetic distance is 0 (r undefined in every class). progress is told the
// permutations and bootstraps done (permutations + bootstraps in all) every few hundredths of a
// second; when it asks to stop, the analysis fails without message and the generator stands past
// the draws done.
Result<SpatialAutocorrelation> AnalyseSpatialAutocorrelation(const std::vector<Real>& squared, std::size_t n,
                                                             const DistanceClasses& classes, std::int32_t permutations,
                                                             std::int32_t bootstraps, RandomGenerator& random,
                                                             const StepProgress& progress = {});

}  // namespace vorn
