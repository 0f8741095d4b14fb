// The tree (UPGMA or neighbor-joining) of a (dis)similarity matrix as the similarity commands keep it: its entries
// turned into distances with the chosen transformation. A pair without a distance (nothing to
// compare, a coefficient that divides by 0, the Nei-Li -1) cannot be joined: taken as a distance,
// a -1 would be joined first on branches of negative length, a not-a-number would give branch
// lengths that are none, and an Euclidean 0 of two individuals never compared would join them as
// identical. So a matrix with such a pair gives no tree.
#pragma once

#include <string>

#include "core/distance_matrix.h"
#include "core/label_table.h"
#include "core/result.h"
#include "core/settings.h"
#include "core/undefined_pairs.h"
#include "trees/tree_method.h"
#include "trees/tree_node.h"

namespace vorn {

// Why no tree of the method was built from a matrix with the pairs without a distance, naming
// the first ("The distance between a1 and b1 is undefined (...); no UPGMA tree was built.").
std::string TreeRefusal(const UndefinedPairs& undefined, const LabelTable& labels, TreeMethod method);

// The tree of the individuals named by labels by the chosen method; refused, naming the first
// pair, when some pairs have no distance, and otherwise failing as the tree builder fails.
// Adds what neighbor-joining met to notes, when given.
Result<TreeNodeTable> BuildMatrixTree(DistanceMatrix coefficients, const UndefinedMarks& marks,
                                      DistanceTransformation transformation, const LabelTable& labels,
                                      TreeMethod method = TreeMethod::Upgma, JoinNotes* notes = nullptr);

// The same for coefficients already turned into distances (as the fill of a bootstrap replicate
// makes them).
Result<TreeNodeTable> BuildDistanceTree(DistanceMatrix distances, const UndefinedMarks& marks,
                                        const LabelTable& labels, TreeMethod method, JoinNotes* notes = nullptr);

}  // namespace vorn
