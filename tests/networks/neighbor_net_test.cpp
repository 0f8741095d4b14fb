#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include <set>

#include "networks/circular_splits.h"
#include "networks/neighbor_net.h"
#include "networks/neighbor_net_order.h"
#include "networks/network_text.h"
#include "networks/split_weights.h"
#include "networks/network_reference.h"
#include "networks/peer_runs.h"

namespace vorn {
namespace {

using testing::DenseNnls;
using testing::DesignMatrix;
using testing::RandomPairs;

std::vector<Real> Times(const testing::Dense& a, const std::vector<Real>& x) {
  std::vector<Real> y(a.size(), 0);
  for (std::size_t r = 0; r < a.size(); ++r)
    for (std::size_t c = 0; c < x.size(); ++c) y[r] += a[r][c] * x[c];
  return y;
}

TEST(CircularSplits, OperatorsAreTheDesignMatrixAndItsTranspose) {
  for (std::size_t n : {3u, 4u, 5u, 8u, 13u}) {
    const testing::Dense a = DesignMatrix(n);
    const std::vector<Real> x = RandomPairs(n, 7 + n);
    const std::vector<Real> ax = SplitDistances(n, x), atx = SeparatedSums(n, x);
    testing::Dense t(a.size(), std::vector<Real>(a.size()));
    for (std::size_t r = 0; r < a.size(); ++r)
      for (std::size_t c = 0; c < a.size(); ++c) t[c][r] = a[r][c];
    const std::vector<Real> want = Times(a, x), wantT = Times(t, x);
    // The estimates in double too.
    const std::vector<double> xd(x.begin(), x.end());
    const std::vector<double> axd = SplitDistances(n, xd), atxd = SeparatedSums(n, xd);
    for (std::size_t k = 0; k < x.size(); ++k) {
      EXPECT_NEAR(static_cast<double>(ax[k]), static_cast<double>(want[k]), 1e-15) << n << " " << k;
      EXPECT_NEAR(static_cast<double>(atx[k]), static_cast<double>(wantT[k]), 1e-15) << n << " " << k;
      EXPECT_NEAR(axd[k], static_cast<double>(want[k]), 1e-13) << n << " " << k;
      EXPECT_NEAR(atxd[k], static_cast<double>(wantT[k]), 1e-13) << n << " " << k;
    }
    // The exact gradient is A^T (d - A x).
    const std::vector<Real> d = RandomPairs(n, 3 + n);
    std::vector<Real> residual = Times(a, x);
    for (std::size_t k = 0; k < x.size(); ++k) residual[k] = d[k] - residual[k];
    const std::vector<Real> gradient = ResidualGradient(n, d, x), wantGradient = Times(t, residual);
    for (std::size_t k = 0; k < x.size(); ++k) {
      EXPECT_NEAR(static_cast<double>(gradient[k]), static_cast<double>(wantGradient[k]), 1e-15) << n << " " << k;
    }
    // The exact weights reproduce the distances.
    const std::vector<Real> back = SplitDistances(n, ExactSplitWeights(n, x));
    for (std::size_t k = 0; k < x.size(); ++k) EXPECT_NEAR(static_cast<double>(back[k]), static_cast<double>(x[k]), 1e-15);
  }
}

TEST(SplitWeights, EqualLawsonHansonOnAllSplitsWrittenOut) {
  for (std::size_t n = 4; n <= 9; ++n) {
    for (unsigned seed = 1; seed <= 4; ++seed) {
      const std::vector<Real> d = RandomPairs(n, 100 * n + seed);
      const auto fitted = FitSplitWeights(n, d);
      ASSERT_TRUE(fitted) << fitted.error();
      const std::vector<Real> want = DenseNnls(DesignMatrix(n), d);
      for (std::size_t k = 0; k < want.size(); ++k) {
        EXPECT_NEAR(static_cast<double>(fitted->weights[k]), static_cast<double>(want[k]), 1e-12) << n << " " << seed;
        EXPECT_EQ(fitted->weights[k] == 0, want[k] == 0) << n << " " << seed << " split " << k;
      }
    }
  }
}

// Where several splits are freed in one round, the weights are the unique minimum: held at
// zero where the gradient of the squares, taken through the written-out design matrix, does not
// fall, and free where it vanishes.
TEST(SplitWeights, MeetTheKuhnTuckerConditionsWhereManySplitsAreFreedTogether) {
  for (std::size_t n : {20, 31, 40}) {
    for (unsigned seed = 1; seed <= 3; ++seed) {
      const std::vector<Real> d = RandomPairs(n, 7 * n + seed);
      const auto fitted = FitSplitWeights(n, d);
      ASSERT_TRUE(fitted) << fitted.error();
      const testing::Dense a = DesignMatrix(n);
      const std::vector<Real> fit = Times(a, fitted->weights);
      std::vector<Real> residual(d.size());
      for (std::size_t k = 0; k < d.size(); ++k) residual[k] = d[k] - fit[k];
      std::vector<Real> gradient(d.size(), 0), scale(d.size(), 0);  // A^T (d - A x), A^T d
      for (std::size_t r = 0; r < a.size(); ++r) {
        for (std::size_t c = 0; c < a.size(); ++c) gradient[c] += a[r][c] * residual[r], scale[c] += a[r][c] * d[r];
      }
      const Real tolerance = 1e-12L * *std::max_element(scale.begin(), scale.end());
      std::size_t positive = 0;
      for (std::size_t k = 0; k < d.size(); ++k) {
        ASSERT_GE(fitted->weights[k], 0) << n << " " << seed << " split " << k;
        if (fitted->weights[k] > 0) {
          ++positive;
          EXPECT_LE(std::fabs(gradient[k]), tolerance) << n << " " << seed << " free split " << k;
        } else {
          EXPECT_LE(gradient[k], tolerance) << n << " " << seed << " held split " << k;
        }
      }
      // From 40 free splits on, a round frees two or more.
      EXPECT_GT(positive, n) << n << " " << seed;
    }
  }
}

// The weights are the least squares of the splits they free, to the last place of the 80-bit
// format (split_weights_exact.py solves them in fractions), and the splits they hold at zero
// are rightly held: the exact gradient of each falls.
TEST(SplitWeights, AreTheExactLeastSquaresOfTheirFreeSplitsToTheLastPlace) {
  if (std::system("/usr/bin/python3 -c 'import fractions' >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "python3 not installed (apt-get install python3); the exact least squares skipped";
  }
  for (const auto& [n, seed] : {std::pair<std::size_t, unsigned>{24, 5}, {40, 6}}) {
    const std::vector<Real> d = RandomPairs(n, seed);
    const auto fitted = FitSplitWeights(n, d);
    ASSERT_TRUE(fitted) << fitted.error();
    const std::string path = std::filesystem::temp_directory_path() /
                             ("vorn_split_weights_" + std::to_string(::getpid()) + ".txt");
    {
      std::FILE* out = std::fopen(path.c_str(), "w");
      ASSERT_TRUE(out);
      std::fprintf(out, "%zu\n", n);
      for (const Real v : d) std::fprintf(out, "%La ", v);
      std::fprintf(out, "\n");
      for (const Real v : fitted->weights) std::fprintf(out, "%La ", v);
      std::fprintf(out, "\n");
      std::fclose(out);
    }
    const auto lines = testing::RunLines("/usr/bin/python3 " + std::string(VORN_TEST_DATA) +
                                         "/../networks/split_weights_exact.py " + path);
    std::filesystem::remove(path);
    ASSERT_EQ(lines.count("largest_ulps"), 1u);
    EXPECT_LE(std::stod(lines.at("largest_ulps")), 2.0) << n;
    EXPECT_LE(std::stod(lines.at("held_gradient")), 0.0) << n;
  }
}

TEST(NeighborNetOrder, EqualsTheAgglomerationDoneAfresh) {
  for (std::size_t n = 3; n <= 24; ++n) {
    const std::vector<Real> d = RandomPairs(n, 31 * n);
    const CircularOrder order = NeighborNetOrder(n, d);
    EXPECT_EQ(order.order, testing::SlowNeighborNetOrder(n, d)) << n;
    EXPECT_EQ(order.tiedJoins, 0u);
  }
}

// 60 to 120 individuals, past what the slow agglomeration above does in time: the program's
// order is the exact one, the paper's agglomeration done in rational arithmetic
// (neighbor_net_order.py, every choice free of rounding), the first of tied pairs in row order
// taken there too.
TEST(NeighborNetOrder, EqualsTheExactAgglomerationOfSixtyToOneHundredTwentyIndividuals) {
  if (std::system("/usr/bin/python3 -c 'import fractions' >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "python3 not installed (apt-get install python3); the exact agglomeration skipped";
  }
  const std::string csv = std::filesystem::temp_directory_path() / ("vorn_exact_order_" + std::to_string(::getpid()) + ".csv");
  for (const auto& [n, seed] : testing::kLargeOrderCases) {
    const std::vector<Real> pairs = RandomPairs(n, seed);
    testing::WriteDistanceCsv(csv, testing::Square(n, pairs));
    const auto exact = testing::RunLines("/usr/bin/python3 " + testing::kExactOrderScript + " " + csv);
    const CircularOrder order = NeighborNetOrder(n, pairs);
    EXPECT_EQ(testing::OrderText(order.order), exact.at("order")) << n << " individuals, seed " << seed;
    EXPECT_EQ(std::to_string(order.tiedJoins), exact.at("ties")) << n << " individuals, seed " << seed;
  }
  std::filesystem::remove(csv);
}

// The splits as sets of the side without individual 0, with their weights.
std::map<std::set<std::size_t>, Real> SplitMap(const NeighborNet& net) {
  std::map<std::set<std::size_t>, Real> splits;
  for (const NetworkSplit& split : net.splits) {
    std::set<std::size_t> side(split.side.begin(), split.side.end());
    if (side.count(0)) {
      std::set<std::size_t> other;
      for (std::size_t i = 0; i < net.n; ++i)
        if (!side.count(i)) other.insert(i);
      side = other;
    }
    splits[side] = split.weight;
  }
  return splits;
}

TEST(NeighborNet, TreeMetricGivesTheTreesSplitsAndBranchLengths) {
  // ((0:0.1,1:0.2):0.3,(2:0.15,3:0.25):0.05,(4:0.4,5:0.1):0.2) with inner edges as splits.
  const std::vector<std::pair<std::set<std::size_t>, Real>> edges = {
      {{1}, 0.2L}, {{2}, 0.15L}, {{3}, 0.25L}, {{4}, 0.4L}, {{5}, 0.1L}, {{1, 2, 3, 4, 5}, 0.1L},
      {{2, 3}, 0.05L}, {{4, 5}, 0.2L}, {{0, 1}, 0.3L}};
  const std::size_t n = 6;
  DistanceMatrix d(n);
  for (std::size_t i = 1; i < n; ++i)
    for (std::size_t j = 0; j < i; ++j)
      for (const auto& [side, w] : edges)
        if (side.count(i) != side.count(j)) d(i, j) += w;
  const auto net = BuildNeighborNet(d, LabelTable());
  ASSERT_TRUE(net) << net.error();
  std::map<std::set<std::size_t>, Real> want;
  for (const auto& [side, w] : edges) {
    std::set<std::size_t> s = side;
    if (s.count(0)) {
      std::set<std::size_t> o;
      for (std::size_t i = 0; i < n; ++i)
        if (!s.count(i)) o.insert(i);
      s = o;
    }
    want[s] += w;  // {0,1} | rest and {1} stay apart; nothing merges here
  }
  const auto got = SplitMap(*net);
  ASSERT_EQ(got.size(), want.size());
  for (const auto& [side, w] : want) {
    ASSERT_TRUE(got.count(side));
    EXPECT_NEAR(static_cast<double>(got.at(side)), static_cast<double>(w), 1e-15);
  }
  EXPECT_NEAR(static_cast<double>(net->fit), 100, 1e-12);
}

TEST(NeighborNet, FourPointsInASquare) {
  DistanceMatrix d(4);
  const Real diagonal = std::sqrt(2.0L);
  d(1, 0) = d(2, 1) = d(3, 2) = d(3, 0) = 1;
  d(2, 0) = d(3, 1) = diagonal;
  const auto net = BuildNeighborNet(d, LabelTable({"a", "b", "c", "d"}));
  ASSERT_TRUE(net) << net.error();
  const auto got = SplitMap(*net);
  ASSERT_EQ(got.size(), 6u);
  for (std::size_t i = 1; i < 4; ++i) EXPECT_NEAR(static_cast<double>(got.at({i})), 1 - std::sqrt(0.5), 1e-15);
  EXPECT_NEAR(static_cast<double>(got.at({1, 2, 3})), 1 - std::sqrt(0.5), 1e-15);
  EXPECT_NEAR(static_cast<double>(got.at({2, 3})), std::sqrt(2.0) - 1, 1e-15);
  EXPECT_NEAR(static_cast<double>(got.at({1, 2})), std::sqrt(2.0) - 1, 1e-15);
}

TEST(NeighborNet, RefusesWhatIsNoDistanceMatrix) {
  struct Case {
    std::size_t n;
    Real bad;
    std::string message;
  };
  const std::vector<Case> cases = {
      {2, 0.5L, "A NeighborNet needs at least 3 individuals, not 2; no NeighborNet was built."},
      {4, NAN, "The distance between b and c is undefined; no NeighborNet was built."},
      {4, -0.25L, "The distance between b and c is negative (-0.250000000); no NeighborNet was built."}};
  for (const Case& c : cases) {
    DistanceMatrix d(c.n);
    for (Real& v : d.entries) v = 0.5L;
    if (c.n > 2) d(2, 1) = c.bad;
    const auto net = BuildNeighborNet(d, LabelTable({"a", "b", "c", "d"}));
    ASSERT_FALSE(net);
    EXPECT_EQ(net.error(), c.message);
  }
}

TEST(NeighborNet, EqualDistancesTieAndAreCounted) {
  const std::size_t n = 5;
  const auto net = FitNeighborNet(n, std::vector<Real>(n * (n - 1) / 2, 1));
  ASSERT_TRUE(net);
  EXPECT_GT(net->tiedJoins, 0u);
  EXPECT_EQ(net->order, testing::SlowNeighborNetOrder(n, std::vector<Real>(n * (n - 1) / 2, 1)));
  const auto lines = NetworkSummaryLines(*net, LabelTable());
  EXPECT_EQ(lines.back(), "Ties in the agglomeration: " + std::to_string(net->tiedJoins) +
                              " (the first pair in row order taken)");
}

}  // namespace
}  // namespace vorn
