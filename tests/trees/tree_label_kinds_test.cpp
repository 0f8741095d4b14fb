#include "trees/tree_label_kinds.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

TEST(TreeLabel, IsWhatFollowsTheRootsGroup) {
  EXPECT_EQ(TreeLabel("(C:0.150000000, (A:0.100000000, B:0.100000000):0.050000000)StdJaccard; "), "StdJaccard");
  EXPECT_EQ(TreeLabel("((A,B)75,C)100;"), "100");
  EXPECT_EQ(TreeLabel("((A,B),C);"), "");
  EXPECT_EQ(TreeLabel("A;"), "");
}

TEST(MixedLabelsWarning, NamesEachAnalysisWithItsTrees) {
  const struct {
    std::vector<std::string> trees;
    std::string warning;
  } cases[] = {
      {{"((A,B),C)BSJaccard1;", "((A,C),B)BSJaccard2;", "((A,B),C)BSJaccard10;"}, ""},
      {{"((A,B),C);", "((A,C),B);"}, ""},
      {{"((A,B),C)StdJaccard;", "((A,B),C)BSJaccard1;", "((A,C),B)BSJaccard2;"},
       "The trees of outtree.ph come from different analyses: 1 tree labelled StdJaccard, 2 trees labelled BSJaccard1 "
       "to BSJaccard2.\r\nThe consensus counts them all alike. To count the trees of one analysis only, keep them in a "
       "file of their own (File > Select File Names)."},
      {{"((A,B),C)AvgJaccard100x1;", "((A,B),C);"},
       "The trees of outtree.ph come from different analyses: 1 tree labelled AvgJaccard100x1, 1 tree without a "
       "label.\r\nThe consensus counts them all alike. To count the trees of one analysis only, keep them in a file of "
       "their own (File > Select File Names)."},
  };
  for (const auto& c : cases) EXPECT_EQ(MixedLabelsWarning(c.trees, "outtree.ph"), c.warning);
}

}  // namespace
}  // namespace vorn
