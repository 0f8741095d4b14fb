#include "pictures/tree_layout.h"

#include <algorithm>
#include <cmath>

#include "pictures/plot_scale.h"

namespace vorn {

// Nodes are numbered in the order their text starts, so every parent comes before its
// children: one pass forward fixes x from the root, one pass backward fixes y from the tips.
Result<TreeLayout> LayOutTree(const NewickTree& tree) {
  const std::size_t n = tree.nodes.size();
  TreeLayout layout;
  layout.nodes.resize(n);
  layout.tips = tree.Tips();
  layout.toScale = n > 1 && std::all_of(tree.nodes.begin() + 1, tree.nodes.end(),
                                         [](const NewickNode& node) { return node.length.has_value(); });
  if (layout.toScale) {
    for (std::size_t i = 1; i < n; ++i) {
      layout.nodes[i].x = layout.nodes[tree.nodes[i].parent].x + *tree.nodes[i].length;
    }
  } else {
    // Steps above the farthest tip below each node; the root stands at 0, every tip at the right.
    std::vector<int> height(n, 0);
    for (std::size_t i = n; i-- > 1;) {
      int& parentHeight = height[tree.nodes[i].parent];
      parentHeight = std::max(parentHeight, height[i] + 1);
    }
    for (std::size_t i = 0; i < n; ++i) layout.nodes[i].x = height[0] - height[i];
  }
  for (std::size_t row = 0; row < layout.tips.size(); ++row) layout.nodes[layout.tips[row]].y = static_cast<double>(row);
  for (std::size_t i = n; i-- > 0;) {
    const auto& children = tree.nodes[i].children;
    if (!children.empty()) layout.nodes[i].y = (layout.nodes[children.front()].y + layout.nodes[children.back()].y) / 2;
  }
  for (const auto& node : layout.nodes) {
    layout.left = std::min(layout.left, node.x);
    layout.right = std::max(layout.right, node.x);
  }
  const bool finite = std::all_of(layout.nodes.begin(), layout.nodes.end(),
                                  [](const NodePosition& node) { return std::isfinite(node.x); });
  if (!finite || !std::isfinite(layout.right - layout.left)) {
    return Failure{"The branch lengths add up to node heights beyond the largest number, so the tree cannot be drawn."};
  }
  if (layout.toScale) layout.scaleBar = RoundStepBelow((layout.right - layout.left) / 4);
  return layout;
}

}  // namespace vorn
