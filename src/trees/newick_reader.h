// A Newick tree taken apart into nodes, for the pictures that draw it. The reader keeps its own
// stack instead of recursing, so a tree nested 10,000 levels deep reads like any other. It takes
// what the program writes (branch lengths, a label after the root, consensus percentages and
// R labels after inner groups) and common Newick besides: blanks anywhere, quoted names,
// comments in square brackets.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"

namespace vorn {

struct NewickNode {
  std::string name;               // a tip's name, an inner node's label ("100", "R1.2"), or ""
  std::optional<double> length;   // of the branch to the parent, when the text gives one
  int parent = -1;                // -1 for the root
  std::vector<int> children;      // in the order of the text

  bool IsTip() const { return children.empty(); }
  bool operator==(const NewickNode&) const = default;
};

// Nodes in the order their text starts; the root is node 0 and its name is the tree's label.
struct NewickTree {
  std::vector<NewickNode> nodes;

  const NewickNode& Root() const { return nodes.front(); }
  std::vector<int> Tips() const;  // in the order of the text
  bool operator==(const NewickTree&) const = default;
};

Result<NewickTree> ReadNewick(std::string_view text);

}  // namespace vorn
