#include "trees/tree_support.h"

#include <algorithm>
#include <unordered_set>

#include "core/number_format.h"
#include "core/progress.h"
#include "trees/cluster_table.h"
#include "trees/consensus_tree.h"
#include "trees/newick_writer.h"

namespace vorn {
namespace {

// The bit set of every node over the tips of names, in one block of words per node; nodes come
// in text order, so every child follows its parent and a backward pass fills parents last.
// Splits are kept as the side without the first tip; the trivial ones are marked.
class NodeSets {
 public:
  NodeSets(const NewickTree& tree, const std::vector<long>& tipOtus, std::size_t otuCount, TreeComparison comparison)
      : words_((otuCount + 63) / 64), bits_(tree.nodes.size() * words_, 0), trivial_(tree.nodes.size(), false) {
    const auto& nodes = tree.nodes;
    std::size_t tip = 0;
    for (std::size_t v = 0; v < nodes.size(); ++v) {
      if (!nodes[v].IsTip()) continue;
      const auto otu = static_cast<std::size_t>(tipOtus[tip++]);
      bits_[v * words_ + otu / 64] |= std::uint64_t{1} << (otu % 64);
    }
    for (std::size_t v = nodes.size(); v-- > 1;) {
      const std::size_t parent = static_cast<std::size_t>(nodes[v].parent);
      for (std::size_t w = 0; w < words_; ++w) bits_[parent * words_ + w] |= bits_[v * words_ + w];
    }
    if (comparison == TreeComparison::Splits) {
      for (std::size_t v = 0; v < nodes.size(); ++v) {
        std::vector<std::uint64_t> side = Of(v);
        trivial_[v] = !ToSplitSide(side, otuCount);
        std::copy(side.begin(), side.end(), bits_.begin() + static_cast<std::ptrdiff_t>(v * words_));
      }
    }
  }

  bool Trivial(std::size_t node) const { return trivial_[node]; }

  std::vector<std::uint64_t> Of(std::size_t node) const {
    const auto first = bits_.begin() + static_cast<std::ptrdiff_t>(node * words_);
    return {first, first + static_cast<std::ptrdiff_t>(words_)};
  }

