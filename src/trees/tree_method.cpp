#include "trees/tree_method.h"

#include "trees/upgma.h"

namespace vorn {

Result<TreeNodeTable> BuildTree(TreeMethod method, DistanceMatrix distances, const LabelTable& labels,
                                JoinNotes* notes) {
  if (method == TreeMethod::Upgma) return BuildUPGMA(std::move(distances), labels);
  auto tree = BuildNeighborJoining(std::move(distances), labels);
  if (!tree) return Failure{tree.error()};
  if (notes) *notes += tree->notes;
  return std::move(tree->table);
}

const char* TreeMethodName(TreeMethod method) {
  return method == TreeMethod::Upgma ? "UPGMA" : "Neighbor-Joining";
}

}  // namespace vorn
