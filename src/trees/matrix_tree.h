// The tree (UPGMA or neighbor-joining) of a (dis)similarity matrix as the similarity commands keep it: its entries
// turned into distances with the chosen transformation. A pair whose Nei-Li distance is
// undefined (-1: the pair shares no band) has no distance to join by; taken as one it would be
// joined first, on branches of negative length, so such a matrix gives no tree.
#pragma once

#include <cstddef>
#include <string>

#include "core/distance_matrix.h"
#include "core/label_table.h"
#include "core/result.h"
#include "core/settings.h"
#include "trees/tree_method.h"
#include "trees/tree_node.h"

namespace vorn {

// The pairs of individuals (entries off the diagonal) that hold the undefined Nei-Li distance.
std::size_t CountUndefinedPairs(const DistanceMatrix& coefficients);

// Why a tree cannot be built from coefficients holding undefined distances ("2 pairs of
// individuals share no band: ..."), or "" when every distance is defined.
std::string UndefinedPairsRefusal(const DistanceMatrix& coefficients);
// The same for a count of such pairs.
std::string UndefinedPairsRefusal(std::size_t pairs);

// The tree of the individuals named by labels by the chosen method; fails, naming how many pairs
// share no band, when some distances are undefined, and otherwise as the tree builder fails.
// Adds what neighbor-joining met to notes, when given.
Result<TreeNodeTable> BuildMatrixTree(DistanceMatrix coefficients, DistanceTransformation transformation,
                                      const LabelTable& labels, TreeMethod method = TreeMethod::Upgma,
                                      JoinNotes* notes = nullptr);

// The same for coefficients already turned into distances (as the fill of a bootstrap replicate
// makes them), of which undefinedPairs were undefined.
Result<TreeNodeTable> BuildDistanceTree(DistanceMatrix distances, std::size_t undefinedPairs, const LabelTable& labels,
                                        TreeMethod method, JoinNotes* notes = nullptr);

}  // namespace vorn
