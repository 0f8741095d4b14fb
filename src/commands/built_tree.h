// Keeping the tree a tree command wrote, with the matrix it came from, so that the cophenetic
// correlation can set the two side by side later.
#pragma once

#include <string>

#include "core/workspace.h"

namespace vorn {

inline void RememberTree(Workspace& ws, const DistanceMatrix& active, std::string newick) {
  ws.lastTree = BuiltTree{std::move(newick), active, ws.settings.similarity.transformation, ws.results.activeName};
}

}  // namespace vorn
