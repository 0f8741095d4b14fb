// The tree of a distance triangle by the chosen method, for the analyses that let the user
// choose between UPGMA and neighbor-joining.
#pragma once

#include "core/distance_matrix.h"
#include "trees/neighbor_joining.h"
#include "core/label_table.h"
#include "core/result.h"
#include "core/settings.h"
#include "trees/tree_node.h"

namespace vorn {

// Adds what neighbor-joining met to notes, when given.
Result<TreeNodeTable> BuildTree(TreeMethod method, DistanceMatrix distances, const LabelTable& labels,
                                JoinNotes* notes = nullptr);

// "UPGMA" or "Neighbor-Joining".
const char* TreeMethodName(TreeMethod method);

}  // namespace vorn
