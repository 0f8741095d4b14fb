#include "missingness/missingness_check.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>

#include "ordination/principal_coordinates.h"
#include "similarity/distance_transformation.h"
#include "similarity/similarity_matrix.h"
#include "support/temp_dir.h"

namespace vorn {
namespace {

TEST(AverageRanks, TiesShareTheMeanOfTheirRanks) {
  const struct {
    std::vector<Real> values, ranks;
  } cases[] = {
      {{3, 1, 4, 1, 5}, {3, 1.5L, 4, 1.5L, 5}},
      {{2, 2, 2}, {2, 2, 2}},
      {{0.5L, -1, 7, 0.5L, 0.5L, 9}, {3, 1, 5, 3, 3, 6}},
  };
  for (const auto& c : cases) EXPECT_EQ(AverageRanks(c.values), c.ranks);
}

// Values rounded to one decimal, so that both variables have ties.
std::vector<Real> Rounded(std::size_t n, std::mt19937& engine, const std::vector<Real>* near = nullptr) {
  std::normal_distribution<double> normal(0, 1);
  std::vector<Real> values(n);
  for (std::size_t i = 0; i < n; ++i) {
    values[i] = std::round(((near ? double((*near)[i]) * 0.35 : 0) + normal(engine)) * 10) / 10;
  }
  return values;
}

TEST(SpearmanTest, RhoEqualsSciPysSpearmanrAndPItsAsymptoticP) {
  if (std::system("/usr/bin/python3 -c 'import scipy.stats' >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "SciPy not installed for /usr/bin/python3 (apt-get install python3-scipy); skipped";
  }
  std::mt19937 engine(29);
  testing::TempDir dir;
  for (int trial = 0; trial < 3; ++trial) {
    const std::size_t n = 60;
    const std::vector<Real> x = Rounded(n, engine);
    const std::vector<Real> y = Rounded(n, engine, &x);
    const std::string path = dir.File("xy.txt");
    {
      std::ofstream out(path);
      out.precision(21);
      for (std::size_t i = 0; i < n; ++i) out << x[i] << " " << y[i] << "\n";
    }
    const std::string command = "/usr/bin/python3 -c 'import numpy, scipy.stats; d = numpy.loadtxt(\"" + path +
                                "\"); r = scipy.stats.spearmanr(d[:, 0], d[:, 1]); "
                                "print(\"%.17g %.17g\" % (r.statistic, r.pvalue))'";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_TRUE(pipe);
    double rho = NAN, p = NAN;
    EXPECT_EQ(std::fscanf(pipe, "%lf %lf", &rho, &p), 2);
    EXPECT_EQ(pclose(pipe), 0) << command;
    RandomGenerator random;
    random.Seed(5);
    const auto ours = SpearmanTest(x, {y}, "x", {"y"}, 9999, random);
    ASSERT_TRUE(ours.ok()) << ours.error();
    EXPECT_NEAR(double((*ours)[0].rho), rho, 1e-12) << "trial " << trial;
    // The permutation p of 9999 permutations against the t approximation: within five standard
    // errors and the approximation's own error.
    const double error = std::sqrt(std::max(p * (1 - p), 1e-3) / 9999);
    EXPECT_NEAR(double((*ours)[0].p), p, 5 * error + 0.01) << "trial " << trial << ", rho " << rho;
  }
}

TEST(SpearmanTest, DrawsNMinusOneNumbersPerPermutationAndRefusesAConstantVariable) {
  RandomGenerator random;
  random.Seed(8);
  const std::vector<Real> x = {1, 2, 3, 4, 5, 6, 7};
  ASSERT_TRUE(SpearmanTest(x, {{2, 1, 4, 3, 6, 5, 7}, {7, 6, 5, 4, 3, 2, 1}}, "x", {"a", "b"}, 99, random).ok());
  RandomGenerator serial;
  serial.Seed(8);
  serial.Skip(99 * 6);
  EXPECT_EQ(random.State(), serial.State());
  const auto constant = SpearmanTest(x, {{3, 3, 3, 3, 3, 3, 3}}, "x", {"coordinate on axis 2"}, 9, random);
  ASSERT_FALSE(constant.ok());
  EXPECT_EQ(constant.error(),
            "The coordinate on axis 2 is the same for every individual, so its rank correlation is undefined.");
}

// Two populations of 30 with band frequencies of their own over 150 loci; the first population's
// scores are missing with missingFirst, the second's with missingSecond.
DataMatrix TwoPopulations(double missingFirst, double missingSecond, std::uint32_t seed) {
  std::mt19937 engine(seed);
  std::uniform_real_distribution<double> uniform(0, 1);
  DataMatrix data;
  data.individualCount = 60;
  data.locusCount = 150;
  data.cells.resize(data.CellCount());
  for (std::size_t l = 0; l < data.locusCount; ++l) {
    const double frequency[2] = {0.1 + 0.8 * uniform(engine), 0.1 + 0.8 * uniform(engine)};
    for (std::size_t i = 0; i < data.individualCount; ++i) {
      const std::size_t population = i < 30 ? 0 : 1;
      const double missing = population == 0 ? missingFirst : missingSecond;
      data.cells[data.Position(i, l)] = uniform(engine) < missing              ? Missing
                                        : uniform(engine) < frequency[population] ? Presence
                                                                                  : Absence;
    }
  }
  data.individualLabels = MakeNumberedLabels("i", data.individualCount);
  return data;
}

// The check as the command runs it: Standard Jaccard, 1 - S, principal coordinates.
MissingnessCheck Check(const DataMatrix& data, std::uint32_t seed) {
  auto fill = BuildSimilarityMatrix(data, SimilarityMode::Standard, SimilaritySettings{});
  EXPECT_TRUE(fill.ok());
  DistanceMatrix distances = TransformMatrix(fill->matrix, DistanceTransformation::OneMinusS);
  std::vector<Real> pairs;
  for (std::size_t i = 1; i < distances.n; ++i) {
    for (std::size_t j = 0; j < i; ++j) pairs.push_back(distances(i, j));
  }
  TDistCluster pcoa(std::move(distances));
  EXPECT_TRUE(pcoa.Compute().ok());
  RandomGenerator random;
  random.Seed(seed);
  auto check = CheckMissingness(IndividualMissingShares(data), pcoa.TakeResult(), pairs, 199, random);
  EXPECT_TRUE(check.ok()) << check.error();
  return std::move(*check);
}

TEST(MissingnessCheck, FindsStructureThatFollowsAPopulationWithMoreMissingScores) {
  for (std::uint32_t seed : {1u, 2u, 3u}) {
    const MissingnessCheck check = Check(TwoPopulations(0.40, 0.05, seed), seed);
    EXPECT_TRUE(FollowsMissingData(check.axes[0].p, check.permutations)) << "seed " << seed << ", p " << double(check.axes[0].p);
    EXPECT_TRUE(FollowsMissingData(check.distances.p, check.permutations)) << "seed " << seed;
    EXPECT_EQ(AxisVerdict(1, check.axes[0], check.permutations).find("Axis 1 follows missing data (rho = "), 0u);
    EXPECT_TRUE(DistanceVerdict(check.distances).ends_with(
        "): consider removing individuals or loci with most missing scores"));
  }
}

TEST(MissingnessCheck, FindsNothingInMostSeedsWhenScoresAreMissingAtRandom) {
  constexpr int kSeeds = 20;
  int quietAxis1 = 0, quietDistances = 0;
  for (std::uint32_t seed = 1; seed <= kSeeds; ++seed) {
    const MissingnessCheck check = Check(TwoPopulations(0.10, 0.10, 100 + seed), seed);
    quietAxis1 += check.axes[0].p > kMissingnessLevel;
    quietDistances += check.distances.p > kMissingnessLevel;
  }
  // At a 5 % level about 19 of 20 seeds stay quiet; 16 leaves room for chance.
  EXPECT_GE(quietAxis1, 16);
  EXPECT_GE(quietDistances, 16);
}

TEST(MissingnessCheck, VerdictsSayPlainlyWhetherACorrelationIsSignificant) {
  const struct {
    RankCorrelation correlation;
    std::int32_t permutations;
    const char* verdict;
  } cases[] = {
      {{0.62L, 0.001L}, 999,
       "Axis 1 follows missing data (rho = 0.62, p = 0.001): consider removing individuals or loci with most missing "
       "scores"},
      {{-0.05L, 0.612L}, 999, "Axis 1 does not follow missing data (rho = -0.05, p = 0.612)"},
      {{0.3L, 0.05L}, 99, "Axis 1 follows missing data (rho = 0.30, p = 0.050): consider removing individuals or loci "
                          "with most missing scores"},
      {{0.3L, 0}, 0, "Axis 1: rho = 0.30 (no permutation test)"},
  };
  for (const auto& c : cases) EXPECT_EQ(AxisVerdict(1, c.correlation, c.permutations), c.verdict);
  MantelResult mantel;
  mantel.r = 0.41L, mantel.p = 0.2L, mantel.permutations = 999;
  EXPECT_EQ(DistanceVerdict(mantel), "The distances do not follow missing data (r = 0.41, p = 0.200)");
}

}  // namespace
}  // namespace vorn
