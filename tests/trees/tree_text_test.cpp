#include "trees/tree_text.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace vorn {
namespace {

const char* kExample = "(C:0.150000000, (A:0.100000000, B:0.100000000):0.050000000)StdJaccard; ";

TEST(NormaliseTreeText, DropsBlanksNulsAndBranchLengths) {
  EXPECT_EQ(NormaliseTreeText(kExample), "(C,(A,B))StdJaccard;");
  EXPECT_EQ(NormaliseTreeText(std::string("(a:1:2,\0b : 3e-5)x:7;", 21)), "(a,b)x;");
  EXPECT_EQ(NormaliseTreeText("(a,b):0.5"), "(a,b)");
}

TEST(ExtractOTUNames, NamesInOrderOfAppearanceWithoutTheRootLabel) {
  EXPECT_EQ(ExtractOTUNames(kExample), (std::vector<std::string>{"C", "A", "B"}));
  EXPECT_EQ(ExtractOTUNames("((A,B)75,C)100;"), (std::vector<std::string>{"A", "B", "75", "C"}));
  EXPECT_EQ(ExtractOTUNames("(((x,,y)),z)"), (std::vector<std::string>{"x", "y", "z"}));
  EXPECT_EQ(ExtractOTUNames("(a-name-longer-than-twenty,b);"), (std::vector<std::string>{"a-name-longer-than-t", "b"}));
  EXPECT_TRUE(ExtractOTUNames("").empty());
}

TEST(ReadTreeList, TrimsOneBlankAtEachEndSkipsEmptyLinesAndStopsAtStar) {
  testing::TempDir dir;
  const std::string file = dir.Write("trees.ph", std::string("(A,B); \r\n\r\n  (B,A);\n\0(A,C);\0\r*\n(C,A);\n", 38));
  auto trees = ReadTreeList(file);
  ASSERT_TRUE(trees.ok());
  EXPECT_EQ(*trees, (std::vector<std::string>{"(A,B);", " (B,A);", "(A,C);"}));
  EXPECT_FALSE(ReadTreeList(dir.File("none.ph")).ok());
}

}  // namespace
}  // namespace vorn
