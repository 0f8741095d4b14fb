// The cophenetic correlation (Sokal & Rohlf 1962): Pearson's r between the distances of a matrix
// and the path lengths of a tree between the same individuals, over all pairs i < j. For a UPGMA
// tree the path between two tips is twice the height at which they join.
#pragma once

#include <cstddef>

#include "core/distance_matrix.h"
#include "core/label_table.h"
#include "core/result.h"
#include "trees/newick_reader.h"

namespace vorn {

// The path lengths between the tips of tree, by the position of each tip's name in labels (a
// branch without a length counts 0). Fails naming a tip that labels does not hold, or a label
// that no tip or two tips carry.
Result<DistanceMatrix> PathDistances(const NewickTree& tree, const LabelTable& labels);

// Pearson's r over the pairs i < j; not a number when either side does not vary.
Real PearsonOverPairs(const DistanceMatrix& x, const DistanceMatrix& y);

}  // namespace vorn
