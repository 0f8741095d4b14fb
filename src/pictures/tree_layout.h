// Where each node of a tree stands in a rectangular dendrogram, in the tree's own units: x is
// the distance from the root (the sum of branch lengths when every branch has one, otherwise
// steps of a cladogram whose tips all stand at the right), y is the row (tips 0, 1, ... in the
// order of the text; an inner node midway between its first and last child). Painters scale
// both to pixels.
#pragma once

#include <vector>

#include "core/result.h"
#include "trees/newick_reader.h"

namespace vorn {

struct NodePosition {
  double x = 0;
  double y = 0;
};

struct TreeLayout {
  std::vector<NodePosition> nodes;  // by the tree's node index
  std::vector<int> tips;            // tip node indices, top row first
  bool toScale = false;             // x are branch lengths (else cladogram steps)
  double left = 0;                  // smallest and largest x (left < 0 only with negative lengths)
  double right = 0;
  double scaleBar = 0;              // a round length about a quarter of the width (to scale only)
};

// Fails when the branch lengths add up to a height, or a width, that is not a finite number:
// such a tree cannot be scaled to any picture.
Result<TreeLayout> LayOutTree(const NewickTree& tree);

// The least row height (pixels from one tip to the next) at which a tip label stays readable;
// drawings with lower rows leave the tip labels out rather than draw them over each other.
inline constexpr double kReadableTreeRow = 9;

}  // namespace vorn
