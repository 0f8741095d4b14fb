// Random distance triangles for comparing the tree builders: continuous values (no ties),
// values from a few levels (many exact ties, zeros among them, and on the diagonal too), and ones
// with entries at or above the 1000 ceiling.
#pragma once

#include <random>
#include <vector>

#include "core/distance_matrix.h"

namespace vorn::testing {

enum class DistanceKind { Continuous, FewLevels, WithCeiling };

inline DistanceMatrix RandomDistances(std::size_t n, DistanceKind kind, std::mt19937& random) {
  DistanceMatrix d(n);
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  const std::vector<Real> levels{0, 0.125L, 0.25L, 0.25L, 0.5L, 0.75L};
  const std::vector<Real> high{0.2L, 0.4L, 1000, 1500, 2500};
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      switch (kind) {
        case DistanceKind::Continuous: d(i, j) = static_cast<Real>(uniform(random)); break;
        case DistanceKind::FewLevels: d(i, j) = levels[random() % levels.size()]; break;
        case DistanceKind::WithCeiling: d(i, j) = high[random() % high.size()]; break;
      }
    }
    // The builders never read the diagonal; an Average matrix holds drawn values there.
    d(i, i) = kind == DistanceKind::FewLevels ? levels[random() % levels.size()] : 0;
  }
  return d;
}

}  // namespace vorn::testing
