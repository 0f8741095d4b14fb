// How the inner nodes of trees are compared: as clusters, the tips below a node of a rooted tree
// (UPGMA's), or as splits, the two sides a node's branch cuts an unrooted tree into
// (neighbor-joining's, written with a three-way root). A split is kept as the side that leaves
// out the first tip, so both sides of a branch, and every rooting of the tree, read alike.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "trees/newick_reader.h"

namespace vorn {

enum class TreeComparison : std::uint8_t { Clusters, Splits };

// Splits when the tree's root has three or more children (an unrooted tree written as a
// trifurcation, as neighbor-joining writes it), clusters otherwise.
TreeComparison NaturalComparison(const NewickTree& tree);

// Splits when every tree of the list reads as Newick and has a root of three or more children;
// clusters otherwise, as for every list of UPGMA trees with a two-way root among them.
TreeComparison NaturalComparison(const std::vector<std::string>& trees);

// The number of tips in a bit set of members.
std::size_t MemberCount(const std::vector<std::uint64_t>& members);

// Turns the members of a cluster over otuCount tips (bits past the last tip zero) into the side
// of its split without tip 0. False for a trivial split, whose smaller side holds fewer than two
// tips: every tree holds it, so it is no node to count.
bool ToSplitSide(std::vector<std::uint64_t>& members, std::size_t otuCount);

}  // namespace vorn
