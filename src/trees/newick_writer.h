// Newick text of a node table, and the one-line writes that append tree texts to a file.
// The text lists each node's children from the highest record number down, ", " between them,
// every branch length with 9 decimals, no length after the root, then the tree label, ";" and a
// space: (C:0.150000000, (A:0.100000000, B:0.100000000):0.050000000)StdJaccard; 
#pragma once

#include <string>
#include <string_view>

#include "core/result.h"
#include "trees/tree_node.h"

namespace vorn {

// name with every character that Newick reserves ("(", ")", ",", ":", ";", "[", "]", "'") and
// every blank or control character replaced by "_", so that the written tree reads back.
std::string NewickName(std::string_view name);

// The Newick line of a table that holds at least one internal node; the label is cut to 20
// characters.
std::string TreeToNewick(const TreeNodeTable& table, std::string_view label);

// Writes text and CR LF to fileName: appended, or (rewrite) as the whole new file, which replaces
// the old one only when it is written whole.
Status WriteTextLine(std::string_view text, const std::string& fileName, bool rewrite);
inline Status WriteTreeLine(std::string_view text, const std::string& fileName, bool rewrite) {
  return WriteTextLine(text, fileName, rewrite);
}

}  // namespace vorn