 private:
  std::size_t words_;
  std::vector<std::uint64_t> bits_;
  std::vector<bool> trivial_;
};

// The OTU of each tip of tree in text order, or the refusal naming the first tip that differs.
Result<std::vector<long>> TipOtus(const NewickTree& tree, const OtuNames& names, const std::string& which) {
  std::vector<long> otus;
  std::vector<bool> seen(names.Count(), false);
  for (int tip : tree.Tips()) {
    const std::string& name = tree.nodes[static_cast<std::size_t>(tip)].name;
    const long otu = names.Find(name);
    if (otu < 0) return Failure{which + " holds the tip \"" + name + "\", which the reference tree does not."};
    if (seen[static_cast<std::size_t>(otu)]) return Failure{which + " holds the tip \"" + name + "\" twice."};
    seen[static_cast<std::size_t>(otu)] = true;
    otus.push_back(otu);
  }
  for (std::size_t otu = 0; otu < seen.size(); ++otu) {
    if (!seen[otu]) return Failure{which + " lacks the tip \"" + names.All()[otu] + "\" of the reference tree."};
  }
  return otus;
}

// Counts the inner nodes of a tree below its root but its trivial splits.
void CountTree(const NewickTree& tree, const NodeSets& sets, ClusterTable& table) {
  table.BeginTree();
  for (std::size_t v = 1; v < tree.nodes.size(); ++v) {
    if (!tree.nodes[v].IsTip() && !sets.Trivial(v)) (void)table.Count(sets.Of(v));
  }
}

}  // namespace

Result<TreeSupport> CountSupport(NewickTree reference, const std::vector<std::string>& replicates,
                                 TreeComparison comparison, std::string_view replicateSource) {
  std::vector<std::string> tipNames;
  for (int tip : reference.Tips()) tipNames.push_back(reference.nodes[static_cast<std::size_t>(tip)].name);
  const OtuNames names(tipNames);
  auto referenceOtus = TipOtus(reference, names, "The reference tree");
  if (!referenceOtus) return Failure{referenceOtus.error()};

  // The reference's own clusters come first, so the table always has room for them; each then
  // counts one tree more than the replicates that hold it.
  ClusterTable table;
  const NodeSets referenceSets(reference, *referenceOtus, names.Count(), comparison);
  CountTree(reference, referenceSets, table);
  TreeSupport support;
  for (std::size_t k = 0; k < replicates.size(); ++k) {
    KeepResponsive();
    const std::string which = "Tree " + std::to_string(k + 1) + " of " + std::string(replicateSource);
    auto tree = ReadNewick(replicates[k]);
    if (!tree) return Failure{which + ": " + tree.error()};
    if (*tree == reference) {
      ++support.referenceCopies;
      continue;
    }
    auto otus = TipOtus(*tree, names, which);
    if (!otus) return Failure{otus.error()};
    CountTree(*tree, NodeSets(*tree, *otus, names.Count(), comparison), table);
    ++support.treeCount;
  }
  if (support.treeCount == 0 && support.referenceCopies > 0) {
    return Failure{"Every tree of " + std::string(replicateSource) +
                   " is the reference tree itself: there are no replicate trees to count."};
  }

  support.comparison = comparison;
  support.counts.assign(reference.nodes.size(), 0);
  support.trivial.assign(reference.nodes.size(), false);
  for (std::size_t v = 1; v < reference.nodes.size(); ++v) {
    if (reference.nodes[v].IsTip()) continue;
    if (referenceSets.Trivial(v)) {
      support.trivial[v] = true;
      continue;
    }
    const long position = table.Position(referenceSets.Of(v));
    support.counts[v] = table.Clusters()[static_cast<std::size_t>(position)].count - 1;
  }
  support.reference = std::move(reference);
  return support;
}

std::string SupportTreeText(const TreeSupport& support) {
  const auto& nodes = support.reference.nodes;
  std::string text;
  // A walk from the root; each frame is an open inner node and its next child.
  struct Frame {
    std::size_t node;
    std::size_t next;
  };
  const auto close = [&](std::size_t v) {
    text += ')';
    if (v != 0 && !support.trivial[v]) text += std::to_string(ClusterPercentage(support.counts[v], support.treeCount));
  };
  const auto appendLength = [&](std::size_t v) {
    if (nodes[v].length) text += ':' + FormatReal(static_cast<Real>(*nodes[v].length));
  };
  std::vector<Frame> open{{0, 0}};
  text += '(';
  while (!open.empty()) {
    Frame& top = open.back();
    const NewickNode& node = nodes[top.node];
    if (top.next == node.children.size()) {
      const std::size_t closed = top.node;
      close(closed);
      open.pop_back();
      if (!open.empty()) appendLength(closed);
      continue;
    }
    if (top.next != 0) text += ", ";
    const auto child = static_cast<std::size_t>(node.children[top.next++]);
    if (nodes[child].IsTip()) {
      text += NewickName(nodes[child].name);
      appendLength(child);
    } else {
      text += '(';
      open.push_back({child, 0});
    }
  }
  text += NewickName(support.reference.Root().name);
  text += "; ";
  return text;
}

SupportClasses ClassifySupport(const TreeSupport& support) {
  SupportClasses classes;
  const auto& nodes = support.reference.nodes;
  const std::uint64_t trees = support.treeCount;
  for (std::size_t v = 1; v < nodes.size(); ++v) {
    if (nodes[v].IsTip() || support.trivial[v]) continue;
    ++classes.nodes;
    const std::uint64_t percent100 = std::uint64_t{100} * support.counts[v];
    if (percent100 >= 95 * trees) ++classes.atLeast95;
    if (percent100 >= 70 * trees) ++classes.atLeast70;
    if (percent100 >= 50 * trees) ++classes.atLeast50;
  }
  return classes;
}

}  // namespace vorn
