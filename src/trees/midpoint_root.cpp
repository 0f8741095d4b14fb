#include "trees/midpoint_root.h"

#include <algorithm>
#include <utility>

#include "core/conventions.h"

namespace vorn {
namespace {

struct FarthestPair {
  int first = -1;  // in tip order, first before second
  int second = -1;
  Real length = 0;
};

// Node indices run in the order of the text, so a parent comes before its children and tips
// compare in tip order by their indices. One pass from the last node back: each node's longest
// way down to a tip (and the first tip ending such a way), and each path that turns at the node.
FarthestPair FindFarthestPair(const NewickTree& tree) {
  const auto& nodes = tree.nodes;
  std::vector<Real> down(nodes.size(), 0);
  std::vector<int> downTip(nodes.size(), -1);
  FarthestPair best;
  for (std::size_t v = nodes.size(); v-- > 0;) {
    if (nodes[v].IsTip()) {
      downTip[v] = static_cast<int>(v);
      continue;
    }
    // The longest way down through the children seen so far; an earlier child's tips come first,
    // so of equal ways the earlier one is kept.
    Real longest = 0;
    int longestTip = -1;
    for (int child : nodes[v].children) {
      const Real way = down[child] + static_cast<Real>(*nodes[child].length);
      const int tip = downTip[child];
      if (longestTip >= 0) {
        const Real path = longest + way;
        if (best.first < 0 || path > best.length ||
            (path == best.length && std::pair(longestTip, tip) < std::pair(best.first, best.second))) {
          best = {longestTip, tip, path};
        }
      }
      if (longestTip < 0 || way > longest) longest = way, longestTip = tip;
    }
    down[v] = longest;
    downTip[v] = longestTip;
  }
  return best;
}

// The nodes from one tip up to the common ancestor and down to the other tip.
std::vector<int> PathBetween(const NewickTree& tree, int from, int to) {
  std::vector<char> aboveFrom(tree.nodes.size(), 0);
  for (int v = from; v >= 0; v = tree.nodes[v].parent) aboveFrom[v] = 1;
  std::vector<int> downward;
  int common = to;
  for (; !aboveFrom[common]; common = tree.nodes[common].parent) downward.push_back(common);
  std::vector<int> path;
  for (int v = from; v != common; v = tree.nodes[v].parent) path.push_back(v);
  path.push_back(common);
  path.insert(path.end(), downward.rbegin(), downward.rend());
  return path;
}

// The midpoint lies on the branch above `below`, at `fromBelow` along it from that node.
struct Midpoint {
  int below;
  Real fromBelow;
};

// The first branch of the path on which half of it has been walked. With negative lengths the
// distance walked can fall and rise again, so the first such point is taken.
Midpoint FindMidpoint(const NewickTree& tree, const std::vector<int>& path, Real half) {
  Real walked = 0;
  for (std::size_t i = 0; i + 1 < path.size(); ++i) {
    const bool upward = tree.nodes[path[i]].parent == path[i + 1];
    const int below = upward ? path[i] : path[i + 1];
    const Real length = static_cast<Real>(*tree.nodes[below].length);
    const Real rest = half - walked;
    if ((rest >= 0 && rest <= length) || (rest <= 0 && rest >= length)) return {below, upward ? rest : length - rest};
    walked += length;
  }
  // Only rounding leaves the last branch without the midpoint: it then lies at the far tip.
  return {path.back(), 0};
}

// Names the branch above node v for a message: its tip, or the first tip of its group.
std::string BranchName(const NewickTree& tree, std::size_t v) {
  std::size_t tip = v;
  while (!tree.nodes[tip].IsTip()) tip = static_cast<std::size_t>(tree.nodes[tip].children.front());
  const std::string name = "\"" + tree.nodes[tip].name + "\"";
  return tip == v ? "the branch to the tip " + name : "the branch to the group of the tip " + name;
}

// Makes the inner node `root` the root: every node on the way from it to the old root turns
// round, taking the length and label of the branch it now hangs from; an old root left with one
// child is dissolved, and one left with none (it had a single child) is dropped.
void TurnRoundTo(std::vector<NewickNode>& nodes, int root) {
  std::vector<int> way;  // the new root first, the old root last
  for (int v = root; v >= 0; v = nodes[v].parent) way.push_back(v);
  if (way.size() == 1) return;
  const int oldRoot = way.back();
  std::string treeName = std::move(nodes[oldRoot].name);
  // From the old root down, so that each branch's length and label are read before they move.
  for (std::size_t i = way.size() - 1; i >= 1; --i) {
    NewickNode& node = nodes[way[i]];
    const int newParent = way[i - 1];
    // Neighbours in their order around the node, starting after the new parent.
    std::vector<int> around;
    if (node.parent >= 0) around.push_back(node.parent);
    around.insert(around.end(), node.children.begin(), node.children.end());
    std::rotate(around.begin(), std::find(around.begin(), around.end(), newParent) + 1, around.end());
    around.pop_back();
    node.children = std::move(around);
    node.parent = newParent;
    node.length = nodes[newParent].length;
    node.name = nodes[newParent].name;
  }
  NewickNode& top = nodes[root];
  top.children.push_back(way[1]);
  top.parent = -1;
  top.length.reset();
  top.name = std::move(treeName);

  auto& besideOldRoot = nodes[nodes[oldRoot].parent].children;
  if (nodes[oldRoot].children.empty()) {
    besideOldRoot.erase(std::find(besideOldRoot.begin(), besideOldRoot.end(), oldRoot));
  } else if (nodes[oldRoot].children.size() == 1) {
    const int child = nodes[oldRoot].children.front();
    NewickNode& joined = nodes[child];
    joined.parent = nodes[oldRoot].parent;
    joined.length = *joined.length + *nodes[oldRoot].length;
    if (!joined.IsTip() && joined.name.empty()) joined.name = nodes[oldRoot].name;
    *std::find(besideOldRoot.begin(), besideOldRoot.end(), oldRoot) = child;
  }
}

// The nodes reachable from root, numbered again in the order of the text.
NewickTree InTextOrder(const std::vector<NewickNode>& nodes, int root) {
  NewickTree tree;
  tree.nodes.reserve(nodes.size());
  std::vector<std::pair<int, int>> stack{{root, -1}};  // a node and its parent's new index
  while (!stack.empty()) {
    const auto [v, parent] = stack.back();
    stack.pop_back();
    const int index = static_cast<int>(tree.nodes.size());
    tree.nodes.push_back(NewickNode{nodes[v].name, nodes[v].length, parent, {}});
    if (parent >= 0) tree.nodes[parent].children.push_back(index);
    for (auto child = nodes[v].children.rbegin(); child != nodes[v].children.rend(); ++child) stack.emplace_back(*child, index);
  }
  return tree;
}

}  // namespace

Result<NewickTree> RootAtMidpoint(const NewickTree& tree) {
  for (std::size_t v = 1; v < tree.nodes.size(); ++v) {
    if (!tree.nodes[v].length) {
      return Failure{"The tree has no midpoint to root at: " + BranchName(tree, v) + " has no length."};
    }
  }
  const FarthestPair pair = FindFarthestPair(tree);
  if (pair.first < 0) return tree;
  const Midpoint midpoint = FindMidpoint(tree, PathBetween(tree, pair.first, pair.second), pair.length / 2);

  std::vector<NewickNode> nodes = tree.nodes;
  const int below = midpoint.below;
  const int above = nodes[below].parent;
  const Real length = static_cast<Real>(*nodes[below].length);
  int root = -1;
  if (midpoint.fromBelow == 0 && !nodes[below].IsTip()) {
    root = below;
  } else if (midpoint.fromBelow == length) {
    root = above;
  } else {
    // A new node splits the branch; the label of its split stays below.
    root = static_cast<int>(nodes.size());
    nodes.push_back(NewickNode{"", static_cast<double>(length - midpoint.fromBelow), above, {below}});
    auto& siblings = nodes[above].children;
    *std::find(siblings.begin(), siblings.end(), below) = root;
    nodes[below].parent = root;
    nodes[below].length = static_cast<double>(midpoint.fromBelow);
  }
  TurnRoundTo(nodes, root);
  return InTextOrder(nodes, root);
}

}  // namespace vorn
