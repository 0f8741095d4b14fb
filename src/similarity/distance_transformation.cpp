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

DistanceMatrix TransformMatrix(const DistanceMatrix& source, DistanceTransformation transformation) {
  DistanceMatrix target;
  target.n = source.n;
  target.entries.resize(source.entries.size());
  for (std::size_t k = 0; k < source.entries.size(); ++k) {
    target.entries[k] = ApplyTransformation(source.entries[k], transformation);
  }
  return target;
}

}  // namespace vorn
