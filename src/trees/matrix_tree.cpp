#include "trees/matrix_tree.h"

#include <string>

#include "similarity/coefficients.h"
#include "similarity/distance_transformation.h"
#include "trees/upgma.h"

namespace vorn {

std::size_t CountUndefinedPairs(const DistanceMatrix& coefficients) {
  std::size_t pairs = 0;
  for (std::size_t i = 1; i < coefficients.n; ++i) {
    for (std::size_t j = 0; j < i; ++j) pairs += coefficients(i, j) == kUndefinedNeiLi;
  }
  return pairs;
}

Result<TreeNodeTable> BuildMatrixTree(const DistanceMatrix& coefficients, DistanceTransformation transformation,
                                      const LabelTable& labels) {
  if (const std::size_t pairs = CountUndefinedPairs(coefficients); pairs > 0) {
    return Failure{std::to_string(pairs) +
                   (pairs == 1 ? " pair of individuals shares no band: its Nei-Li distance is undefined (-1), and a "
                                 "tree cannot join it."
                               : " pairs of individuals share no band: their Nei-Li distance is undefined (-1), and a "
                                 "tree cannot join them.")};
  }
  return BuildUPGMA(TransformMatrix(coefficients, transformation), labels);
}

}  // namespace vorn
