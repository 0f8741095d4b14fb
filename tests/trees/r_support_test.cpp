// R-support's search over r with a stand-in for the trees: which r values it evaluates, the r
// each cluster keeps, its messages and the Rx-consensus.
#include "trees/r_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace vorn {
namespace {

const std::vector<std::string> kLabels = {"A", "B", "C", "D"};

Cluster Of(const std::set<std::size_t>& members, std::uint32_t count = 100) {
  Cluster cluster{{0}, count, 0};
  for (std::size_t m : members) cluster.members[0] |= std::uint64_t{1} << m;
  return cluster;
}

// A consensus that holds {A,B} from r = appearsAt on, and always the root; textOrder A..D.
struct StandIn {
  std::uint32_t appearsAt = 0;  // 0: never
  REvaluation operator()(std::uint32_t r) const {
    RConsensus consensus;
    if (appearsAt != 0 && r >= appearsAt) consensus.groups.push_back(Of({0, 1}, 90));
    consensus.groups.push_back(Of({0, 1, 2, 3}));
    consensus.textOrder = {0, 1, 2, 3};
    return REvaluation{consensus, {}, false};
  }
};

struct Outcome {
  RSupportResult result;
  std::vector<std::uint32_t> evaluated;
  std::vector<std::string> messages;
};

template <typename Evaluate>
Outcome Search(const RSupportSettings& settings, Evaluate evaluate) {
  Outcome outcome;
  std::vector<std::uint32_t>* evaluated = &outcome.evaluated;
  outcome.result = EstimateRSupport(
      settings,
      [&](std::uint32_t r) {
        evaluated->push_back(r);
        return evaluate(r);
      },
      kLabels, [&](std::string_view message) { outcome.messages.emplace_back(message); });
  return outcome;
}

TEST(RoundedGeometricMean, IsExactUpToTheLargestR) {
  const std::vector<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>> cases = {
      {1, 10000, 100}, {1, 100, 10}, {1, 2, 1}, {1, 3, 2}, {2, 3, 2}, {100, 10000, 1000}, {7, 7, 7},
      // sqrt(lo * (lo + 1)) lies a hair below lo + 1/2, where doubles round up.
      {2147483646u, 2147483647u, 2147483646u}, {4000000000u, 4000000001u, 4000000000u}};
  for (const auto& [lo, hi, mean] : cases) EXPECT_EQ(RoundedGeometricMean(lo, hi), mean) << lo << " " << hi;
}

TEST(WiderThanPrecision, ComparesTheRatioWithTenToTheMinusDigits) {
  // Precision 1: a ratio above 10^0.1 = 1.2589...
  EXPECT_TRUE(WiderThanPrecision(100, 126, 1));
  EXPECT_FALSE(WiderThanPrecision(100, 125, 1));
  // Precision 0: a ratio above 10, met exactly by 1..10 and 5..50.
  EXPECT_FALSE(WiderThanPrecision(1, 10, 0));
  EXPECT_FALSE(WiderThanPrecision(5, 50, 0));
  EXPECT_TRUE(WiderThanPrecision(5, 51, 0));
  EXPECT_FALSE(WiderThanPrecision(7, 7, 3));
}

TEST(RTable, LinksEachNewRAfterTheLargestBelowIt) {
  RTable table;
  for (std::uint32_t r : {1u, 10000u, 100u, 10u}) ASSERT_TRUE(table.AddR(r));
  std::vector<std::pair<std::uint32_t, std::uint32_t>> links;
  for (const REntry& entry : table.Entries()) links.emplace_back(entry.R, entry.Next);
  EXPECT_EQ(links, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{1, 10}, {10000, 0}, {100, 10000}, {10, 100}}));
}

