#include "trees/newick_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vorn {
namespace {

std::vector<std::string> TipNames(const NewickTree& tree) {
  std::vector<std::string> names;
  for (int tip : tree.Tips()) names.push_back(tree.nodes[tip].name);
  return names;
}

TEST(NewickReader, ReadsWhatTheProgramWrites) {
  const auto tree = ReadNewick("(C:0.150000000, (A:0.100000000, B:0.100000000):0.050000000)StdJaccard; ");
  ASSERT_TRUE(tree) << tree.error();
  EXPECT_EQ(TipNames(*tree), (std::vector<std::string>{"C", "A", "B"}));
  EXPECT_EQ(tree->Root().name, "StdJaccard");
  EXPECT_FALSE(tree->Root().length);
  ASSERT_EQ(tree->nodes.size(), 5u);
  EXPECT_DOUBLE_EQ(*tree->nodes[2].length, 0.05);  // the (A, B) group
  EXPECT_EQ(tree->nodes[2].children, (std::vector<int>{3, 4}));
  EXPECT_EQ(tree->nodes[3].parent, 2);
}

TEST(NewickReader, KeepsInnerLabelsAtTheirGroups) {
  // A majority-rule consensus with percentages and an R-support tree with R labels.
  const auto consensus = ReadNewick("(((Dd,Ee)100,(Aa,Bb)100)80,Cc)100;");
  ASSERT_TRUE(consensus);
  EXPECT_EQ(consensus->nodes[1].name, "80");
  EXPECT_EQ(consensus->nodes[2].name, "100");
  EXPECT_EQ(consensus->nodes[consensus->nodes[1].children[1]].children.size(), 2u);
  const auto rsupport = ReadNewick("(((Aa,Bb)R1.2,(Dd,Ee)R0.4)R1.2,Cc)R0.0;");
  ASSERT_TRUE(rsupport);
  EXPECT_EQ(rsupport->nodes[2].name, "R1.2");
  EXPECT_EQ(TipNames(*rsupport), (std::vector<std::string>{"Aa", "Bb", "Dd", "Ee", "Cc"}));
  EXPECT_EQ(rsupport->nodes[5].name, "R0.4");
}

TEST(NewickReader, TakesCommonNewick) {
  struct Case {
    const char* text;
    std::vector<std::string> tips;
  };
  const Case cases[] = {
      {"(A,B,C,D);", {"A", "B", "C", "D"}},
      {" ( A : 1 , B :2e-1 ) ; ", {"A", "B"}},
      {"('one name',B[a comment]);", {"one name", "B"}},
      {"('it''s',B);", {"it's", "B"}},
      {"((A,B),C)", {"A", "B", "C"}},  // no ";"
      {"(,);", {"", ""}},
      {"A;", {"A"}},
  };
  for (const auto& c : cases) {
    const auto tree = ReadNewick(c.text);
    ASSERT_TRUE(tree) << c.text << ": " << tree.error();
    EXPECT_EQ(TipNames(*tree), c.tips) << c.text;
  }
}

TEST(NewickReader, RefusesBrokenTextWithItsReason) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"", "The tree text is empty."},
      {"((A,B),C;", "The tree text holds a \"(\" without its \")\" (character 9)."},
      {"(A,B));", "The tree text holds a \")\" without its \"(\" (character 6)."},
      {"A,B;", "The tree text holds a \",\" outside every parenthesis (character 2)."},
      {"(A:x,B);", "The tree text holds a branch length that is not a number (character 4)."},
      {"(A:1,B:nan);", "The tree text holds a branch length that is not a number (character 8)."},
      {"(A:inf,B:1);", "The tree text holds a branch length that is not a number (character 4)."},
      {"('A,B);", "The tree text holds a quoted name without its closing quote (character 2)."},
      {"(A B,C);", "The tree text holds two names for one node (character 4)."},
      {"(A:1:2,B:1);", "The tree text holds two branch lengths for one node (character 5)."},
      {"(A[,B);", "The tree text holds a \"[\" without its \"]\" (character 3)."},
  };
  for (const auto& c : cases) {
    const auto tree = ReadNewick(c.text);
    ASSERT_FALSE(tree) << c.text;
    EXPECT_EQ(tree.error(), c.message) << c.text;
  }
}

TEST(NewickReader, ReadsTreesTenThousandLevelsDeep) {
  constexpr int kDepth = 10000;
  std::string text;
  for (int i = 0; i < kDepth; ++i) text += "(t" + std::to_string(i) + ",";
  text += "last";
  for (int i = 0; i < kDepth; ++i) text += ":1)";
  text += ";";
  const auto tree = ReadNewick(text);
  ASSERT_TRUE(tree) << tree.error();
  EXPECT_EQ(tree->Tips().size(), static_cast<std::size_t>(kDepth + 1));
  EXPECT_EQ(tree->nodes[tree->Tips().back()].name, "last");
}

}  // namespace
}  // namespace vorn
