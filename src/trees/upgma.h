// UPGMA clustering of a distance triangle into a node table. Every pair of clusters tied at the
// smallest distance joins in one step (a node may get more than two children); a new cluster's
// distance to another is the plain mean of its members' distances (each member counts once,
// whatever its size), and distances of 1000 or more are never joined.
#pragma once

#include <cstddef>
#include <optional>

#include "core/distance_matrix.h"
#include "core/label_table.h"
#include "core/result.h"
#include "trees/tree_node.h"

namespace vorn {

inline constexpr std::size_t kMaxTreeOtus = (kMaxTreeRecords + 1) / 2;

// Why a tree of otus OTUs cannot be built (fewer than 2, more than kMaxTreeOtus), or nothing:
// the one size rule of every tree builder.
std::optional<Failure> TreeSizeRefusal(std::size_t otus);

// The UPGMA tree of the distances.n OTUs. Leaves are named by labels, or "OTU1" ... when labels
// does not hold one per OTU. Fails with the message to show when the distances cannot be joined
// (every remaining distance between two clusters is 1000 or more) or there are fewer than 2 or
// more than 32768 OTUs; no partial tree is given then. The diagonal is never read.
Result<TreeNodeTable> BuildUPGMA(DistanceMatrix distances, const LabelTable& labels);

}  // namespace vorn
