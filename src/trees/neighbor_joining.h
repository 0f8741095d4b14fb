// Neighbor-joining (Saitou & Nei 1987) of a distance triangle into a node table, with the
// criterion of Studier & Keppler (1988): of the m clusters left, join the pair with the smallest
// Q(i, j) = (m - 2) d(i, j) - R(i) - R(j), R(i) being the sum of i's distances. The last three
// clusters join at one root, so the unrooted tree is written as a trifurcation.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/distance_matrix.h"
#include "core/label_table.h"
#include "core/result.h"
#include "core/settings.h"
#include "trees/tree_node.h"

namespace vorn {

// Share of the magnitudes that enter a criterion value or a branch length within which two values
// count as equal, and a length as zero: far above the rounding of 80-bit reals over thousands of
// joins (about 10^-16 of them), far below the differences of coefficients of real data.
inline constexpr Real kJoinRoundingShare = 1e-12L;

// What the joins of one or more trees met.
struct JoinNotes {
  std::size_t tiedJoins = 0;        // joins whose smallest Q was shared by more than one pair
  std::size_t negativeLengths = 0;  // branches whose computed length is below zero (kept so)

  JoinNotes& operator+=(const JoinNotes& other) {
    tiedJoins += other.tiedJoins;
    negativeLengths += other.negativeLengths;
    return *this;
  }
};

// The report lines for notes met over trees trees, none for none met: "Neighbor-Joining: 2 joins
// among tied pairs (the first pair in row order joined).", "Neighbor-Joining: 3 negative branch
// lengths kept as computed.", with " in 100 trees" after the count for more than one tree.
std::vector<std::string> JoinNoteLines(const JoinNotes& notes, std::size_t trees);

struct NeighborJoiningTree {
  TreeNodeTable table;
  JoinNotes notes;
};

// The neighbor-joining tree of the distances. Pairs whose Q lies within the rounding share of
// the smallest Q (of the magnitudes (m - 2) max d + 2 max R that enter it) are tied, and the
// first of them in row order joins: the order of the triangle in which the clusters left keep
// their order and each new cluster is appended last. Branch lengths are kept as computed,
// negative ones too; a length counts as negative below minus the rounding share of its terms.
// Leaves are named by labels, or "OTU1" ... when labels does not hold one per OTU. Fails for
// fewer than 2 or more than 32768 OTUs, and for a distance that is negative or not a number
// (an undefined distance), naming the pair.
Result<NeighborJoiningTree> BuildNeighborJoining(DistanceMatrix distances, const LabelTable& labels);

// The same of the coefficients under the transformation, without a transformed copy of them.
Result<NeighborJoiningTree> BuildNeighborJoining(const DistanceMatrix& coefficients,
                                                 DistanceTransformation transformation, const LabelTable& labels);

}  // namespace vorn
