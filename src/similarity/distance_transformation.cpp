#include "similarity/distance_transformation.h"

namespace vorn {

DistanceMatrix TransformMatrix(DistanceMatrix source, DistanceTransformation transformation) {
  for (Real& entry : source.entries) entry = ApplyTransformation(entry, transformation);
  return source;
}

}  // namespace vorn
