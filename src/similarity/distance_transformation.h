// Turning similarities (or raw distances) into the distances that trees and ordination use.
#pragma once

#include "core/distance_matrix.h"
#include "core/settings.h"

namespace vorn {

// 1 - x, sqrt(1 - x), (1 - x)^2 for a similarity; x, sqrt(x), x^2 for a distance. A value
// without a real result (a not-a-number entry, a square root of a negative) gives NaN.
Real ApplyTransformation(Real x, DistanceTransformation transformation);

// A new matrix of the same size holding every entry of source transformed.
DistanceMatrix TransformMatrix(const DistanceMatrix& source, DistanceTransformation transformation);

}  // namespace vorn
