// Turning similarities (or raw distances) into the distances that trees and ordination use.
#pragma once

#include <cmath>
#include <limits>

#include "core/distance_matrix.h"
#include "core/settings.h"

namespace vorn {

// 1 - x, sqrt(1 - x), (1 - x)^2 for a similarity; x, sqrt(x), x^2 for a distance. A
// not-a-number value stays one. A negative distance can only be the mark of an undefined Nei-Li
// distance (-1); it passes every distance transformation unchanged, so that it stays
// recognisable whichever transformation is chosen.
inline Real ApplyTransformation(Real x, DistanceTransformation transformation) {
  switch (transformation) {
    case DistanceTransformation::OneMinusS: return 1 - x;
    case DistanceTransformation::SqrtOneMinusS: return std::sqrt(1 - x);
    case DistanceTransformation::SquaredOneMinusS: return (1 - x) * (1 - x);
    case DistanceTransformation::D: return x;
    case DistanceTransformation::SqrtD: return x < 0 ? x : std::sqrt(x);
    case DistanceTransformation::SquaredD: return x < 0 ? x : x * x;
  }
  return std::numeric_limits<Real>::quiet_NaN();
}

// The matrix with every entry of source transformed; a source handed over (moved) is transformed
// in place, so that no second matrix is held.
DistanceMatrix TransformMatrix(DistanceMatrix source, DistanceTransformation transformation);

}  // namespace vorn