TEST(RTable, EqualWidthsGoToTheFirstEntryInTableOrder) {
  RTable table;
  for (std::uint32_t r : {10u, 1000u, 100u}) table.AddR(r);  // 10..100 and 100..1000, both a ratio of 10
  EXPECT_EQ(table.NextInterval(1), (std::pair<std::uint32_t, std::uint32_t>{10, 100}));
  table.Find(10)->SameAs = 100;  // the consensus at 100 gave nothing new over 10
  EXPECT_EQ(table.NextInterval(1), (std::pair<std::uint32_t, std::uint32_t>{100, 1000}));
  table.Find(1000)->SameAs = 100;
  EXPECT_FALSE(table.NextInterval(1));
}

TEST(EstimateRSupport, EqualBoundsEvaluateTheTwoConsensusTreesOnly) {
  const RSupportSettings settings{100, 50, 50, 1, 10000};
  const Outcome outcome = Search(settings, StandIn{1});
  EXPECT_EQ(outcome.evaluated, (std::vector<std::uint32_t>{50, 50}));
  EXPECT_TRUE(outcome.messages.empty());
  ASSERT_EQ(outcome.result.clusters.size(), 2u);  // each cluster once, though found twice
  EXPECT_EQ(*outcome.result.rxConsensus, "((A,B)R1.7,C,D)R1.7;");
}

TEST(EstimateRSupport, PrecisionOneBracketsTheChangeWithinARatioOfTenToTheTenth) {
  for (std::uint32_t appearsAt : {2u, 37u, 999u, 5000u}) {
    const RSupportSettings settings{100, 1, 10000, 1, 10000};
    const Outcome outcome = Search(settings, StandIn{appearsAt});
    ASSERT_TRUE(outcome.result.completed);
    const auto& clusters = outcome.result.clusters;
    const auto found = std::find_if(clusters.begin(), clusters.end(), [](const Cluster& c) { return c.Size() == 2; });
    ASSERT_NE(found, clusters.end());
    const Cluster& ab = *found;
    std::uint32_t below = 0;  // the largest r evaluated without {A,B}
    for (std::uint32_t r : outcome.evaluated) {
      if (r < appearsAt) {
        below = std::max(below, r);
      } else {
        EXPECT_GE(r, ab.r);
      }
    }
    EXPECT_GE(ab.r, appearsAt);
    // Within 10^0.1, or as close as whole values of r come.
    EXPECT_TRUE(!WiderThanPrecision(below, ab.r, 1) || ab.r == below + 1) << appearsAt << ": " << below << ".." << ab.r;
    // Once bracketed, no r is evaluated twice.
    EXPECT_EQ(std::set<std::uint32_t>(outcome.evaluated.begin(), outcome.evaluated.end()).size(),
              outcome.evaluated.size());
  }
}

TEST(EstimateRSupport, AClusterPresentAtRFromKeepsRFrom) {
  const Outcome outcome = Search(RSupportSettings{100, 1, 10000, 1, 10000}, StandIn{1});
  EXPECT_GT(outcome.evaluated.size(), 2u);
  ASSERT_EQ(outcome.result.clusters.size(), 2u);
  EXPECT_EQ(outcome.result.clusters[0].r, 1u);
  EXPECT_EQ(outcome.result.clusters[0].count, 90u);
  EXPECT_EQ(*outcome.result.rxConsensus, "((A,B)R0.0,C,D)R0.0;");
}

TEST(EstimateRSupport, ANeverFoundClusterIsAbsentAndOneAboveTheRxThresholdIsOnlyListed) {
  const Outcome never = Search(RSupportSettings{100, 1, 100, 1, 100}, StandIn{0});
  ASSERT_EQ(never.result.clusters.size(), 1u);
  EXPECT_EQ(*never.result.rxConsensus, "(A,B,C,D)R0.0;");

  const Outcome late = Search(RSupportSettings{100, 1, 10000, 1, 50}, StandIn{60});
  ASSERT_EQ(late.result.clusters.size(), 2u);
  EXPECT_GT(late.result.clusters[1].r, 50u);
  EXPECT_EQ(*late.result.rxConsensus, "(A,B,C,D)R0.0;");
}

