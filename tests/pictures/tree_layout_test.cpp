#include "pictures/tree_layout.h"

#include <gtest/gtest.h>

#include "pictures/picture_scenes.h"

namespace vorn {
namespace {

NewickTree Read(const char* text) {
  auto tree = ReadNewick(text);
  EXPECT_TRUE(tree) << tree.error();
  return std::move(*tree);
}

int NodeNamed(const NewickTree& tree, const std::string& name) {
  for (std::size_t i = 0; i < tree.nodes.size(); ++i) {
    if (tree.nodes[i].name == name) return static_cast<int>(i);
  }
  ADD_FAILURE() << "no node " << name;
  return 0;
}

TEST(TreeLayout, TipsTakeTheRowsInNewickOrder) {
  const NewickTree tree = Read("((Ri07,Ri09)100,(Ka03,(Ka08,Mo01)70,Ka05)100,Mo04)100;");
  const TreeLayout layout = LayOutTree(tree).value();
  const char* order[] = {"Ri07", "Ri09", "Ka03", "Ka08", "Mo01", "Ka05", "Mo04"};
  ASSERT_EQ(layout.tips.size(), std::size(order));
  for (std::size_t row = 0; row < std::size(order); ++row) {
    EXPECT_EQ(tree.nodes[layout.tips[row]].name, order[row]);
    EXPECT_EQ(layout.nodes[layout.tips[row]].y, static_cast<double>(row));
  }
}

TEST(TreeLayout, EveryNodeSitsAtItsHeightFromTheRoot) {
  // UPGMA's line: C joins (A, B) at 0.15, A and B join at 0.10.
  const NewickTree tree = Read("(C:0.150000000, (A:0.100000000, B:0.100000000):0.050000000)StdJaccard; ");
  const TreeLayout layout = LayOutTree(tree).value();
  EXPECT_TRUE(layout.toScale);
  EXPECT_DOUBLE_EQ(layout.nodes[0].x, 0);
  EXPECT_DOUBLE_EQ(layout.nodes[2].x, 0.05);  // the (A, B) node
  for (const char* tip : {"A", "B", "C"}) EXPECT_DOUBLE_EQ(layout.nodes[NodeNamed(tree, tip)].x, 0.15) << tip;
  EXPECT_DOUBLE_EQ(layout.right, 0.15);
  EXPECT_DOUBLE_EQ(layout.scaleBar, 0.02);  // a round length below a quarter of 0.15
}

TEST(TreeLayout, InnerNodesStandMidwayBetweenTheirOuterChildren) {
  const NewickTree tree = Read("((A:1,B:1,C:1,D:1):1,E:2);");
  const TreeLayout layout = LayOutTree(tree).value();
  EXPECT_DOUBLE_EQ(layout.nodes[1].y, 1.5);  // four children on rows 0 to 3
  EXPECT_DOUBLE_EQ(layout.nodes[0].y, (1.5 + 4) / 2);
  EXPECT_DOUBLE_EQ(layout.nodes[1].x, 1);
}

TEST(TreeLayout, ZeroLengthBranchesKeepTheChildAtItsParent) {
  const NewickTree tree = Read("((A:0,B:0.2):0,C:0.3);");
  const TreeLayout layout = LayOutTree(tree).value();
  EXPECT_DOUBLE_EQ(layout.nodes[1].x, 0);
  EXPECT_DOUBLE_EQ(layout.nodes[NodeNamed(tree, "A")].x, 0);
  EXPECT_DOUBLE_EQ(layout.nodes[NodeNamed(tree, "B")].x, 0.2);
  EXPECT_DOUBLE_EQ(layout.nodes[NodeNamed(tree, "B")].y, 1);
}

TEST(TreeLayout, TreesWithoutLengthsAreCladogramsWithAlignedTips) {
  const NewickTree tree = Read("(((Dd,Ee)100,(Aa,Bb)100)80,Cc)100;");
  const TreeLayout layout = LayOutTree(tree).value();
  EXPECT_FALSE(layout.toScale);
  EXPECT_EQ(layout.scaleBar, 0);
  for (int tip : layout.tips) EXPECT_EQ(layout.nodes[tip].x, 3) << tree.nodes[tip].name;
  EXPECT_EQ(layout.nodes[NodeNamed(tree, "80")].x, 1);
  // The consensus percentages stay with the groups they count.
  const auto& eighty = tree.nodes[NodeNamed(tree, "80")];
  EXPECT_EQ(tree.nodes[tree.nodes[eighty.children[0]].children[0]].name, "Dd");
  EXPECT_EQ(tree.nodes[eighty.children[1]].name, "100");
}

TEST(TreeLayout, TreeScenesNameTheTreeAndRefuseMissingOnes) {
  const std::vector<std::string> lines = {"((A:1,B:1):1,C:2)StdJaccard;", "((A,C),B)R0.0;"};
  const auto first = MakeTreeScene(lines, 1, "outtree.ph", {}, 1);
  ASSERT_TRUE(first) << first.error();
  EXPECT_EQ(first->title, "outtree.ph: tree 1 of 2, StdJaccard");
  EXPECT_EQ(first->layout.tips.size(), 3u);
  const auto third = MakeTreeScene(lines, 3, "outtree.ph", {}, 1);
  ASSERT_FALSE(third);
  EXPECT_EQ(third.error(), "The file outtree.ph holds 2 trees; there is no tree 3.");
  const auto broken = MakeTreeScene({"((A,B);"}, 1, "x.ph", {}, 0);
  ASSERT_FALSE(broken);
  EXPECT_EQ(broken.error(), "Tree 1 of x.ph: The tree text holds a \"(\" without its \")\" (character 7).");
}

TEST(TreeLayout, TreesWhoseHeightsOrWidthOverflowAreRefused) {
  const std::string refused = "Tree 1 of x.ph: The branch lengths add up to node heights beyond the largest number, "
                              "so the tree cannot be drawn.";
  // Each height of the second tree is finite, its width is not; the third stays within range.
  const std::pair<const char*, std::string> cases[] = {
      {"((A:1e308):1e308,B:1);", refused}, {"(A:1e308,B:-1e308);", refused}, {"(A:1e308,B:1e308);", ""}};
  for (const auto& [line, error] : cases) {
    const auto scene = MakeTreeScene({line}, 1, "x.ph", {}, 0);
    EXPECT_EQ(scene ? std::string() : scene.error(), error) << line;
  }
}

}  // namespace
}  // namespace vorn
