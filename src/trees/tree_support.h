// Bootstrap support on a reference tree (Felsenstein 1985): for every inner node, the share of
// replicate trees that hold its cluster (the tips below it, for rooted trees such as UPGMA's) or
// its split (the bipartition its branch makes, for unrooted trees such as neighbor-joining's).
// Clusters and splits are bit sets over the reference's tips, counted in one cluster table, so
// the work grows linearly with the number of trees and nodes. A trivial split (one tip against
// the rest) is held by every tree and carries no support.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"
#include "trees/newick_reader.h"
#include "trees/tree_comparison.h"

namespace vorn {

struct TreeSupport {
  NewickTree reference;
  TreeComparison comparison = TreeComparison::Clusters;
  std::vector<std::uint32_t> counts;  // per reference node: replicates holding its cluster or split
  std::vector<bool> trivial;          // per reference node: its split is trivial (splits only)
  std::uint32_t treeCount = 0;        // replicates counted
  std::uint32_t referenceCopies = 0;  // replicates that are the reference itself, left out
};

// Counts the replicates' support for the inner nodes of the reference. Every replicate must
// hold exactly the reference's tips; the first one that does not is refused, naming the tree
// (its number, from 1, in replicateSource) and the first tip that differs. A replicate that is
// the reference itself (the same tips, groups, lengths and labels: a file of replicates that
// begins with the tree they are to test) is left out and counted in referenceCopies; when no other is left the
// count is refused.
Result<TreeSupport> CountSupport(NewickTree reference, const std::vector<std::string>& replicates,
                                 TreeComparison comparison, std::string_view replicateSource);

// The reference tree with every inner node but the root and the trivial splits labelled with its
// percentage of replicates (rounded, halves to the even neighbour), lengths with 9 decimals, the root's label
// kept: (A:0.100000000, (B:0.050000000, C:0.050000000)87:0.050000000)NJStdJaccard;
std::string SupportTreeText(const TreeSupport& support);

// Inner nodes below the root but the trivial splits, and how many of them reach 95, 70 and 50 %.
struct SupportClasses {
  std::size_t nodes = 0;
  std::size_t atLeast95 = 0, atLeast70 = 0, atLeast50 = 0;
};
SupportClasses ClassifySupport(const TreeSupport& support);

}  // namespace vorn
