// A tree re-rooted at the midpoint of its longest tip-to-tip path, for drawing: the two tips
// farthest apart by the sum of branch lengths, and the point halfway along the path between them.
// The tree's text and files are never changed by it; pictures and the viewer draw the result.
#pragma once

#include "core/result.h"
#include "trees/newick_reader.h"

namespace vorn {

// The same tree with its root moved to the midpoint of its longest tip-to-tip path, in linear
// time.
// - The farthest pair: of equally long paths (sums equal as computed), the pair whose first tip
//   comes first in the tree's tip order, then whose second tip does.
// - Branch lengths are taken as given, negative ones too: the midpoint is the first point,
//   walking from the pair's first tip, at which half the path's length has been walked.
// - A midpoint inside a branch becomes a new root of two children that splits the branch's length
//   (the side of the branch below the old root first); a midpoint on an inner node makes that node
//   the root. An old root left with one child is dissolved, its two branches joined into one.
// - A label of an inner node belongs to the split its branch makes, and stays with that split:
//   on the path from the new root to the old one the labels move to the node that is now below
//   the branch. The branch the new root splits keeps its label on the side below the old root
//   only; a dissolved old root's branch keeps the label of the group below it (or, lacking one,
//   its own). The root's label (the tree's name) stays at the root.
// - Children keep their order around each node, so the tip order is the old one turned round.
// Fails, naming the branch, when a branch has no length. A tree of fewer than two tips is
// returned as it is.
Result<NewickTree> RootAtMidpoint(const NewickTree& tree);

}  // namespace vorn
