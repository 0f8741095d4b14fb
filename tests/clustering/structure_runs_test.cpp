// Runs over K on data simulated from the model: K recovered by dK and cross-validation, the
// true ancestry recovered, the same bits on one and on two threads, and the refusals.
#include "clustering/structure_runs.h"

#include <gtest/gtest.h>
#include <omp.h>

#include <cmath>
#include <random>

#include "clustering/run_alignment.h"

namespace vorn {
namespace {

struct Simulated {
  ScoreTable table;
  std::vector<double> q;  // n x k
};

// Balding-Nichols frequencies around an ancestral one (F = fst), pure individuals of each cluster
// and a fifth of them admixed half and half between two clusters; diploid dominant bands, a tenth
// of the scores missing.
Simulated Simulate(std::size_t n, std::size_t loci, std::size_t k, double fst, unsigned seed) {
  std::mt19937 engine(seed);
  std::uniform_real_distribution<double> uniform(0, 1);
  const auto beta = [&](double a, double b) {
    const double x = std::gamma_distribution<double>(a, 1)(engine), y = std::gamma_distribution<double>(b, 1)(engine);
    return x / (x + y);
  };
  std::vector<double> r(loci * k);
  for (std::size_t l = 0; l < loci; ++l) {
    const double p = 0.2 + 0.6 * uniform(engine);
    for (std::size_t c = 0; c < k; ++c) r[l * k + c] = beta(p * (1 - fst) / fst, (1 - p) * (1 - fst) / fst);
  }
  Simulated s{{n, loci, {}}, std::vector<double>(n * k, 0)};
  for (std::size_t i = 0; i < n; ++i) {
    if (k > 1 && i % 5 == 4) s.q[i * k + i % k] = s.q[i * k + (i + 1) % k] = 0.5;
    else s.q[i * k + i % k] = 1;
  }
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t l = 0; l < loci; ++l) {
      bool band = false;
      for (int copy = 0; copy < 2; ++copy) {
        double u = uniform(engine);
        std::size_t c = 0;
        while (c + 1 < k && u >= s.q[i * k + c]) u -= s.q[i * k + c++];
        band = band || uniform(engine) >= r[l * k + c];
      }
      s.table.scores.push_back(uniform(engine) < 0.1 ? kUnscored : band ? kBand : kNoBand);
    }
  }
  return s;
}

StructureSettings Settings(std::size_t maxK, std::size_t runs = 3) {
  StructureSettings settings;
  settings.maxClusters = maxK;
  settings.runs = runs;
  settings.folds = 3;
  return settings;
}

TEST(AnalyseStructure, ChoosesThreeClustersAndRecoversTheirAncestry) {
  const Simulated s = Simulate(90, 300, 3, 0.2, 11);
  RandomGenerator random;
  random.Seed(5);
  const auto result = AnalyseStructure(s.table, Settings(4), random);
  ASSERT_TRUE(result.ok()) << result.error();
  ASSERT_TRUE(result->deltaChoice);
  EXPECT_EQ(result->perK[*result->deltaChoice].clusters, 3u);
  EXPECT_EQ(result->perK[*result->validationChoice].clusters, 3u);
  const ClusterSolutions& three = result->perK[2];
  const std::vector<double>& q = three.runs[three.best].parameters.q;
  const std::vector<double> aligned = Relabelled(q, 3, BestRelabelling(s.q, q, 3));
  double error = 0;
  for (std::size_t j = 0; j < aligned.size(); ++j) error += std::fabs(aligned[j] - s.q[j]);
  EXPECT_LT(error / double(aligned.size()), 0.07);
  EXPECT_GE(three.runsAtBest, 1u);
  for (const auto& solutions : result->perK) {
    for (const auto& run : solutions.runs) EXPECT_TRUE(run.converged);
  }
}

TEST(AnalyseStructure, OnOnePopulationCrossValidationChoosesOne) {
  const Simulated s = Simulate(30, 100, 1, 0.1, 12);
  RandomGenerator random;
  random.Seed(6);
  const auto result = AnalyseStructure(s.table, Settings(3, 2), random);
  ASSERT_TRUE(result.ok()) << result.error();
  EXPECT_EQ(result->perK[*result->validationChoice].clusters, 1u);
}

TEST(AnalyseStructure, SameBitsOnOneAndTwoThreads) {
  // Enough cells that each EM step runs its blocks in parallel.
  const Simulated s = Simulate(40, 1000, 2, 0.1, 13);
  const auto run = [&](int threads) {
    omp_set_num_threads(threads);
    RandomGenerator random;
    random.Seed(8);
    StructureSettings settings = Settings(2, 2);
    settings.minClusters = 2;
    auto result = AnalyseStructure(s.table, settings, random);
    EXPECT_TRUE(result.ok());
    return std::pair{std::move(*result), random.State()};
  };
  const auto [one, stateOne] = run(1);
  const auto [two, stateTwo] = run(2);
  omp_set_num_threads(omp_get_num_procs());
  EXPECT_EQ(stateOne, stateTwo);
  for (std::size_t j = 0; j < one.perK.size(); ++j) {
    EXPECT_EQ(one.perK[j].validationError, two.perK[j].validationError);
    for (std::size_t r = 0; r < one.perK[j].runs.size(); ++r) {
      EXPECT_EQ(one.perK[j].runs[r].logLikelihood, two.perK[j].runs[r].logLikelihood);
      EXPECT_EQ(one.perK[j].runs[r].parameters.q, two.perK[j].runs[r].parameters.q);
      EXPECT_EQ(one.perK[j].runs[r].parameters.r, two.perK[j].runs[r].parameters.r);
    }
  }
}

TEST(AnalyseStructure, RefusesSettingsTheDataCannotTake) {
  const Simulated s = Simulate(5, 20, 1, 0.1, 14);
  struct Case {
    std::size_t minK, maxK, runs, folds;
    const char* message;
  };
  for (const Case& c : {Case{1, 6, 10, 5, "The largest K (6) is larger than the number of individuals with a score (5)."},
                        Case{3, 2, 10, 5, "The smallest K (3) is larger than the largest K (2)."},
                        Case{1, 2, 0, 5, "The runs per K must be at least 1."},
                        Case{0, 2, 1, 5, "The smallest K must be at least 1."},
                        Case{1, 2, 1, 1, "Cross-validation needs at least 2 folds (0 for none)."}}) {
    StructureSettings settings;
    settings.minClusters = c.minK, settings.maxClusters = c.maxK, settings.runs = c.runs, settings.folds = c.folds;
    RandomGenerator random;
    const auto result = AnalyseStructure(s.table, settings, random);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error(), c.message);
  }
}

TEST(AnalyseStructure, StopsWhenAsked) {
  const Simulated s = Simulate(20, 50, 2, 0.1, 15);
  RandomGenerator random;
  std::size_t told = 0;
  const auto result = AnalyseStructure(s.table, Settings(3), random, [&](std::size_t done) {
    told = done;
    return done < 2;
  });
  ASSERT_FALSE(result.ok());
  EXPECT_EQ(result.error(), "");
  // Fits run side by side, so those already in work may finish before the stop is seen.
  EXPECT_GE(told, 2u);
}

}  // namespace
}  // namespace vorn
