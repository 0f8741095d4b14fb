// The circular order of NeighborNet (Bryant & Moulton 2004, Mol. Biol. Evol. 21: 255-265). Each
// cluster is a path of individuals with one or two nodes standing for its ends. Of the m clusters
// left, the pair with the smallest Q(C, D) = (m - 2) d(C, D) - R(C) - R(D) is chosen, d(C, D)
// being the mean distance between their nodes and R the sum of a cluster's d to the others. Of
// their nodes, the pair x (of C), y (of D) with the smallest (m' - 2) d(x, y) - R(x) - R(y) is
// made neighbours, counting the nodes of C and D as m' = m - 2 + |C| + |D| clusters of their own
// (R(x): x's distances to the other nodes of C and D, and its mean distance to each other
// cluster). The merged path gets the nodes of its two ends; where it has three nodes x, y, z in a
// row they are reduced to two, u = (2/3) x + (1/3) y and v = (1/3) y + (2/3) z:
// d(u, p) = (2/3) d(x, p) + (1/3) d(y, p), d(v, p) = (1/3) d(y, p) + (2/3) d(z, p),
// d(u, v) = (d(x, y) + d(x, z) + d(y, z)) / 3; a path of four nodes a, x, y, b is reduced twice,
// (a, x, y) and then (a, y, b). The last cluster's path is the circular order.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "core/conventions.h"

namespace vorn {

struct CircularOrder {
  std::vector<std::size_t> order;  // the individuals round the circle
  std::size_t tiedJoins = 0;       // choices (of clusters or of their nodes) shared by tied pairs
};

// The order of the n individuals of the strict lower triangle of distances (at
// StrictPairIndex(i, j), i > j). Clusters keep the row order of the rules: the merged cluster
// takes the place of the earlier of the two and the later leaves. Of pairs of clusters whose Q
// lies within kJoinRoundingShare of the magnitudes that enter it ((m - 2) max d + 2 max R) of the
// smallest, the first in row order is taken (rows i = 1 .. m - 1, in each j = 0 .. i - 1); of the
// node pairs, the first with x from the earlier cluster's front then back end and y likewise.
// joined, when given, hears the number of joins done after each (n - 1 in all); when it answers
// false the agglomeration stops there and its order is not a circle of all individuals.
CircularOrder NeighborNetOrder(std::size_t n, const std::vector<Real>& distances,
                               const std::function<bool(std::size_t joins)>& joined = {});

}  // namespace vorn
