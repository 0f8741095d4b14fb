// What one picture shows, gathered from the workspace and the tree files: a tree of a tree file
// or the last principal coordinate analysis, laid out, with the groups of one level for colours
// and legend. The windows and the script commands build their pictures through these.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/group_lists.h"
#include "core/ordination.h"
#include "core/result.h"
#include "pictures/group_colours.h"
#include "pictures/pcoa_layout.h"
#include "pictures/tree_layout.h"

namespace vorn {

// How a tree is rooted in its picture: as its text has it, or at the midpoint of its longest
// tip-to-tip path (for the picture only; the file keeps the tree as written).
enum class TreeRooting : std::uint8_t { AsWritten, Midpoint };

struct TreeScene {
  NewickTree tree;
  TreeLayout layout;
  GroupColouring colouring;
  std::string title;       // "outtree.ph: tree 1 of 3, StdJaccard"
  bool nodeLabels = true;  // consensus percentages and R labels at their nodes
  unsigned hideSupportBelow = 0;  // percentages below this are left out
  int highlightedTip = -1;  // a node marked behind its label (a tip found by name), or -1
  std::string note;         // why a tree asked for at its midpoint is drawn as written, or ""
};

struct PcoaScene {
  PcoaLayout layout;
  std::vector<std::string> groupNames;  // the legend
  bool pointLabels = false;
};

// The tree lines of a file, with a message that names the file when there are none.
Result<std::vector<std::string>> ReadTreeFile(const std::string& fileName);

// Tree number (from 1) of lines, read from fileName; level 0 colours nothing. A tree without a
// length on every branch has no midpoint: it is drawn as written, and the scene's note says why.
Result<TreeScene> MakeTreeScene(const std::vector<std::string>& lines, std::size_t number, const std::string& fileName,
                                const GroupList& groups, std::size_t level,
                                TreeRooting rooting = TreeRooting::AsWritten);

Result<PcoaScene> MakePcoaScene(const Ordination& result, std::size_t xAxis, std::size_t yAxis, const GroupList& groups,
                                std::size_t level);

// The levels of groups below AllData in a list (0 when there are none).
std::size_t GroupLevels(const GroupList& groups);

}  // namespace vorn
