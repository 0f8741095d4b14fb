#include "trees/midpoint_root.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>

#include "support/temp_dir.h"
#include "trees/neighbor_joining.h"
#include "trees/newick_writer.h"
#include "trees/random_distances.h"

namespace vorn {
namespace {

std::string Text(const NewickTree& tree, int v = 0) {
  const NewickNode& node = tree.nodes[v];
  std::ostringstream text;
  for (std::size_t i = 0; i < node.children.size(); ++i) text << (i ? "," : "(") << Text(tree, node.children[i]);
  text << (node.IsTip() ? "" : ")") << node.name;
  if (node.length) text << ":" << *node.length;
  return text.str() + (v == 0 ? ";" : "");
}

TEST(MidpointRoot, RootsHalfwayBetweenTheFarthestTipsAndLabelsFollowTheirSplits) {
  const struct {
    const char* tree;
    const char* rooted;
  } cases[] = {
      // Unrooted: the midpoint on D's branch; the tip order is the old one turned round.
      {"(C:0.15,(A:0.1,B:0.12)80:0.05,D:0.3)NJx;", "(D:0.235,(C:0.15,(A:0.1,B:0.12)80:0.05):0.065)NJx;"},
      // A and B tie with E; A comes first. 70 ({D,E}) and 60 ({C,D,E}) move to the nodes whose
      // groups are now the other sides of those splits.
      {"((A:1,B:1)90:1,(C:1,(D:1,E:5)70:1)60:1,F:1)NJ;", "(E:4.5,(((F:1,(A:1,B:1)90:1)60:1,C:1)70:1,D:1):0.5)NJ;"},
      // A rooted tree's root, left with one child, is dissolved into one branch.
      {"((A:1,B:1)80:1,(C:1,D:7)50:1)x;", "(D:5,((A:1,B:1)80:2,C:1):2)x;"},
      // The midpoint on an inner node makes it the root.
      {"(A:1,(B:1,C:3):1,D:2)m;", "(B:1,C:3,(D:2,A:1):1)m;"},
      {"((A:1,B:1):1,C:2);", "((A:1,B:1):1,C:2);"},
  };
  for (const auto& c : cases) {
    const auto rooted = RootAtMidpoint(*ReadNewick(c.tree));
    ASSERT_TRUE(rooted) << rooted.error();
    EXPECT_EQ(Text(*rooted), c.rooted) << c.tree;
  }
  EXPECT_EQ(RootAtMidpoint(*ReadNewick("((A,B),C);")).error(),
            "The tree has no midpoint to root at: the branch to the group of the tip \"A\" has no length.");
}

// Every group below the root (its tips) with the length of its branch.
std::map<std::set<std::string>, double> Groups(const NewickTree& tree) {
  std::vector<std::set<std::string>> tips(tree.nodes.size());
  std::map<std::set<std::string>, double> groups;
  for (std::size_t v = tree.nodes.size(); v-- > 1;) {
    if (tree.nodes[v].IsTip()) tips[v] = {tree.nodes[v].name};
    groups[tips[v]] = tree.nodes[v].length.value_or(NAN);
    tips[tree.nodes[v].parent].insert(tips[v].begin(), tips[v].end());
  }
  return groups;
}

TEST(MidpointRoot, EqualsDendroPyOnRandomNeighborJoiningTrees) {
  if (std::system("/usr/bin/python3 -c 'import dendropy' >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "DendroPy not installed (apt-get install python3-dendropy); skipped";
  }
  std::mt19937 random(24);
  testing::TempDir dir;
  std::vector<std::string> trees;
  for (std::size_t n = 3; n <= 60; n += 1 + n / 8) {
    LabelTable labels;
    for (std::size_t i = 0; i < n; ++i) labels.Add("t" + std::to_string(i + 1));
    const auto nj = BuildNeighborJoining(testing::RandomDistances(n, testing::DistanceKind::Continuous, random), labels);
    trees.push_back(TreeToNewick(nj->table, "NJ"));
  }
  std::ofstream file(dir.File("nj.ph"));
  for (const auto& tree : trees) file << tree << "\n";
  file.close();
  const std::string command = "/usr/bin/python3 " + std::string(VORN_TEST_DATA) + "/peers/midpoint_dendropy.py " +
                              dir.File("nj.ph") + " > " + dir.File("rooted.ph");
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::ifstream peer(dir.File("rooted.ph"));
  std::string line;
  for (const auto& tree : trees) {
    ASSERT_TRUE(std::getline(peer, line));
    const auto ours = Groups(*RootAtMidpoint(*ReadNewick(tree)));
    const auto theirs = Groups(*ReadNewick(line));
    ASSERT_EQ(ours.size(), theirs.size()) << tree << "\n" << line;
    for (const auto& [group, length] : ours) {
      ASSERT_TRUE(theirs.count(group)) << tree << "\n" << line;
      EXPECT_NEAR(length, theirs.at(group), 1e-9) << tree << "\n" << line;
    }
  }
}

}  // namespace
}  // namespace vorn
