#include "amova/amova.h"

#include <gtest/gtest.h>
#include <omp.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <random>

#include "groups/group_model.h"
#include "groups/selection.h"
#include "similarity/coefficient_names.h"
#include "similarity/pair_distance.h"
#include "amova/amova_permutation.h"
#include "support/test_matrix.h"

namespace vorn {
namespace {

using testing::MatrixFromRows;

// Thirteen individuals in four populations: A, C in region R and B, D in region S.
const std::vector<std::string> kRows = {"10110010", "10100010", "11110011", "00111010", "01011000",
                                        "01011100", "11001101", "01001111", "01100101", "10001100",
                                        "00011101", "10000111", "11000101"};

GroupEntry Group(std::string name, std::vector<std::string> members) { return {std::move(name), std::move(members)}; }

GroupList WithAllData(const DataMatrix& data, std::vector<GroupEntry> entries) {
  GroupList groups;
  EXPECT_TRUE(BuildAllData(data, groups).ok());
  groups.insert(groups.end(), entries.begin(), entries.end());
  return groups;
}

GroupList OneLevelGroups(const DataMatrix& data) {
  return WithAllData(data, {Group("AllData/A", {"i1", "i2", "i3"}), Group("AllData/B", {"i4", "i5", "i6", "i7"}),
                            Group("AllData/C", {"i8", "i9", "i10"}), Group("AllData/D", {"i11", "i12", "i13"})});
}

GroupList TwoLevelGroups(const DataMatrix& data) {
  return WithAllData(data, {Group("AllData/R", {}), Group("AllData/R/A", {"i1", "i2", "i3"}),
                            Group("AllData/R/C", {"i8", "i9", "i10"}), Group("AllData/S", {}),
                            Group("AllData/S/B", {"i4", "i5", "i6", "i7"}),
                            Group("AllData/S/D", {"i11", "i12", "i13"})});
}

SimilaritySettings Euclidean() {
  SimilaritySettings settings;
  settings.coefficient = SimilarityCoefficient::Euclidean;
  settings.transformation = DistanceTransformation::D;
  return settings;
}

struct Run {
  TAMOVA amova{0};
  SquaredDistances distances;
};

Run Amova(const DataMatrix& data, const GroupList& groups, int levels, const SimilaritySettings& settings,
          RandomGenerator& random) {
  Run run;
  run.amova = TAMOVA(data.individualCount);
  EXPECT_TRUE(run.amova.SetHierarchy(data, groups, levels).ok());
  auto distances = AmovaDistances(data, settings, 100, random);
  EXPECT_TRUE(distances.ok()) << distances.error();
  run.distances = std::move(*distances);
  run.amova.Calculate(run.distances);
  return run;
}

Run Amova(const DataMatrix& data, const GroupList& groups, int levels, const SimilaritySettings& settings) {
  RandomGenerator random;
  return Amova(data, groups, levels, settings, random);
}

// The reference values come from R's ade4 1.7-22 on the same data (Euclidean distances of the
// rows, amova(samples, dist(x)) and with structures = the regions), printed with 15 digits.
TEST(Amova, EuclideanEqualsTheReferenceForOneAndTwoLevels) {
  const DataMatrix data = MatrixFromRows(kRows);
  const auto one = Amova(data, OneLevelGroups(data), 1, Euclidean()).amova;
  EXPECT_NEAR(one.SSDAG, 10.7051282051282, 1e-12);
  EXPECT_NEAR(one.SSDWP, 14.8333333333333, 1e-12);
  EXPECT_NEAR(one.SSDT, 25.5384615384615, 1e-12);
  EXPECT_EQ(one.DfAG, 3);
  EXPECT_EQ(one.DfWP, 9);
  EXPECT_EQ(one.DfT, 12);
  EXPECT_NEAR(one.Va, 0.594356261022928, 1e-12);
  EXPECT_NEAR(one.Vb, 1.648148148148148, 1e-12);
  EXPECT_NEAR(one.PercentA, 26.5041289815179, 1e-11);
  EXPECT_NEAR(one.PhiST, 0.265041289815179, 1e-12);

  const auto two = Amova(data, TwoLevelGroups(data), 2, Euclidean()).amova;
  EXPECT_NEAR(two.SSDAG, 2.37179487179487, 1e-12);
  EXPECT_NEAR(two.SSDAPWG, 8.33333333333334, 1e-12);
  EXPECT_NEAR(two.SSDWP, 14.8333333333333, 1e-12);
  EXPECT_NEAR(two.SSDT, 25.5384615384615, 1e-12);
  EXPECT_EQ(two.DfAG, 1);
  EXPECT_EQ(two.DfAPWG, 2);
  EXPECT_NEAR(two.Va, -0.283774250440917, 1e-12);
  EXPECT_NEAR(two.Vb, 0.783539094650206, 1e-12);
  EXPECT_NEAR(two.Vc, 1.648148148148148, 1e-12);
  EXPECT_NEAR(two.Vt, 2.147912992357437, 1e-12);
  EXPECT_NEAR(two.PercentC, 76.7325377709656, 1e-11);
  EXPECT_NEAR(two.PhiST, 0.232674622290344, 1e-12);
  EXPECT_NEAR(two.PhiSR, 0.322220341851413, 1e-12);
  EXPECT_NEAR(two.PhiRT, -0.132116268885483, 1e-12);
}

// ade4's randtest.amova with 9999 permutations on the same data gave 0.015 for one level, and
// 0.0161 (within samples, alternative "less", our PhiST), 0.0170 (between samples within
// regions, PhiSR) and 1.0 (between regions, PhiRT) for two levels.
TEST(Amova, PermutationPValuesAgreeWithTheReferenceWithinTheirBinomialError) {
  const DataMatrix data = MatrixFromRows(kRows);
  const auto close = [](Real p, Real reference) {
    EXPECT_NEAR(p, reference, 4 * std::sqrt(2 * reference * (1 - reference) / 9999) + 3.0 / 9999);
  };
  for (int levels : {1, 2}) {
    const GroupList groups = levels == 1 ? OneLevelGroups(data) : TwoLevelGroups(data);
    const auto run = Amova(data, groups, levels, Euclidean());
    RandomGenerator random;
    random.Seed(1);
    const auto test = AmovaPermutationTest(run.amova, run.distances, data.individualLabels, groups, 9999, random);
    ASSERT_TRUE(test.ok());
    if (levels == 1) {
      close(test->pPhiST, 0.015);
    } else {
      close(test->pPhiST, 0.0161);
      close(test->pPhiSR, 0.0170);
      close(test->pPhiRT, 1.0);
    }
  }
}

// The sums as defined over ordered pairs with the pair distance of two group sub-blocks, each
// distance computed anew, against the one cached matrix.
TEST(Amova, SumsEqualTheOrderedPairDefinitionWithMissingScores) {
  std::mt19937 engine(7);
  DataMatrix data = MatrixFromRows(kRows);
  data = testing::RandomMatrix(13, 40, 0.15, 0.5, engine);
  const GroupList groups = TwoLevelGroups(data);
  for (auto coefficient : {SimilarityCoefficient::Jaccard, SimilarityCoefficient::SMC, SimilarityCoefficient::Euclidean}) {
    Workspace ws;
    ws.data = data;
    ws.settings.similarity.coefficient = coefficient;
    ws.settings.similarity.transformation =
        coefficient == SimilarityCoefficient::Euclidean ? DistanceTransformation::D : DistanceTransformation::OneMinusS;
    const auto amova = Amova(data, groups, 2, ws.settings.similarity).amova;
    const std::vector<std::uint8_t> mask(data.locusCount, 1);
    PairNotes notes;
    const auto ss = [&](std::vector<std::size_t> indices) {  // (sum over ordered pairs, members)
      std::vector<DataMatrix> blocks;
      for (std::size_t g : indices) blocks.push_back(*GroupSubmatrix(data, groups, g, mask));
      long double sum = 0, n = 0;
      for (const auto& x : blocks) {
        n += x.individualCount;
        for (const auto& y : blocks) {
          for (std::size_t i = 0; i < x.individualCount; ++i) {
            for (std::size_t j = 0; j < y.individualCount; ++j) {
              if (&x == &y && i == j) continue;  // self-pairs add 0
              const Real d = *SDist_mem(ws, x.cells.data(), y.cells.data(), x.individualCount, y.individualCount, i, j,
                                        notes);
              sum += d * d;
            }
          }
        }
      }
      return sum / (2 * n);
    };
    const Real wp = ss({2}) + ss({3}) + ss({5}) + ss({6});
    const Real regions = ss({2, 3}) + ss({5, 6});
    EXPECT_NEAR(amova.SSDWP, wp, 1e-12);
    EXPECT_NEAR(amova.SSDAPWG, regions - wp, 1e-12);
    EXPECT_NEAR(amova.SSDAG, ss({0}) - regions, 1e-12);
    EXPECT_NEAR(amova.SSDAG + amova.SSDAPWG + amova.SSDWP, amova.SSDT, 1e-12);
  }
}

// The triangle keeps every squared distance exactly as the pair distance gives it, the Average
// drawing pair after pair in the same order, and any other extended value whole.
TEST(Amova, SquaredDistancesAreKeptExactly) {
  std::mt19937 engine(11);
  const DataMatrix data = testing::RandomMatrix(23, 70, 0.15, 0.5, engine);
  for (const auto mode : {SimilarityMode::Standard, SimilarityMode::Maximum, SimilarityMode::Average}) {
    for (const auto coefficient : {SimilarityCoefficient::Jaccard, SimilarityCoefficient::NeiLi, SimilarityCoefficient::SqEuclidean}) {
      Workspace ws;
      ws.data = data;
      ws.settings.similarity = {.coefficient = coefficient, .amovaSimilarity = mode};
      ws.settings.similarity.transformation =
          IsDistance(coefficient) ? DistanceTransformation::SqrtD : DistanceTransformation::SqrtOneMinusS;
      ws.settings.replicates.JC = 7;
      RandomGenerator random = ws.random;
      const auto distances = AmovaDistances(data, ws.settings.similarity, 7, random);
      if (!distances) continue;  // Nei-Li pairs sharing too few bands
      PairNotes notes;
      for (std::size_t i = 1; i < data.individualCount; ++i) {
        for (std::size_t j = 0; j < i; ++j) {
          const Real d = *SDist(ws, i, j, notes);
          ASSERT_EQ((*distances)(i, j), d * d) << i << ", " << j;
        }
      }
    }
  }
  SquaredDistances odd(4);
  const std::vector<Real> values{0x1p-1000L, 1e-300L * 1e-300L, 1e300L * 1e300L, std::numeric_limits<Real>::infinity()};
  for (std::size_t k = 0; k < values.size(); ++k) {
    odd.Set(k, values[k]);
    EXPECT_EQ(odd.At(k), values[k]);
  }
}

TEST(Amova, IdenticalWithinTwoGroupsGivesVbZeroAndPhiStOne) {
  const DataMatrix data = MatrixFromRows({"1100", "1100", "0011", "0011"});
  const GroupList groups = WithAllData(data, {Group("AllData/X", {"i1", "i2"}), Group("AllData/Y", {"i3", "i4"})});
  SimilaritySettings jaccard;
  const auto amova = Amova(data, groups, 1, jaccard).amova;
  EXPECT_EQ(amova.Vb, 0);
  EXPECT_EQ(amova.PhiST, 1);
  EXPECT_TRUE(amova.CheckDefined().ok());
}

TEST(Amova, AllIdenticalGivesZeroSumsAndIsRefused) {
  const DataMatrix data = MatrixFromRows({"1101", "1101", "1101", "1101", "1101", "1101"});
  const GroupList groups =
      WithAllData(data, {Group("AllData/R", {}), Group("AllData/R/a", {"i1", "i2"}), Group("AllData/R/b", {"i3"}),
                         Group("AllData/S", {}), Group("AllData/S/c", {"i4", "i5"}), Group("AllData/S/d", {"i6"})});
  const auto amova = Amova(data, groups, 2, SimilaritySettings{}).amova;
  for (Real ssd : {amova.SSDT, amova.SSDWP, amova.SSDAPWG, amova.SSDAG}) EXPECT_EQ(ssd, 0);
  EXPECT_EQ(amova.CheckDefined().error(),
            "The AMOVA cannot run: the variance components add up to 0 (no variation among the individuals), so "
            "their shares and the Phi statistics are undefined.");
}

TEST(Amova, SubGroupBelongsOnlyToTheRegionWhoseNameItExtends) {
  const DataMatrix data = MatrixFromRows({"10", "01", "11", "00", "10", "01"});
  const GroupList groups =
      WithAllData(data, {Group("AllData/Pop", {}), Group("AllData/PopA", {}), Group("AllData/Pop/y", {"i1", "i2"}),
                         Group("AllData/PopA/x", {"i3", "i4"}), Group("AllData/Pop/z", {"i5", "i6"})});
  TAMOVA amova(data.individualCount);
  ASSERT_TRUE(amova.SetHierarchy(data, groups, 2).ok());
  ASSERT_EQ(amova.GroupCount, 2);
  ASSERT_EQ(amova.Hierarchy[0].size(), 2u);
  EXPECT_EQ(amova.Hierarchy[0][0].groupIndex, 3);
  EXPECT_EQ(amova.Hierarchy[0][1].groupIndex, 5);
  ASSERT_EQ(amova.Hierarchy[1].size(), 1u);
  EXPECT_EQ(amova.Hierarchy[1][0].groupIndex, 4);
}

TEST(Amova, DegenerateHierarchiesAreRefusedWithTheirCause) {
  const DataMatrix data = MatrixFromRows({"10", "01", "11", "00"});
  struct Case {
    int levels;
    std::vector<GroupEntry> groups;
    std::string cause;
  };
  const std::vector<Case> cases = {
      {1, {Group("AllData/A", {"i1", "i9"}), Group("AllData/B", {"i3"})}, "\"i9\" of the group AllData/A is not an individual of the data."},
      {1, {Group("AllData/A", {"i1"}), Group("AllData/B", {})}, "the population AllData/B has no members."},
      {1, {Group("AllData/A", {"i1", "i2"})}, "it needs at least two populations; there is one."},
      {1,
       {Group("AllData/A", {"i1"}), Group("AllData/B", {"i2"}), Group("AllData/C", {"i3"}), Group("AllData/D", {"i4"})},
       "there are as many populations as individuals, so nothing can vary within populations."},
      {2, {Group("AllData/R", {}), Group("AllData/R/a", {"i1"}), Group("AllData/R/b", {"i2"}), Group("AllData/S", {})},
       "the region AllData/S holds no populations (no group below it)."},
      {2, {Group("AllData/R", {}), Group("AllData/R/a", {"i1"}), Group("AllData/R/b", {"i2"})},
       "a two-level analysis needs at least two regions (groups with populations below them); there is one."},
      {2,
       {Group("AllData/R", {}), Group("AllData/R/a", {"i1", "i2"}), Group("AllData/S", {}),
        Group("AllData/S/b", {"i3", "i4"})},
       "each region holds a single population, so there is nothing among populations within regions."},
      {3, {}, ""},
  };
  for (const Case& c : cases) {
    TAMOVA amova(data.individualCount);
    const auto status = amova.SetHierarchy(data, WithAllData(data, c.groups), c.levels);
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error(), c.levels == 3 ? "A maximum of 2 levels of hierarchy are supported by the AMOVA"
                                            : "The AMOVA cannot run: " + c.cause);
  }
}

TEST(Amova, UndefinedDistancesAreCountedAndRefused) {
  // i1 and i2 share no band: Nei-Li -1; i3 and i4 have no band at all: Jaccard-based d = 1 - 0 is
  // defined, but Dice 0/0 makes their Nei-Li not a number.
  const DataMatrix data = MatrixFromRows({"1100", "0011", "0000", "0000"});
  SimilaritySettings neiLi;
  neiLi.coefficient = SimilarityCoefficient::NeiLi;
  neiLi.transformation = DistanceTransformation::D;
  RandomGenerator random;
  const auto distances = AmovaDistances(data, neiLi, 100, random);
  ASSERT_FALSE(distances.ok());
  EXPECT_EQ(distances.error(),
            "The AMOVA cannot run: the distance between i1 and i2 is undefined (they share too few bands for a Nei-Li "
            "distance, which is -1), as are those of 5 more pairs. Choose another coefficient or remove the "
            "individuals concerned.");
  // i3 and i4 have no score at all: under the Average (drawn from the Minimum, which compares the
  // loci scored in either) their Euclidean distance of 0 compares nothing.
  SimilaritySettings average;
  average.coefficient = SimilarityCoefficient::Euclidean;
  average.transformation = DistanceTransformation::D;
  average.amovaSimilarity = SimilarityMode::Average;
  const auto unscored = AmovaDistances(MatrixFromRows({"10", "01", "??", "??"}), average, 100, random);
  ASSERT_FALSE(unscored.ok());
  EXPECT_EQ(unscored.error(),
            "The AMOVA cannot run: the distance between i3 and i4 is undefined (no locus is scored in either). Choose "
            "another coefficient or remove the individuals concerned.");
}

TEST(Amova, AverageDrawsEachPairOnceSoTheComponentsAddUp) {
  std::mt19937 engine(3);
  const DataMatrix data = testing::RandomMatrix(13, 30, 0.3, 0.5, engine);
  SimilaritySettings average;
  average.amovaSimilarity = SimilarityMode::Average;
  RandomGenerator random;
  random.Seed(11);
  const auto amova = Amova(data, TwoLevelGroups(data), 2, average, random).amova;
  EXPECT_NEAR(amova.SSDAG + amova.SSDAPWG + amova.SSDWP, amova.SSDT, 1e-15);
  RandomGenerator again;
  again.Seed(11);
  EXPECT_EQ(Amova(data, TwoLevelGroups(data), 2, average, again).amova.PhiST, amova.PhiST);
}

// Exact p-values by enumerating every arrangement of the individuals, each through a whole
// AMOVA of groups with those members, of the component each test rests on.
class ExactPermutation : public ::testing::Test {
 protected:
  Real StatisticOf(const std::vector<std::vector<std::string>>& populations, const std::vector<int>& regionOf,
                   int levels, Real AmovaValues::*statistic) {
    std::vector<GroupEntry> entries;
    for (std::size_t r = 0; r < 2; ++r) {
      if (levels == 2) entries.push_back(Group("AllData/R" + std::to_string(r), {}));
      for (std::size_t p = 0; p < populations.size(); ++p) {
        if (levels == 2 && regionOf[p] != static_cast<int>(r)) continue;
        entries.push_back(Group((levels == 2 ? "AllData/R" + std::to_string(r) + "/p" : "AllData/p") + std::to_string(p),
                                populations[p]));
      }
      if (levels == 1) break;
    }
    return Amova(data, WithAllData(data, entries), levels, SimilaritySettings{}).amova.*statistic;
  }