TEST(RxConsensus, ZeroDigitsLabelRoundedLogarithms) {
  std::vector<Cluster> clusters = {Of({0, 1}), Of({0, 1, 2, 3})};
  clusters[0].r = 1;
  clusters[1].r = 40;  // log10 40 = 1.6
  EXPECT_EQ(*RxConsensus(clusters, kLabels, 10000, 0), "((A,B)R0,C,D)R2;");
  EXPECT_EQ(*RxConsensus(clusters, kLabels, 10000, 2), "((A,B)R0.00,C,D)R1.60;");
}

TEST(EstimateRSupport, AClusterThatVanishesIsToldAndTheContradictionKeepsItFromTheTree) {
  // {A,B} at r from only, {B,C} at r to only: they overlap unnested.
  const auto evaluate = [](std::uint32_t r) {
    RConsensus consensus;
    consensus.groups.push_back(r == 1 ? Of({0, 1}) : Of({1, 2}));
    consensus.groups.push_back(Of({0, 1, 2, 3}));
    consensus.textOrder = {0, 1, 2, 3};
    return REvaluation{consensus, {}, false};
  };
  const Outcome outcome = Search(RSupportSettings{100, 1, 10, 1, 10000}, evaluate);
  ASSERT_EQ(outcome.messages.size(), 2u);
  EXPECT_EQ(outcome.messages[0], "Trees are inconsistent (cluster #1) d= 10 f= 1\r\nstartcluster=  of 4");
  EXPECT_NE(outcome.messages[1].find("contradict each other"), std::string::npos);
  EXPECT_TRUE(outcome.result.completed);
  EXPECT_FALSE(outcome.result.rxConsensus);
}

TEST(EstimateRSupport, AFailedEvaluationEndsTheAnalysisWithItsMessage) {
  const std::vector<std::tuple<std::uint32_t, std::string>> cases = {
      {1, "R-support analysis failed"}, {10000, "R-support analysis failed"}, {100, "R-support analysis failed (w/i loop)"}};
  for (const auto& [bad, last] : cases) {
    const Outcome outcome = Search(RSupportSettings{100, 1, 10000, 1, 10000}, [&](std::uint32_t r) {
      if (r == bad) return REvaluation{std::nullopt, "No tree.", false};
      RConsensus consensus;
      if (r >= 5000) consensus.groups.push_back(Of({0, 1}));
      consensus.groups.push_back(Of({0, 1, 2, 3}));
      consensus.textOrder = {0, 1, 2, 3};
      return REvaluation{consensus, {}, false};
    });
    EXPECT_EQ(outcome.messages, (std::vector<std::string>{"No tree.", last})) << bad;
    EXPECT_FALSE(outcome.result.completed);
    EXPECT_FALSE(outcome.result.rxConsensus);
  }
}

TEST(EstimateRSupport, CancelEndsTheAnalysisSilently) {
  const Outcome outcome = Search(RSupportSettings{100, 1, 10000, 1, 10000},
                                 [](std::uint32_t) { return REvaluation{std::nullopt, {}, true}; });
  EXPECT_EQ(outcome.evaluated.size(), 1u);
  EXPECT_TRUE(outcome.messages.empty());
  EXPECT_TRUE(outcome.result.cancelled);
  EXPECT_FALSE(outcome.result.completed);
}

TEST(EstimateRSupport, TheRxConsensusFollowsTheOrderOfTheConsensusAtRFrom) {
  const auto evaluate = [](std::uint32_t) {
    RConsensus consensus;
    consensus.groups = {Of({2, 3}), Of({0, 1, 2, 3})};
    consensus.textOrder = {3, 2, 0, 1};
    return REvaluation{consensus, {}, false};
  };
  const Outcome outcome = Search(RSupportSettings{100, 1, 10, 1, 10000}, evaluate);
  EXPECT_EQ(*outcome.result.rxConsensus, "((D,C)R0.0,A,B)R0.0;");
  EXPECT_EQ(outcome.result.clusters[0].members[0], 0b0011u);  // D and C are OTUs 1 and 2 now
}

}  // namespace
}  // namespace vorn
