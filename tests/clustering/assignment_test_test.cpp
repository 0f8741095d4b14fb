// The assignment test against a slow, literal evaluation written here: every individual's loci,
// log10 likelihoods, assignment and ratio, leaving each reference out of its own population, the
// simulated p drawn serially from the generator, and the refusals.
#include "clustering/assignment_test.h"

#include <gtest/gtest.h>
#include <omp.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "clustering/assignment_frequencies.h"
#include "support/test_matrix.h"

namespace vorn {
namespace {

using testing::MatrixFromRows;
using testing::RandomMatrix;

TEST(AbsenceProbability, IsTheShareOfAbsencesWithUnseenStatesCountedAsOneMore) {
  struct Case {
    std::uint32_t absent, scored;
    Real expected;
  };
  const std::vector<Case> cases = {{1, 4, 0.25L}, {3, 4, 0.75L}, {0, 4, 0.2L}, {4, 4, 0.8L},
                                   {0, 1, 0.5L},  {1, 1, 0.5L},  {5, 10, 0.5L}};
  for (const Case& c : cases) {
    EXPECT_NEAR(double(AbsenceProbability(c.absent, c.scored)), double(c.expected), 1e-15)
        << c.absent << "/" << c.scored;
  }
}

// The test as its description reads, one individual and one population at a time.
struct SlowRow {
  std::uint32_t individual;
  std::size_t loci;
  std::vector<Real> logL;
  std::vector<Real> absence;  // per population and locus used, for the simulation
  std::vector<Cell> scores;
};

std::vector<SlowRow> SlowAssignment(const DataMatrix& data, const std::vector<ReferencePopulation>& populations,
                                    const std::vector<std::uint32_t>& assignedOnly,
                                    std::vector<std::uint32_t>& leftOut) {
  std::vector<SlowRow> rows;
  for (std::uint32_t i = 0; i < data.individualCount; ++i) {
    bool reference = false;
    for (const auto& population : populations) {
      reference = reference || std::count(population.individuals.begin(), population.individuals.end(), i) > 0;
    }
    if (!reference && std::count(assignedOnly.begin(), assignedOnly.end(), i) == 0) continue;
    // Each population's references without i, counted locus by locus.
    std::vector<std::vector<std::uint32_t>> scored(populations.size(), std::vector<std::uint32_t>(data.locusCount));
    auto absent = scored;
    for (std::size_t p = 0; p < populations.size(); ++p) {
      for (const std::uint32_t j : populations[p].individuals) {
        if (j == i) continue;
        for (std::size_t l = 0; l < data.locusCount; ++l) {
          scored[p][l] += data.At(j, l) != Missing;
          absent[p][l] += data.At(j, l) == Absence;
        }
      }
    }
    SlowRow row{i, 0, std::vector<Real>(populations.size(), 0), {}, {}};
    std::vector<std::size_t> used;
    for (std::size_t l = 0; l < data.locusCount; ++l) {
      if (data.At(i, l) == Missing) continue;
      bool everywhere = true;
      for (std::size_t p = 0; p < populations.size(); ++p) everywhere = everywhere && scored[p][l] > 0;
      if (everywhere) used.push_back(l);
    }
    if (used.empty()) {
      leftOut.push_back(i);
      continue;
    }
    row.loci = used.size();
    for (std::size_t p = 0; p < populations.size(); ++p) {
      for (const std::size_t l : used) {
        const Real n = scored[p][l], a0 = absent[p][l];
        const Real a = a0 == 0 ? 1 / (n + 1) : a0 == n ? n / (n + 1) : a0 / n;
        row.logL[p] += std::log10(data.At(i, l) == Absence ? a : 1 - a);
        row.absence.push_back(a);
      }
    }
    for (const std::size_t l : used) row.scores.push_back(data.At(i, l));
    rows.push_back(row);
  }
  return rows;
}

// p of every row and population, drawing NextReal serially and summing in double.
std::vector<Real> SlowP(const std::vector<SlowRow>& rows, std::size_t populations, std::int32_t simulations,
                        RandomGenerator& random) {
  std::vector<Real> p;
  for (const SlowRow& row : rows) {
    for (std::size_t q = 0; q < populations; ++q) {
      const Real* a = row.absence.data() + q * row.loci;
      double observed = 0;
      for (std::size_t k = 0; k < row.loci; ++k) {
        observed += static_cast<double>(std::log10(row.scores[k] == Absence ? a[k] : 1 - a[k]));
      }
      int atMost = 0;
      for (int s = 0; s < simulations; ++s) {
        double sum = 0;
        for (std::size_t k = 0; k < row.loci; ++k) {
          sum += static_cast<double>(std::log10(random.NextReal() < a[k] ? a[k] : 1 - a[k]));
        }
        atMost += sum <= observed + 1e-9 * (1 + std::fabs(observed));
      }
      p.push_back(Real(atMost + 1) / Real(simulations + 1));
    }
  }
  return p;
}

// Populations of consecutive individuals of the given sizes.
std::vector<ReferencePopulation> Consecutive(const std::vector<std::uint32_t>& sizes) {
  std::vector<ReferencePopulation> populations;
  std::uint32_t next = 0;
  for (const std::uint32_t size : sizes) {
    ReferencePopulation population{"P" + std::to_string(populations.size() + 1), {}};
    for (std::uint32_t k = 0; k < size; ++k) population.individuals.push_back(next++);
    populations.push_back(population);
  }
  return populations;
}

TEST(AssignmentTest, AHandComputedProfile) {
  // Individual 0 (of A) at locus 1 meets the others of A: 0 and 1 -> 1/2; at locus 2 two
  // presences -> P(absent) 1/3. In B: 0 of 3 absent at locus 1 -> 1/4, all absent at locus 2 -> 3/4.
  const DataMatrix data = MatrixFromRows({"01", "01", "11", "10", "10", "10"});
  RandomGenerator random;
  const auto result = AssignmentTest(data, Consecutive({3, 3}), {}, 0, random);
  ASSERT_TRUE(result.ok()) << result.error();
  const AssignedIndividual& first = result->rows[0];
  EXPECT_EQ(first.loci, 2u);
  EXPECT_NEAR(double(first.log10Likelihoods[0]), std::log10(0.5 * 2.0 / 3), 1e-15);
  EXPECT_NEAR(double(first.log10Likelihoods[1]), std::log10(0.25 * 0.25), 1e-15);
  EXPECT_EQ(first.assigned, 0u);
  EXPECT_NEAR(double(first.ratio), std::log10(0.5 * 2.0 / 3) - std::log10(0.0625), 1e-15);
  EXPECT_EQ(first.homes, std::vector<std::size_t>{0});
}

TEST(AssignmentTest, EqualsTheSlowEvaluationOnRandomData) {
  struct Case {
    std::size_t loci;
    std::vector<std::uint32_t> sizes;
    double missing;
    std::vector<std::uint32_t> assignedOnly;  // after the populations' individuals
  };
  const std::vector<Case> cases = {{1, {2, 2}, 0.0, {}},
                                   {7, {3, 4, 2}, 0.3, {0, 1}},
                                   {63, {5, 5}, 0.1, {0}},
                                   {64, {2, 3, 4, 5}, 0.5, {}},
                                   {129, {6, 7, 3}, 0.2, {2}}};
  std::mt19937 engine(2024);
  for (const Case& c : cases) {
    std::uint32_t total = 0;
    for (const auto size : c.sizes) total += size;
    std::vector<std::uint32_t> assignedOnly;
    for (const auto extra : c.assignedOnly) assignedOnly.push_back(total + extra);
    const std::uint32_t extraCount =
        c.assignedOnly.empty() ? 0 : *std::max_element(c.assignedOnly.begin(), c.assignedOnly.end()) + 1;
    const DataMatrix data = RandomMatrix(total + extraCount, c.loci, c.missing, (1 - c.missing) / 2, engine);
    auto populations = Consecutive(c.sizes);
    populations[0].individuals.push_back(total - 1);  // the last individual belongs to two populations
    std::sort(populations[0].individuals.begin(), populations[0].individuals.end());
    std::vector<std::uint32_t> slowLeftOut;
    const auto slow = SlowAssignment(data, populations, assignedOnly, slowLeftOut);
    RandomGenerator random;
    const auto result = AssignmentTest(data, populations, assignedOnly, 0, random);
    if (!result.ok()) {
      EXPECT_EQ(c.loci, 1u) << result.error();  // one locus cannot hold two polymorphic ones
      continue;
    }
    EXPECT_EQ(result->leftOut, slowLeftOut);
    ASSERT_EQ(result->rows.size(), slow.size()) << c.loci;
    for (std::size_t r = 0; r < slow.size(); ++r) {
      const AssignedIndividual& row = result->rows[r];
      EXPECT_EQ(row.individual, slow[r].individual);
      EXPECT_EQ(row.loci, slow[r].loci);
      for (std::size_t p = 0; p < populations.size(); ++p) {
        EXPECT_NEAR(double(row.log10Likelihoods[p]), double(slow[r].logL[p]),
                    1e-12 * (1 + std::fabs(double(slow[r].logL[p]))));
      }
      const auto best = std::max_element(slow[r].logL.begin(), slow[r].logL.end());
      EXPECT_EQ(row.assigned, static_cast<std::size_t>(best - slow[r].logL.begin()));
    }
  }
}

TEST(AssignmentTest, SimulatedPEqualsTheSerialDrawsOnOneAndTwoCores) {
  std::mt19937 engine(7);
  const DataMatrix data = RandomMatrix(40, 90, 0.15, 0.4, engine);
  const auto populations = Consecutive({12, 12, 11});
  const std::vector<std::uint32_t> assignedOnly = {35, 36, 37, 38, 39};
  std::vector<std::uint32_t> leftOut;
  const auto slow = SlowAssignment(data, populations, assignedOnly, leftOut);
  RandomGenerator serial;
  serial.Seed(99);
  const std::vector<Real> expected = SlowP(slow, populations.size(), 50, serial);
  for (int threads : {1, 2}) {
    omp_set_num_threads(threads);
    RandomGenerator random;
    random.Seed(99);
    const auto result = AssignmentTest(data, populations, assignedOnly, 50, random);
    ASSERT_TRUE(result.ok()) << result.error();
    std::vector<Real> p;
    for (const auto& row : result->rows) p.insert(p.end(), row.p.begin(), row.p.end());
    EXPECT_EQ(p, expected) << threads << " threads";
    EXPECT_EQ(random.State(), serial.State());
  }
}

TEST(AssignmentTest, CancelledSimulationsFailWithoutMessage) {
  std::mt19937 engine(8);
  const DataMatrix data = RandomMatrix(30, 40, 0.0, 0.5, engine);
  RandomGenerator random;
  std::size_t told = 0;
  const auto result = AssignmentTest(data, Consecutive({15, 15}), {}, 10, random, [&](std::size_t done) {
    told = done;
    return false;
  });
  ASSERT_FALSE(result.ok());
  EXPECT_EQ(result.error(), "");
  EXPECT_EQ(told, 8u);
  RandomGenerator serial;
  serial.Skip(8 * 2 * 10 * 40);  // eight individuals, two populations, ten profiles of 40 loci
  EXPECT_EQ(random.State(), serial.State());
}

TEST(AssignmentTest, DistinctPopulationsAssignTheirOwnAndStrangersStandOut) {
  // Bands mostly present in A and mostly absent in B: every reference is assigned home, and an
  // individual of B's profile fits B and is excluded from A.
  std::mt19937 engine(3);
  std::bernoulli_distribution inA(0.9), inB(0.1);
  std::vector<std::string> rows;
  for (int i = 0; i < 21; ++i) {
    std::string row;
    for (int l = 0; l < 50; ++l) row += (i < 10 ? inA(engine) : inB(engine)) ? '1' : '0';
    rows.push_back(row);
  }
  const DataMatrix data = MatrixFromRows(rows);
  RandomGenerator random;
  const auto result = AssignmentTest(data, Consecutive({10, 10}), {20}, 199, random);
  ASSERT_TRUE(result.ok()) << result.error();
  for (const auto& row : result->rows) {
    EXPECT_EQ(row.assigned, row.individual < 10 ? 0u : 1u) << row.individual;
    EXPECT_GT(row.ratio, 5);
  }
  const AssignedIndividual& stranger = result->rows.back();
  EXPECT_TRUE(stranger.homes.empty());
  EXPECT_EQ(stranger.p[0], Real(1) / 200);
  EXPECT_GT(stranger.p[1], 0.01L);
}

TEST(AssignmentTest, SettingAsideDropsPopulationsLeftEmpty) {
  const auto kept = SetAside(Consecutive({2, 3, 2}), {0, 5, 6});
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_EQ(kept[0].name, "P1");
  EXPECT_EQ(kept[0].individuals, std::vector<std::uint32_t>{1});
  EXPECT_EQ(kept[1].name, "P2");
  EXPECT_EQ(kept[1].individuals, (std::vector<std::uint32_t>{2, 3, 4}));
}

TEST(AssignmentTest, RefusesWhatItCannotAssign) {
  struct Refusal {
    std::vector<std::string> rows;
    std::vector<std::uint32_t> sizes;
    std::string error;
  };
  const std::vector<Refusal> refusals = {
      {{"01", "10", "11"}, {3}, "The assignment test needs at least 2 reference populations; there are 1."},
      {{"01", "10", "11"},
       {2, 1},
       "The population P2 has 1 reference individual; each individual is left out of its own population, so every "
       "population needs at least 2."},
      {{"01", "01", "01", "11"},
       {2, 2},
       "The reference individuals are polymorphic at 1 locus; the assignment test needs at least 2."},
  };
  for (const Refusal& refusal : refusals) {
    RandomGenerator random;
    const auto result = AssignmentTest(MatrixFromRows(refusal.rows), Consecutive(refusal.sizes), {}, 0, random);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error(), refusal.error);
  }
}

TEST(AssignmentTest, AnIndividualWithoutScoresIsLeftOutByPosition) {
  const DataMatrix data = MatrixFromRows({"0101", "1011",
                                          "??"
                                          "??",
                                          "1100", "0110", "0011"});
  RandomGenerator random;
  const auto result = AssignmentTest(data, Consecutive({3, 3}), {}, 0, random);
  ASSERT_TRUE(result.ok()) << result.error();
  EXPECT_EQ(result->leftOut, std::vector<std::uint32_t>{2});
  EXPECT_EQ(result->rows.size(), 5u);
}

}  // namespace
}  // namespace vorn
