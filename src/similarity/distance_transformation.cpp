#include "similarity/distance_transformation.h"

#include <cmath>
#include <limits>

namespace vorn {

Real ApplyTransformation(Real x, DistanceTransformation transformation) {
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

void TransformEntries(Real* entries, std::size_t count, DistanceTransformation transformation) {
  for (std::size_t k = 0; k < count; ++k) entries[k] = ApplyTransformation(entries[k], transformation);
}

DistanceMatrix TransformMatrix(DistanceMatrix source, DistanceTransformation transformation) {
  TransformEntries(source.entries.data(), source.entries.size(), transformation);
  return source;
}

}  // namespace vorn