  // Cuts the labels, in the given order, into populations of the given sizes.
  static std::vector<std::vector<std::string>> Cut(const std::vector<std::string>& labels,
                                                   const std::vector<std::size_t>& sizes) {
    std::vector<std::vector<std::string>> populations;
    std::size_t k = 0;
    for (std::size_t size : sizes) {
      populations.emplace_back(labels.begin() + k, labels.begin() + k + size);
      k += size;
    }
    return populations;
  }

  // The share of orderings of items for which value(ordering) >= observed.
  template <typename T, typename F>
  static Real ExactP(std::vector<T> items, Real observed, F value) {
    std::sort(items.begin(), items.end());
    std::size_t atLeast = 0, all = 0;
    do {
      ++all;
      atLeast += value(items) >= observed - 1e-10;
    } while (std::next_permutation(items.begin(), items.end()));
    return static_cast<Real>(atLeast) / all;
  }

  static void ExpectWithinBinomialError(Real p, Real exact, int permutations) {
    const Real sd = std::sqrt(exact * (1 - exact) / permutations);
    EXPECT_NEAR(p, exact, 4 * sd + 2.0 / permutations) << "exact p " << exact;
  }

  DataMatrix data = MatrixFromRows({"110100", "111100", "010110", "001011", "000111", "101001", "011010"});
};

TEST_F(ExactPermutation, OneLevelPhiStMatchesTheEnumeratedPValue) {
  const std::vector<std::string> labels = {"i1", "i2", "i3", "i4", "i5", "i6", "i7"};
  const std::vector<std::size_t> sizes = {3, 4};
  const auto observedRun = Amova(data, WithAllData(data, {Group("AllData/p0", {"i1", "i2", "i3"}),
                                                          Group("AllData/p1", {"i4", "i5", "i6", "i7"})}),
                                 1, SimilaritySettings{});
  const Real exact = ExactP(labels, observedRun.amova.Va, [&](const std::vector<std::string>& order) {
    return StatisticOf(Cut(order, sizes), {}, 1, &AmovaValues::Va);
  });
  RandomGenerator random;
  random.Seed(5);
  const auto test = AmovaPermutationTest(observedRun.amova, observedRun.distances, data.individualLabels,
                                         WithAllData(data, {}), 9999, random);
  ASSERT_TRUE(test.ok()) << test.error();
  ExpectWithinBinomialError(test->pPhiST, exact, 9999);
}

TEST_F(ExactPermutation, TwoLevelPValuesMatchTheEnumeratedOnes) {
  // Region 0: p0 = i1 i2, p1 = i3 i4; region 1: p2 = i5 i6, p3 = i7.
  const std::vector<std::vector<std::string>> populations = {{"i1", "i2"}, {"i3", "i4"}, {"i5", "i6"}, {"i7"}};
  const std::vector<int> regionOf = {0, 0, 1, 1};
  std::vector<GroupEntry> entries = {Group("AllData/R0", {}), Group("AllData/R0/p0", populations[0]),
                                     Group("AllData/R0/p1", populations[1]), Group("AllData/R1", {}),
                                     Group("AllData/R1/p2", populations[2]), Group("AllData/R1/p3", populations[3])};
  const GroupList groups = WithAllData(data, entries);
  const auto observedRun = Amova(data, groups, 2, SimilaritySettings{});
  const AmovaValues& observed = observedRun.amova;

  const std::vector<std::string> all = {"i1", "i2", "i3", "i4", "i5", "i6", "i7"};
  const Real exactST = ExactP(all, -observed.Vc, [&](const std::vector<std::string>& order) {
    return -StatisticOf(Cut(order, {2, 2, 2, 1}), regionOf, 2, &AmovaValues::Vc);
  });
  // Within regions: every ordering of region 0's four and of region 1's three individuals.
  std::size_t atLeast = 0, count = 0;
  std::vector<std::string> first = {"i1", "i2", "i3", "i4"}, second = {"i5", "i6", "i7"};
  do {
    do {
      ++count;
      const std::vector<std::vector<std::string>> arranged = {
          {first[0], first[1]}, {first[2], first[3]}, {second[0], second[1]}, {second[2]}};
      atLeast += StatisticOf(arranged, regionOf, 2, &AmovaValues::Vb) >= observed.Vb - 1e-10;
    } while (std::next_permutation(second.begin(), second.end()));
  } while (std::next_permutation(first.begin(), first.end()));
  const Real exactSR = static_cast<Real>(atLeast) / count;
  // Whole populations among the two places of each region.
  const Real exactRT = ExactP(std::vector<int>{0, 1, 2, 3}, observed.Va, [&](const std::vector<int>& order) {
    std::vector<std::vector<std::string>> moved;
    for (int p : order) moved.push_back(populations[p]);
    return StatisticOf(moved, regionOf, 2, &AmovaValues::Va);
  });

  RandomGenerator random;
  random.Seed(9);
  const auto test =
      AmovaPermutationTest(observedRun.amova, observedRun.distances, data.individualLabels, groups, 4999, random);
  ASSERT_TRUE(test.ok()) << test.error();
  ExpectWithinBinomialError(test->pPhiST, exactST, 4999);
  ExpectWithinBinomialError(test->pPhiSR, exactSR, 4999);
  ExpectWithinBinomialError(test->pPhiRT, exactRT, 4999);
}

TEST_F(ExactPermutation, ResultsAndGeneratorDoNotDependOnTheCoresOrTheProgressTold) {
  const GroupList groups = WithAllData(data, {Group("AllData/R0", {}), Group("AllData/R0/a", {"i1", "i2"}),
                                              Group("AllData/R0/b", {"i3", "i4"}), Group("AllData/R1", {}),
                                              Group("AllData/R1/c", {"i5", "i6"}), Group("AllData/R1/d", {"i7"})});
  const auto run = Amova(data, groups, 2, SimilaritySettings{});
  std::vector<AmovaSignificance> results;
  std::vector<std::uint32_t> states;
  std::size_t told = 0;
  for (int threads : {1, 2}) {
    omp_set_num_threads(threads);
    RandomGenerator random;
    random.Seed(21);
    const StepProgress progress = [&](std::size_t done) { return (told = done) > 0; };
    results.push_back(*AmovaPermutationTest(run.amova, run.distances, data.individualLabels, groups, 999, random,
                                            threads == 2 ? progress : StepProgress{}));
    states.push_back(random.State());
  }
  EXPECT_EQ(told, AmovaPermutationSteps(2, 999));
  EXPECT_EQ(results[0].pPhiST, results[1].pPhiST);
  EXPECT_EQ(results[0].pPhiSR, results[1].pPhiSR);
  EXPECT_EQ(results[0].pPhiRT, results[1].pPhiRT);
  RandomGenerator serial;
  serial.Seed(21);
  serial.Skip(999 * ((3 + 2) + 3 + 6));  // Fisher-Yates draws: within regions, populations, all
  EXPECT_EQ(states[0], serial.State());
  EXPECT_EQ(states[1], serial.State());
  // A stop after the first round of PhiSR (999 permutations here) leaves the generator past them.
  RandomGenerator stopped;
  stopped.Seed(21);
  EXPECT_EQ(AmovaPermutationTest(run.amova, run.distances, data.individualLabels, groups, 999, stopped,
                                 [](std::size_t) { return false; }).error(), "");
  serial.Seed(21);
  serial.Skip(999 * (3 + 2));
  EXPECT_EQ(stopped.State(), serial.State());
}

TEST_F(ExactPermutation, AnIndividualInTwoPopulationsIsRefused) {
  const GroupList groups = WithAllData(data, {Group("AllData/a", {"i1", "i2", "i3"}), Group("AllData/b", {"i3", "i4"})});
  const auto run = Amova(data, groups, 1, SimilaritySettings{});
  RandomGenerator random;
  EXPECT_EQ(AmovaPermutationTest(run.amova, run.distances, data.individualLabels, groups, 9, random).error(),
            "The permutation test needs every individual in one population at most; i3 is in AllData/a and in "
            "AllData/b.");
}

}  // namespace
}  // namespace vorn
