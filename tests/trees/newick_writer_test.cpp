#include "trees/newick_writer.h"

#include <gtest/gtest.h>

#include "support/file_failures.h"
#include "support/temp_dir.h"
#include "trees/literal_trees.h"
#include "trees/random_distances.h"
#include "trees/upgma.h"

namespace vorn {
namespace {

TreeNode Record(std::string name, Real length, std::uint16_t parent, std::uint16_t descendants = 0) {
  TreeNode node;
  node.name = std::move(name);
  node.length = length;
  node.node = parent;
  node.descendants = descendants;
  return node;
}

TreeNodeTable ExampleTable() {
  TreeNodeTable table;
  table.Append(Record("B", 0.1L, 3));
  table.Append(Record("A", 0.1L, 3));
  table.Append(Record("Internal", 0.05L, 5, 2));
  table.Append(Record("C", 0.15L, 5));
  table.Append(Record("last node", 0, 0, 2));
  return table;
}

TEST(TreeToNewick, WritesChildrenFromTheHighestRecordDown) {
  EXPECT_EQ(TreeToNewick(ExampleTable(), "StdJaccard"),
            "(C:0.150000000, (A:0.100000000, B:0.100000000):0.050000000)StdJaccard; ");
}

TEST(TreeToNewick, TwoOtusAndAnEmptyLabel) {
  TreeNodeTable table;
  table.Append(Record("A", 0.25L, 3));
  table.Append(Record("B", 0.25L, 3));
  table.Append(Record("last node", 0, 0, 2));
  EXPECT_EQ(TreeToNewick(table, ""), "(B:0.250000000, A:0.250000000); ");
}

TEST(TreeToNewick, LabelsAreCutAndNamesMadeReadable) {
  TreeNodeTable table;
  table.Append(Record("exactly-twenty-chars", 0.5L, 3));
  table.Append(Record("pop(1):a,b;c[d]'e", 0.5L, 3));
  table.Append(Record("last node", 0, 0, 2));
  EXPECT_EQ(TreeToNewick(table, "BSAvgSqEuclidean100x12"),
            "(pop_1__a_b_c_d__e:0.500000000, exactly-twenty-chars:0.500000000)BSAvgSqEuclidean100x; ");
  EXPECT_EQ(NewickName("a b\tc"), "a_b_c");
}

TEST(TreeToNewick, EqualsThePlaceholderMethodOnRandomTrees) {
  const unsigned seed = std::random_device()();
  std::mt19937 random(seed);
  for (int round = 0; round < 60; ++round) {
    SCOPED_TRACE("seed " + std::to_string(seed) + ", round " + std::to_string(round));
    const std::size_t n = 2 + random() % 60;
    const auto kind = round % 2 ? testing::DistanceKind::FewLevels : testing::DistanceKind::Continuous;
    auto tree = BuildUPGMA(testing::RandomDistances(n, kind, random), LabelTable());
    ASSERT_TRUE(tree.ok());
    EXPECT_EQ(TreeToNewick(tree.value(), "Avg"), literal::TreeToNewick(tree.value(), "Avg"));
  }
}

TEST(WriteTreeLine, AppendsOrRewritesOneLine) {
  testing::TempDir dir;
  const std::string file = dir.File("outtree.ph");
  ASSERT_TRUE(WriteTreeLine("(B,A);", file, false).ok());
  ASSERT_TRUE(WriteTreeLine("(A,B);", file, false).ok());
  EXPECT_EQ(testing::ReadFile(file), "(B,A);\r\n(A,B);\r\n");
  ASSERT_TRUE(WriteTextLine("((A,B),C);", file, true).ok());
  EXPECT_EQ(testing::ReadFile(file), "((A,B),C);\r\n");
  EXPECT_FALSE(WriteTextLine("x", dir.File("missing/folder.ph"), false).ok());
}

TEST(WriteTreeLine, ARewriteThatFailsKeepsTheOldTrees) {
  testing::TempDir dir;
  const std::string file = dir.Write("outtree.ph", "(B,A);\r\n");
  {
    testing::FileSizeLimit full(4);  // writes fail as on a full disk
    const Status written = WriteTextLine("((A,B),C);", file, true);
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.error(), "Cannot write " + file + ": File too large");
  }
  EXPECT_EQ(testing::ReadFile(file), "(B,A);\r\n");
  EXPECT_EQ(testing::Entries(dir), std::vector<std::string>{"outtree.ph"});
}

}  // namespace
}  // namespace vorn
