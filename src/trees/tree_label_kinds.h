// The labels of a list of trees, by the analysis that made them: a replicate analysis numbers its
// trees (BSJaccard1, BSJaccard2, ...), so a label without its closing digits names the analysis.
// A list that mixes analyses (the UPGMA tree of a matrix before its bootstrap trees) is worth a
// warning before its trees are counted alike.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// The root label of a tree text: what follows the last ")" before the ";", blanks and a branch
// length left out; "" when there is none.
std::string TreeLabel(std::string_view treeText);

struct LabelKind {
  std::string stem;    // the label without its closing digits
  std::uint32_t trees = 0;
  std::string first, last;  // the first and the last label of the kind, in list order
};

// The kinds in the order of their first tree.
std::vector<LabelKind> LabelKinds(const std::vector<std::string>& trees);

// The warning for the trees of fileName when they are of more than one kind, else "":
// "The trees of outtree.ph come from different analyses: 1 tree labelled StdJaccard, 100 trees
// labelled BSJaccard1 to BSJaccard100. ..."
std::string MixedLabelsWarning(const std::vector<std::string>& trees, std::string_view fileName);

}  // namespace vorn
