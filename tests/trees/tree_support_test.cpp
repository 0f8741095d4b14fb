#include "trees/tree_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "support/temp_dir.h"
#include "trees/cophenetic.h"
#include "trees/neighbor_joining.h"
#include "trees/newick_writer.h"
#include "trees/random_distances.h"
#include "trees/tree_peers.h"
#include "trees/upgma.h"

namespace vorn {
namespace {

using testing::DistanceKind;

NewickTree Read(const std::string& text) { return *ReadNewick(text); }

TEST(TreeSupport, CountsClustersOrSplitsAndLabelsTheReference) {
  const NewickTree reference = Read("((A:1,B:1)50:1, (C:1,D:1):1, E:2)NJx;");
  const std::vector<std::string> replicates = {"((A,B),(C,D),E);", "((A,C),(B,D),E);", "(((A,B),E),C,D);", "(E,D,(C,(A,B)));"};
  EXPECT_EQ(NaturalComparison(reference), TreeComparison::Splits);
  auto splits = CountSupport(reference, replicates, TreeComparison::Splits, "reps.ph");
  ASSERT_TRUE(splits.ok()) << splits.error();
  // {A,B} in trees 1, 3, 4; the split {C,D} | {A,B,E} in tree 1 and, unrooted, tree 3.
  EXPECT_EQ(SupportTreeText(*splits), "((A:1.000000000, B:1.000000000)75:1.000000000, (C:1.000000000, D:1.000000000)50:1.000000000, E:2.000000000)NJx; ");
  auto clusters = CountSupport(reference, replicates, TreeComparison::Clusters, "reps.ph");
  EXPECT_EQ(SupportTreeText(*clusters), "((A:1.000000000, B:1.000000000)75:1.000000000, (C:1.000000000, D:1.000000000)25:1.000000000, E:2.000000000)NJx; ");
  const SupportClasses classes = ClassifySupport(*clusters);
  EXPECT_EQ(classes.nodes, 2u);
  EXPECT_EQ(classes.atLeast70, 1u);
  EXPECT_EQ(classes.atLeast50, 1u);
  EXPECT_EQ(classes.atLeast95, 0u);
}

TEST(TreeSupport, RefusesReplicatesWhoseTipsDiffer) {
  const NewickTree reference = Read("((A,B),C);");
  EXPECT_EQ(CountSupport(reference, {"((A,B),C);", "((A,X),C);"}, TreeComparison::Clusters, "r.ph").error(),
            "Tree 2 of r.ph holds the tip \"X\", which the reference tree does not.");
  EXPECT_EQ(CountSupport(reference, {"(A,B);"}, TreeComparison::Clusters, "r.ph").error(),
            "Tree 1 of r.ph lacks the tip \"C\" of the reference tree.");
}

TEST(TreeSupport, TrivialSplitsCarryNoLabel) {
  // Unrooted, the node (A,B,C) is the split D | A B C, which every tree holds.
  const NewickTree reference = Read("((A:1,B:1,C:1):1,D:1)R;");
  auto support = CountSupport(reference, {"(A,B,(C,D));", "((A,B,C),D);", "(A,(B,C),D);"}, TreeComparison::Splits, "r.ph");
  ASSERT_TRUE(support.ok()) << support.error();
  EXPECT_EQ(SupportTreeText(*support), "((A:1.000000000, B:1.000000000, C:1.000000000):1.000000000, D:1.000000000)R; ");
  EXPECT_EQ(ClassifySupport(*support).nodes, 0u);
  // Rooted, the same node is a cluster, found in one of the three trees.
  auto clusters = CountSupport(reference, {"(A,B,(C,D));", "((A,B,C),D);", "(A,(B,C),D);"}, TreeComparison::Clusters, "r.ph");
  EXPECT_EQ(SupportTreeText(*clusters), "((A:1.000000000, B:1.000000000, C:1.000000000)33:1.000000000, D:1.000000000)R; ");
}

TEST(TreeSupport, LeavesOutTheReferenceTreeAmongItsReplicates) {
  const std::string referenceText = "((A:0.1, B:0.1):0.05, C:0.15)StdJaccard; ";
  const NewickTree reference = Read(referenceText);
  // The UPGMA tree of a matrix first, then its bootstrap trees, as one tree file holds them.
  auto support = CountSupport(reference, {"((A:0.1,B:0.1):0.05,C:0.15)StdJaccard;", "((A,B),C)BSJaccard1;", "((A,C),B)BSJaccard2;"},
                              TreeComparison::Clusters, "outtree.ph");
  ASSERT_TRUE(support.ok()) << support.error();
  EXPECT_EQ(support->referenceCopies, 1u);
  EXPECT_EQ(support->treeCount, 2u);
  EXPECT_EQ(SupportTreeText(*support), "((A:0.100000000, B:0.100000000)50:0.050000000, C:0.150000000)StdJaccard; ");
  // A replicate of the same groups but other lengths or label is a replicate.
  EXPECT_EQ(CountSupport(reference, {"((A:0.1,B:0.1):0.05,C:0.15)BSJaccard1;"}, TreeComparison::Clusters, "r.ph")->treeCount, 1u);
  EXPECT_EQ(CountSupport(reference, {referenceText}, TreeComparison::Clusters, "outtree.ph").error(),
            "Every tree of outtree.ph is the reference tree itself: there are no replicate trees to count.");
}

LabelTable Names(std::size_t n) {
  LabelTable labels;
  for (std::size_t i = 0; i < n; ++i) labels.Add("t" + std::to_string(i + 1));
  return labels;
}

// A reference UPGMA tree and replicate trees of the same distances with noise added.
struct TreeSet {
  std::string reference;
  std::vector<std::string> replicates;
};
TreeSet NoisyTrees(std::size_t n, std::size_t count, bool neighborJoining, std::mt19937& random) {
  const DistanceMatrix d = testing::RandomDistances(n, DistanceKind::Continuous, random);
  const auto build = [&](const DistanceMatrix& m) {
    return neighborJoining ? TreeToNewick(BuildNeighborJoining(m, Names(n))->table, "ref")
                           : TreeToNewick(*BuildUPGMA(m, Names(n)), "ref");
  };
  TreeSet set{build(d), {}};
  std::uniform_real_distribution<double> noise(0, 0.6);
  for (std::size_t k = 0; k < count; ++k) {
    DistanceMatrix noisy = d;
    for (Real& v : noisy.entries) v += noise(random);
    for (std::size_t i = 0; i < n; ++i) noisy(i, i) = 0;
    set.replicates.push_back(build(noisy));
  }
  return set;
}

// The tips below each inner node but the root, sorted and joined by ",".
std::vector<std::string> NodeTips(const NewickTree& tree) {
  std::vector<std::string> sets;
  for (std::size_t v = 1; v < tree.nodes.size(); ++v) {
    if (tree.nodes[v].IsTip()) continue;
    std::vector<std::string> tips;
    std::vector<std::size_t> open{v};
    while (!open.empty()) {
      const std::size_t u = open.back();
      open.pop_back();
      if (tree.nodes[u].IsTip()) tips.push_back(tree.nodes[u].name);
      for (int c : tree.nodes[u].children) open.push_back(static_cast<std::size_t>(c));
    }
    std::sort(tips.begin(), tips.end());
    std::string text;
    for (const std::string& tip : tips) text += (text.empty() ? "" : ",") + tip;
    sets.push_back(text);
  }
  return sets;
}

TEST(TreeSupport, SplitsEqualAPlainSplitCount) {
  std::mt19937 random(11);
  const TreeSet set = NoisyTrees(12, 40, true, random);
  auto support = CountSupport(Read(set.reference), set.replicates, TreeComparison::Splits, "r");
  ASSERT_TRUE(support.ok()) << support.error();
  // A split as the sorted side without t1.
  const auto side = [](const std::string& tips, std::size_t n) {
    std::set<std::string> in;
    for (std::size_t start = 0; start <= tips.size();) {
      const std::size_t end = std::min(tips.find(',', start), tips.size());
      in.insert(tips.substr(start, end - start));
      start = end + 1;
    }
    if (!in.count("t1")) return in;
    std::set<std::string> out;
    for (std::size_t i = 1; i <= n; ++i) {
      if (!in.count("t" + std::to_string(i))) out.insert("t" + std::to_string(i));
    }
    return out;
  };
  const NewickTree reference = Read(set.reference);
  const std::vector<std::string> referenceSets = NodeTips(reference);
  std::size_t node = 0;
  for (std::size_t v = 1; v < reference.nodes.size(); ++v) {
    if (reference.nodes[v].IsTip()) continue;
    std::uint32_t count = 0;
    for (const std::string& replicate : set.replicates) {
      bool found = false;
      for (const std::string& tips : NodeTips(Read(replicate))) found = found || side(tips, 12) == side(referenceSets[node], 12);
      count += found;
    }
    EXPECT_EQ(support->counts[v], count) << referenceSets[node];
    ++node;
  }
}

TEST(TreeSupport, ClustersEqualApePropClades) {
  REQUIRE_APE();
  std::mt19937 random(5);
  const TreeSet set = NoisyTrees(25, 60, false, random);
  testing::TempDir dir;
  std::ofstream(dir.File("ref.tre")) << set.reference << "\n";
  std::ofstream reps(dir.File("reps.tre"));
  for (const std::string& tree : set.replicates) reps << tree << "\n";
  reps.close();
  int status = 0;
  const std::string output = testing::RunApe("clades " + dir.File("ref.tre") + " " + dir.File("reps.tre"), status);
  ASSERT_EQ(status, 0) << output;
  auto support = CountSupport(Read(set.reference), set.replicates, TreeComparison::Clusters, "r");
  ASSERT_TRUE(support.ok());
  const std::vector<std::string> sets = NodeTips(support->reference);
  std::map<std::string, std::string> ours;
  std::size_t node = 0;
  for (std::size_t v = 1; v < support->reference.nodes.size(); ++v) {
    if (!support->reference.nodes[v].IsTip()) ours[sets[node++]] = std::to_string(support->counts[v]);
  }
  std::istringstream lines(output);
  std::string tips, count;
  std::size_t compared = 0;
  while (lines >> tips >> count) {
    EXPECT_EQ(ours[tips], count == "NA" ? "0" : count) << tips;  // ape gives NA for a clade no tree holds
    ++compared;
  }
  EXPECT_EQ(compared, ours.size());
}

TEST(CopheneticCorrelation, EqualsRsCorrelationOfTheWrittenTree) {
  REQUIRE_APE();
  std::mt19937 random(3);
  testing::TempDir dir;
  for (const bool neighborJoining : {false, true}) {
    const std::size_t n = 25;
    DistanceMatrix d = testing::RandomDistances(n, DistanceKind::Continuous, random);
    for (Real& v : d.entries) v = static_cast<double>(v);
    const std::string text = neighborJoining ? TreeToNewick(BuildNeighborJoining(d, Names(n))->table, "NJ")
                                             : TreeToNewick(*BuildUPGMA(d, Names(n)), "UPGMA");
    auto paths = PathDistances(Read(text), Names(n));
    ASSERT_TRUE(paths.ok()) << paths.error();
    const Real r = PearsonOverPairs(d, *paths);
    testing::WriteMatrixCsv(dir.File("d.csv"), d, Names(n));
    std::ofstream(dir.File("t.tre")) << text << "\n";
    int status = 0;
    const std::string output = testing::RunApe("cophenetic " + dir.File("d.csv") + " " + dir.File("t.tre"), status);
    ASSERT_EQ(status, 0) << output;
    EXPECT_NEAR(static_cast<double>(r), std::stod(output), 1e-12) << text;
  }
}

TEST(CopheneticCorrelation, PathDistancesNameMissingTips) {
  EXPECT_EQ(PathDistances(Read("((A:1,B:1):1,C:2);"), LabelTable({"A", "B", "D"})).error(),
            "The tree's tip \"C\" is not an individual of the matrix.");
  auto paths = PathDistances(Read("((A:1,B:1):1,C:2);"), LabelTable({"C", "A", "B"}));
  EXPECT_EQ((*paths)(1, 2), 2);
  EXPECT_EQ((*paths)(0, 1), 4);
}

}  // namespace
}  // namespace vorn
