#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>

#include "trees/cluster_report.h"
#include "trees/cluster_table.h"
#include "trees/consensus_tree.h"
#include "trees/literal_trees.h"
#include "trees/newick_writer.h"
#include "trees/random_distances.h"
#include "trees/upgma.h"

namespace vorn {
namespace {

const std::vector<std::string> kFourTrees{"((A,B),C);", "((A,B),C);", "((A,C),B);", "((A,B),C);"};

std::string Bits(const Cluster& cluster, std::size_t n) {
  std::string bits;
  for (std::size_t otu = 0; otu < n; ++otu) bits += cluster.Has(otu) ? '1' : '0';
  return bits;
}

std::vector<std::string> ReportLines(std::string_view title, const ClusterCount& counted) {
  std::vector<std::string> lines;
  WriteClusterReport(title, counted.table.Clusters(), counted.names.Count(), counted.treeCount,
                     [&](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

Result<std::string> Consensus(const std::vector<std::string>& trees, double threshold, bool labels) {
  const ClusterCount counted = CountClusters(trees);
  TTrees builder;
  builder.threshold = threshold;
  builder.showLabels = labels;
  return builder.BuildConsensusTree(counted.table.Clusters(), counted.names.All(), counted.treeCount);
}

TEST(Consensus, TheFourTreeExample) {
  const ClusterCount counted = CountClusters(kFourTrees);
  ASSERT_EQ(counted.table.Clusters().size(), 3u);
  EXPECT_EQ(Bits(counted.table.Clusters()[0], 3), "110");
  EXPECT_EQ(counted.table.Clusters()[0].count, 3u);
  EXPECT_EQ(Bits(counted.table.Clusters()[1], 3), "111");
  EXPECT_EQ(counted.table.Clusters()[1].count, 4u);
  EXPECT_EQ(Bits(counted.table.Clusters()[2], 3), "101");
  EXPECT_EQ(counted.table.Clusters()[2].count, 1u);
  EXPECT_EQ(*Consensus(kFourTrees, 1.0, false), "(A,B,C);");
  EXPECT_EQ(*Consensus(kFourTrees, 0.7, true), "((A,B)75,C)100;");
  EXPECT_EQ(ReportLines("Clusters found during Majority Rule Consensus construction", counted),
            (std::vector<std::string>{"Clusters found during Majority Rule Consensus construction", "", "123",
                                      "110 3x= 75.00 %", "111 4x= 100.00 %", "101 1x= 25.00 %", "", "...where..."}));
  EXPECT_EQ(OtuKeyLines(counted.names.All()), (std::vector<std::string>{"OTU #1= A", "OTU #2= B", "OTU #3= C", ""}));
}

TEST(Consensus, StrictConsensusOfAgreeingTrees) {
  EXPECT_EQ(*Consensus({"((A,B),C);", "(C,(B,A));"}, 1.0, false), "((A,B),C);");
}

TEST(Consensus, ThresholdsBelowHalfActAsHalf) {
  TTrees builder;
  builder.threshold = 0.2;
  EXPECT_EQ(builder.RequiredCount(10), 5u);
  builder.threshold = 0.55;  // 0.55 * 100 is a hair above 55 in doubles
  EXPECT_EQ(builder.RequiredCount(100), 55u);
  builder.threshold = 0.56;
  EXPECT_EQ(builder.RequiredCount(50), 28u);
  EXPECT_EQ(builder.RequiredCount(51), 29u);
  builder.threshold = 1.0;
  EXPECT_EQ(builder.RequiredCount(7), 7u);
}

TEST(Consensus, PercentagesRoundHalvesToEven) {
  std::vector<std::string> trees(8, "((A,B),C,D);");
  trees[0] = "((A,C),B,D);";
  trees[1] = "((A,C),B,D);";
  trees[2] = "((A,C),B,D);";
  // {A,B} in 5 of 8 = 62.5 % -> 62
  EXPECT_EQ(*Consensus(trees, 0.6, true), "((A,B)62,C,D)100;");
}

TEST(Consensus, ConflictingClustersAtHalfGiveAMessageNamingTheirMembers) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"((A,B),C);", "((A,C),B);"}, "{A, B} and {A, C}"},
      {{"((A,B,C,D,E,F,G),H);", "((A,H),B,C,D,E,F,G);"}, "{A, B, C, D, E, F, ... (7 OTUs)} and {A, H}"},
  };
  for (const auto& [trees, clusters] : cases) {
    auto tree = Consensus(trees, 0.5, true);
    ASSERT_FALSE(tree.ok());
    EXPECT_EQ(tree.error(), "The clusters " + clusters +
                                " both qualify but contradict each other (they share OTUs and neither holds the other): "
                                "there is no consensus tree.\r\nWith an even number of trees a threshold of 50 % can "
                                "admit such a pair; choose a higher threshold.");
  }
}

TEST(Consensus, NoQualifyingClusterGivesAMessage) {
  auto tree = Consensus(kFourTrees, 1.5, true);
  ASSERT_FALSE(tree.ok());
  EXPECT_EQ(tree.error(), "No cluster is found in at least 6 of the 4 trees: there is no consensus tree.");
}

TEST(Consensus, TreesWithOtherNamesContributeOnlyKnownGroups) {
  const ClusterCount counted = CountClusters({"((A,B),C);", "((A,B),D);", "(A,B);"});
  EXPECT_EQ(counted.errors, (std::vector<ClusterError>{ClusterError::UnknownName}));
  EXPECT_EQ(ClusterErrorMessage(counted.errors[0]), "Consensus error: Inconsistent array of OTUs");
  ASSERT_EQ(counted.table.Clusters().size(), 2u);
  EXPECT_EQ(counted.table.Clusters()[0].count, 3u);  // {A,B}
  EXPECT_EQ(counted.table.Clusters()[1].count, 1u);  // {A,B,C}
  // {A,B,C} is in one tree of three: no qualifying cluster holds every OTU.
  TTrees builder;
  builder.threshold = 0.7;
  auto tree = builder.BuildConsensusTree(counted.table.Clusters(), counted.names.All(), counted.treeCount);
  EXPECT_EQ(tree.error(),
            "No qualifying cluster holds all 3 OTUs of the first tree, so the clusters do not form one tree: there is no "
            "consensus tree.\r\nCheck that every tree has the OTUs of the first tree.");
}

TEST(Consensus, GroupsAreReadInnermostFirstWithInnerLabelsJoiningNames) {
  ClusterTable table;
  const OtuNames names({"A", "B", "C"});
  const auto errors = ExtractClusters("((A:0.1,B:0.2)75:0.3,C)100;", names, table);
  // The inner label sticks to B in the outer group, which then names no OTU.
  EXPECT_EQ(errors, (std::vector<ClusterError>{ClusterError::UnknownName}));
  ASSERT_EQ(table.Clusters().size(), 1u);
  EXPECT_EQ(Bits(table.Clusters()[0], 3), "110");
  EXPECT_EQ(ExtractClusters("A,B)(C", names, table).size(), 0u);  // an unmatched ")" ends the tree
  EXPECT_EQ(table.Clusters().size(), 1u);
}

// Each distinct cluster counts once per tree: parentheses around a group that has them already,
// or around a single name, add nothing.
TEST(Consensus, AClusterCountsOncePerTree) {
  const std::string deep = std::string(1000000, '(') + "A,B" + std::string(1000000, ')') + ",C);";
  const struct {
    std::vector<std::string> trees;
    std::vector<std::string> report;  // the cluster lines
    std::string strict;
  } cases[] = {
      {{"(((A,B)),C);", "((A,C),B);"}, {"110 1x= 50.00 %", "111 2x= 100.00 %", "101 1x= 50.00 %"}, "(A,B,C);"},
      {{"((A,B),C);", "((((A,B),C)));"}, {"110 2x= 100.00 %", "111 2x= 100.00 %"}, "((A,B),C);"},
      {{"(((A),B),(C));", "((A,B),C);"}, {"110 2x= 100.00 %", "111 2x= 100.00 %"}, "((A,B),C);"},
      {{"(" + deep, "((A,C),B);"}, {"110 1x= 50.00 %", "111 2x= 100.00 %", "101 1x= 50.00 %"}, "(A,B,C);"},
      // A tree of one OTU is its own cluster.
      {{"((A));", "(A);"}, {"1 2x= 100.00 %"}, "(A);"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.trees.front().substr(0, 40));
    const ClusterCount counted = CountClusters(c.trees);
    EXPECT_TRUE(counted.errors.empty());
    const auto lines = ReportLines("Clusters", counted);
    const std::size_t rulers = 2 + ColumnRuler(counted.names.Count()).size();
    EXPECT_EQ(std::vector<std::string>(lines.begin() + static_cast<long>(rulers), lines.end() - 2), c.report);
    EXPECT_EQ(*Consensus(c.trees, 1.0, false), c.strict);
  }
}

// A group naming an unknown OTU is reported once, whatever the parentheses around it.
TEST(Consensus, RedundantParenthesesDoNotRepeatErrors) {
  const ClusterCount counted = CountClusters({"((A,B),C);", std::string(1000, '(') + "A,D" + std::string(1000, ')') + ";"});
  EXPECT_EQ(counted.errors, (std::vector<ClusterError>{ClusterError::UnknownName}));
}

// 400 OTUs in 399 trees, each of 200 disjoint pairs: every pair of OTUs is met once, 79800
// pairs and the root, of which the table holds 65535.
TEST(Consensus, AFullTableIsReportedOnceWithWhatWasNotCounted) {
  constexpr std::size_t n = 400;
  std::vector<std::string> trees;
  for (std::size_t round = 0; round + 1 < n; ++round) {
    // The circle method: OTU n - 1 stays, the others turn one place per round.
    const auto otu = [&](std::size_t seat) { return seat == n - 1 ? seat : (seat + round) % (n - 1); };
    std::string tree = "(";
    for (std::size_t seat = 0; seat < n / 2; ++seat) {
      tree += (seat == 0 ? "(" : ",(") + ("O" + std::to_string(otu(seat))) + ",O" + std::to_string(otu(n - 1 - seat)) + ")";
    }
    trees.push_back(tree + ");");
  }
  const ClusterCount counted = CountClusters(trees);
  EXPECT_EQ(counted.table.Clusters().size(), kMaxClusters);
  EXPECT_EQ(counted.table.NotCounted(), 79801 - kMaxClusters);
  EXPECT_EQ(ClusterCountMessages(counted),
            (std::vector<std::string>{"Maximal number of clusters that can be evaluated has been reached.\r\n"
                                      "14266 clusters were not counted."}));
  EXPECT_EQ(counted.table.Clusters()[200].count, n - 1);  // the root
}

TEST(Consensus, EachGroupWithAnUnknownNameHasItsMessage) {
  const ClusterCount counted = CountClusters({"((A,B),C);", "((A,X),C);"});
  EXPECT_EQ(ClusterCountMessages(counted),
            (std::vector<std::string>(2, "Consensus error: Inconsistent array of OTUs")));
}

// (((T1,T2),T3),...,Tn): as deep as it is wide, built back as it was.
TEST(Consensus, TheStrictConsensusOfACaterpillarIsItself) {
  constexpr std::size_t n = 3000;
  std::string tree(n - 1, '(');
  tree += "T1";
  for (std::size_t i = 2; i <= n; ++i) tree += ",T" + std::to_string(i) + ")";
  tree += ";";
  EXPECT_EQ(*Consensus({tree, tree}, 1.0, false), tree);
}

TEST(Consensus, LabelsForRSupport) {
  const ClusterCount counted = CountClusters({"((A,B),C);"});
  std::vector<Cluster> clusters = counted.table.Clusters();
  clusters[0].r = 2;
  clusters[1].r = 1;
  TTrees rx;
  rx.rMode = true;
  rx.maxR = 10000;
  rx.rDigits = 1;
  EXPECT_EQ(*rx.BuildConsensusTree(clusters, counted.names.All(), 1), "((A,B)R0.3,C)R0.0;");
  rx.rDigits = 0;
  EXPECT_EQ(*rx.BuildConsensusTree(clusters, counted.names.All(), 1), "((A,B)R0,C)R0;");
  rx.maxR = 1;
  EXPECT_EQ(*rx.BuildConsensusTree(clusters, counted.names.All(), 1), "(A,B,C)R0;");
  rx.maxR = 0;
  EXPECT_EQ(rx.BuildConsensusTree(clusters, counted.names.All(), 1).error(),
            "No cluster has an r value of at most 0: there is no consensus tree.");

  TTrees bracket;
  bracket.bracketLabels = true;
  bracket.showLabels = true;
  bracket.threshold = 1.0;
  bracket.treeId = "40";
  EXPECT_EQ(*bracket.BuildConsensusTree(clusters, counted.names.All(), 1), "((A,B)<100>,C)<TreeID~40>;");
}

// One unrooted tree of four pairs, written rooted at two places as neighbor-joining may write it.
const std::vector<std::string> kRerootedTrees{"((a1,a2),(b1,b2),((c1,c2),(d1,d2)));", "((c1,c2),(d1,d2),((a1,a2),(b1,b2)));",
                                              "((c1,c2),(d1,d2),((a1,a2),(b1,b2)));"};

TEST(Consensus, UnrootedTreesCountTheirSplitsWhereverTheyAreRooted) {
  EXPECT_EQ(NaturalComparison(kRerootedTrees), TreeComparison::Splits);
  const ClusterCount counted = CountClusters(kRerootedTrees, TreeComparison::Splits);
  TTrees builder;
  builder.threshold = 0.7;
  builder.showLabels = true;
  // Every split is in every tree; as clusters {c, d} is in one tree and {a, b} in two.
  EXPECT_EQ(*builder.BuildConsensusTree(counted.table.Clusters(), counted.names.All(), counted.treeCount),
            "((((c1,c2)100,(d1,d2)100)100,(b1,b2)100)100,a1,a2)100;");
  const ClusterCount rooted = CountClusters(kRerootedTrees, TreeComparison::Clusters);
  EXPECT_EQ(*builder.BuildConsensusTree(rooted.table.Clusters(), rooted.names.All(), rooted.treeCount),
            "((a1,a2)100,(b1,b2)100,(c1,c2)100,(d1,d2)100)100;");
  std::vector<std::string> lines;
  WriteClusterReport("Clusters found", counted.table.Clusters(), counted.names.Count(), counted.treeCount,
                     [&](std::string_view line) { lines.emplace_back(line); }, counted.comparison);
  EXPECT_EQ(lines[1], "Counted as splits, since every tree has a three-way root (unrooted trees): each row is the side "
                      "of a split without OTU #1.");
  EXPECT_EQ(lines[4], "00111111 3x= 100.00 %");
}

TEST(Consensus, TreesWithATwoWayRootAmongThemCountClusters) {
  EXPECT_EQ(NaturalComparison(kFourTrees), TreeComparison::Clusters);
  std::vector<std::string> mixed = kRerootedTrees;
  mixed.push_back("(((a1,a2),(b1,b2)),((c1,c2),(d1,d2)));");
  EXPECT_EQ(NaturalComparison(mixed), TreeComparison::Clusters);
  EXPECT_EQ(NaturalComparison(std::vector<std::string>{"(A,B,C);", "not a tree"}), TreeComparison::Clusters);
}

TEST(ColumnRuler, OneLinePerDigitPlace) {
  EXPECT_EQ(ColumnRuler(3), (std::vector<std::string>{"123"}));
  EXPECT_EQ(ColumnRuler(12), (std::vector<std::string>{"000000000111", "123456789012"}));
  const auto ruler = ColumnRuler(1000);
  ASSERT_EQ(ruler.size(), 4u);
  EXPECT_EQ(ruler[0].substr(995), "00001");
  EXPECT_EQ(ruler[1].substr(98, 3), "011");
  EXPECT_EQ(ruler[3].substr(995), "67890");
}

// Trees that share most of their groups: UPGMA trees of one random matrix with noise added.
std::vector<std::string> RelatedTrees(std::size_t n, std::size_t count, double noise, std::mt19937& random) {
  const DistanceMatrix base = testing::RandomDistances(n, testing::DistanceKind::Continuous, random);
  std::uniform_real_distribution<double> jitter(0.0, noise);
  std::vector<std::string> trees;
  for (std::size_t t = 0; t < count; ++t) {
    DistanceMatrix d = base;
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = 0; j < i; ++j) d(i, j) += static_cast<Real>(jitter(random));
    }
    trees.push_back(TreeToNewick(*BuildUPGMA(d, LabelTable()), "T" + std::to_string(t)));
  }
  return trees;
}

