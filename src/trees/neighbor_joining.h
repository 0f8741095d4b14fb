// Neighbor-joining (Saitou & Nei 1987) of a distance triangle into a node table, with the
// criterion of Studier & Keppler (1988): of the m clusters left, join the pair with the smallest
// Q(i, j) = (m - 2) d(i, j) - R(i) - R(j), R(i) being the sum of i's distances. The last three
// clusters join at one root, so the unrooted tree is written as a trifurcation.
#pragma once

#include <cstddef>

#include "core/distance_matrix.h"
#include "core/label_table.h"
#include "core/result.h"
#include "core/settings.h"
#include "trees/tree_node.h"

namespace vorn {

struct NeighborJoiningTree {
  TreeNodeTable table;
  std::size_t tiedJoins = 0;        // joins whose smallest Q was shared by more than one pair
  std::size_t negativeLengths = 0;  // branches whose computed length is below zero (kept so)
};

// The neighbor-joining tree of the distances. Among pairs tied at the smallest Q the first in
// row order joins: the order of the triangle in which the clusters left keep their order and
// each new cluster is appended last. Branch lengths are kept as computed, negative ones too.
// Leaves are named by labels, or "OTU1" ... when labels does not hold one per OTU. Fails for
// fewer than 2 or more than 32768 OTUs, and for a distance that is negative or not a number
// (an undefined distance), naming the pair.
Result<NeighborJoiningTree> BuildNeighborJoining(DistanceMatrix distances, const LabelTable& labels);

// The same of the coefficients under the transformation, without a transformed copy of them.
Result<NeighborJoiningTree> BuildNeighborJoining(const DistanceMatrix& coefficients,
                                                 DistanceTransformation transformation, const LabelTable& labels);

}  // namespace vorn
