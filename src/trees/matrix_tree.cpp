#include "trees/matrix_tree.h"

#include <string>

#include "similarity/coefficients.h"
#include "similarity/distance_transformation.h"

namespace vorn {

std::size_t CountUndefinedPairs(const DistanceMatrix& coefficients) {
  std::size_t pairs = 0;
  for (std::size_t i = 1; i < coefficients.n; ++i) {
    for (std::size_t j = 0; j < i; ++j) pairs += coefficients(i, j) == kUndefinedNeiLi;
  }
  return pairs;
}

std::string UndefinedPairsRefusal(const DistanceMatrix& coefficients) {
  return UndefinedPairsRefusal(CountUndefinedPairs(coefficients));
}

std::string UndefinedPairsRefusal(std::size_t pairs) {
  if (pairs == 0) return "";
  return std::to_string(pairs) +
         (pairs == 1 ? " pair of individuals shares no band: its Nei-Li distance is undefined (-1), and a tree "
                       "cannot join it."
                     : " pairs of individuals share no band: their Nei-Li distance is undefined (-1), and a tree "
                       "cannot join them.");
}

Result<TreeNodeTable> BuildMatrixTree(DistanceMatrix coefficients, DistanceTransformation transformation,
                                      const LabelTable& labels, TreeMethod method, JoinNotes* notes) {
  const std::size_t undefinedPairs = CountUndefinedPairs(coefficients);
  if (undefinedPairs > 0) return Failure{UndefinedPairsRefusal(undefinedPairs)};
  return BuildDistanceTree(TransformMatrix(std::move(coefficients), transformation), 0, labels, method, notes);
}

Result<TreeNodeTable> BuildDistanceTree(DistanceMatrix distances, std::size_t undefinedPairs, const LabelTable& labels,
                                        TreeMethod method, JoinNotes* notes) {
  if (std::string refusal = UndefinedPairsRefusal(undefinedPairs); !refusal.empty()) return Failure{std::move(refusal)};
  return BuildTree(method, std::move(distances), labels, notes);
}

}  // namespace vorn