// The same table by a linear search over a list of byte vectors.
std::vector<std::pair<std::string, std::uint32_t>> LiteralTable(const std::vector<std::string>& trees, const OtuNames& names) {
  std::vector<std::pair<std::string, std::uint32_t>> table;
  for (const std::string& tree : trees) {
    ClusterTable one;
    ExtractClusters(tree, names, one);
    for (const Cluster& cluster : one.Clusters()) {
      const std::string bits = Bits(cluster, names.Count());
      auto found = std::find_if(table.begin(), table.end(), [&](const auto& entry) { return entry.first == bits; });
      if (found == table.end()) table.emplace_back(bits, cluster.count);
      else found->second += cluster.count;
    }
  }
  return table;
}

TEST(Consensus, EqualsTheLiteralConstructionOnRandomTreeSets) {
  const unsigned seed = std::random_device()();
  std::mt19937 random(seed);
  for (int round = 0; round < 30; ++round) {
    SCOPED_TRACE("seed " + std::to_string(seed) + ", round " + std::to_string(round));
    const std::size_t n = 3 + random() % 40;
    auto trees = RelatedTrees(n, 1 + random() % 25, round % 3 == 0 ? 0.5 : 0.1, random);
    const ClusterCount counted = CountClusters(trees);
    EXPECT_TRUE(counted.errors.empty());
    const auto& clusters = counted.table.Clusters();
    const auto literalTable = LiteralTable(trees, counted.names);
    ASSERT_EQ(clusters.size(), literalTable.size());
    for (std::size_t i = 0; i < clusters.size(); ++i) {
      EXPECT_EQ(Bits(clusters[i], n), literalTable[i].first);
      EXPECT_EQ(clusters[i].count, literalTable[i].second);
    }
    for (double threshold : {0.51, 0.7, 1.0}) {
      TTrees builder;
      builder.threshold = threshold;
      builder.showLabels = threshold < 1;
      auto tree = builder.BuildConsensusTree(clusters, counted.names.All(), counted.treeCount);
      ASSERT_TRUE(tree.ok()) << tree.error();

      std::vector<std::vector<std::uint8_t>> used;
      std::vector<std::string> labels;
      std::set<std::string> usedBits;
      for (const Cluster& cluster : clusters) {
        if (cluster.count < builder.RequiredCount(counted.treeCount)) continue;
        const std::string bits = Bits(cluster, n);
        used.emplace_back(bits.begin(), bits.end());
        for (auto& b : used.back()) b = b == '1';
        const long percentage = std::lrint(100.0L * cluster.count / counted.treeCount);  // halves to even
        labels.push_back(builder.showLabels ? std::to_string(percentage) : "");
        usedBits.insert(bits);
      }
      EXPECT_EQ(tree.value(), literal::Consensus(used, labels, counted.names.All())) << trees.front();

      // Read back, the consensus holds exactly the used clusters.
      ClusterTable again;
      const OtuNames names(counted.names.All());
      std::string unlabelled = builder.showLabels ? std::string() : tree.value();
      if (builder.showLabels) {
        TTrees plain = builder;
        plain.showLabels = false;
        unlabelled = *plain.BuildConsensusTree(clusters, counted.names.All(), counted.treeCount);
      }
      EXPECT_TRUE(ExtractClusters(unlabelled, names, again).empty());
      std::set<std::string> found;
      for (const Cluster& cluster : again.Clusters()) found.insert(Bits(cluster, n));
      EXPECT_EQ(found, usedBits);
    }
  }
}

}  // namespace
}  // namespace vorn
