#include "trees/matrix_tree.h"

#include <string>

#include "similarity/distance_transformation.h"

namespace vorn {

std::string TreeRefusal(const UndefinedPairs& undefined, const LabelTable& labels, TreeMethod method) {
  return UndefinedPairsRefusal(undefined, labels, std::string("no ") + TreeMethodName(method) + " tree was built");
}

Result<TreeNodeTable> BuildMatrixTree(DistanceMatrix coefficients, const UndefinedMarks& marks,
                                      DistanceTransformation transformation, const LabelTable& labels,
                                      TreeMethod method, JoinNotes* notes) {
  // Found in the coefficients, as the other consumers of the active matrix find them.
  if (const UndefinedPairs undefined = FindUndefinedPairs(coefficients, marks); undefined.Any()) {
    return Failure{TreeRefusal(undefined, labels, method)};
  }
  return BuildTree(method, TransformMatrix(std::move(coefficients), transformation), labels, notes);
}

Result<TreeNodeTable> BuildDistanceTree(DistanceMatrix distances, const UndefinedMarks& marks,
                                        const LabelTable& labels, TreeMethod method, JoinNotes* notes) {
  // The distance transformations keep a not-a-number and the Nei-Li -1 as they are.
  if (const UndefinedPairs undefined = FindUndefinedPairs(distances, marks); undefined.Any()) {
    return Failure{TreeRefusal(undefined, labels, method)};
  }
  return BuildTree(method, std::move(distances), labels, notes);
}

}  // namespace vorn
