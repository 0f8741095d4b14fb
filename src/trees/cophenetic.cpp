// Path lengths come from each node's depth below the root: the path between two tips is the sum
// of their depths less twice the depth of the node where they meet, which is found for every
// pair at once by walking each inner node's tip lists child against child.
#include "trees/cophenetic.h"

#include <cmath>
#include <vector>

namespace vorn {

Result<DistanceMatrix> PathDistances(const NewickTree& tree, const LabelTable& labels) {
  const auto& nodes = tree.nodes;
  const std::size_t n = labels.Count();
  std::vector<Real> depth(nodes.size(), 0);
  std::vector<std::size_t> position(nodes.size(), 0);
  std::vector<bool> named(n, false);
  for (std::size_t v = 0; v < nodes.size(); ++v) {
    if (v > 0) depth[v] = depth[static_cast<std::size_t>(nodes[v].parent)] + static_cast<Real>(nodes[v].length.value_or(0));
    if (!nodes[v].IsTip()) continue;
    const long found = labels.Find(nodes[v].name);
    if (found < 0) return Failure{"The tree's tip \"" + nodes[v].name + "\" is not an individual of the matrix."};
    if (named[static_cast<std::size_t>(found)]) return Failure{"The tree holds the tip \"" + nodes[v].name + "\" twice."};
    named[static_cast<std::size_t>(found)] = true;
    position[v] = static_cast<std::size_t>(found);
  }
  for (std::size_t i = 0; i < n; ++i) {
    if (!named[i]) return Failure{"The tree lacks the individual \"" + labels[i] + "\" of the matrix."};
  }
  // Tips below each node, gathered from the leaves up (children follow their parents in text order).
  std::vector<std::vector<std::size_t>> below(nodes.size());
  DistanceMatrix paths(n);
  for (std::size_t v = nodes.size(); v-- > 0;) {
    if (nodes[v].IsTip()) {
      below[v] = {v};
      continue;
    }
    std::vector<std::size_t>& tips = below[v];
    for (int child : nodes[v].children) {
      std::vector<std::size_t>& other = below[static_cast<std::size_t>(child)];
      for (std::size_t a : tips) {
        for (std::size_t b : other) paths(position[a], position[b]) = depth[a] + depth[b] - 2 * depth[v];
      }
      tips.insert(tips.end(), other.begin(), other.end());
      other = {};
    }
  }
  return paths;
}

Real PearsonOverPairs(const DistanceMatrix& x, const DistanceMatrix& y) {
  const std::size_t n = x.n;
  Real sumX = 0, sumY = 0;
  for (std::size_t i = 1; i < n; ++i) {
    for (std::size_t j = 0; j < i; ++j) sumX += x(i, j), sumY += y(i, j);
  }
  const Real pairs = static_cast<Real>(n) * static_cast<Real>(n - 1) / 2;
  const Real meanX = sumX / pairs, meanY = sumY / pairs;
  Real xx = 0, yy = 0, xy = 0;
  for (std::size_t i = 1; i < n; ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      const Real dx = x(i, j) - meanX, dy = y(i, j) - meanY;
      xx += dx * dx, yy += dy * dy, xy += dx * dy;
    }
  }
  return xy / std::sqrt(xx * yy);
}

}  // namespace vorn
