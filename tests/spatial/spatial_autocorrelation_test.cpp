// The spatial autocorrelation held against a numpy implementation of Smouse & Peakall's formulas
// (connection matrices, the covariance matrix, the program's generator in the documented order)
// on random data and on the meadow workbook, its p against exact enumeration of a tiny case, the
// same results on one core and on two, and the refusals of the distance classes.
#include <gtest/gtest.h>
#include <omp.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <numeric>
#include <random>
#include <sstream>

#include "io/genalex_import.h"
#include "population/geographic_distance.h"
#include "similarity/similarity_matrix.h"
#include "spatial/spatial_autocorrelation.h"
#include "support/temp_dir.h"

namespace vorn {
namespace {

struct Sample {
  DataMatrix data;
  std::vector<CoordinatePoint> points;
  CoordinateKind kind = CoordinateKind::Planar;
};

// The squared Euclidean distances of the bands as the command takes them.
std::vector<Real> SquaredDistances(const DataMatrix& data) {
  const auto fill = BuildSimilarityMatrix(PackedScores(data), SimilarityMode::Standard, SimilarityCoefficient::SqEuclidean, 0);
  std::vector<Real> pairs;
  for (std::size_t i = 1; i < data.individualCount; ++i) {
    for (std::size_t j = 0; j < i; ++j) pairs.push_back(fill->matrix(i, j));
  }
  return pairs;
}

Sample RandomSample(std::size_t n, std::size_t loci, std::mt19937& engine) {
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  Sample s;
  s.data.individualCount = static_cast<std::uint16_t>(n);
  s.data.locusCount = static_cast<std::uint16_t>(loci);
  s.data.cells.resize(n * loci);
  for (std::size_t i = 0; i < n; ++i) s.points.push_back({uniform(engine) * 100, uniform(engine) * 60});
  // Bands more alike near each other: each locus has a gradient across x.
  for (std::size_t l = 0; l < loci; ++l) {
    const double slope = uniform(engine) - 0.5;
    for (std::size_t i = 0; i < n; ++i) {
      const double chance = 0.5 + slope * (s.points[i].first / 100 - 0.5);
      const double draw = uniform(engine);
      s.data.cells[l * n + i] = draw < 0.05 ? Missing : uniform(engine) < chance ? Presence : Absence;
    }
  }
  s.data.individualLabels = MakeNumberedLabels("i", n);
  return s;
}

Sample MeadowSample() {
  const auto table = ReadGenalex(testing::ReadFile(VORN_SOURCE_DIR "/examples/meadow_genalex.csv"), {});
  EXPECT_TRUE(table.ok());
  Sample s{table->matrix, {}, table->coordinates.kind};
  std::vector<std::uint32_t> everyone(s.data.individualCount);
  std::iota(everyone.begin(), everyone.end(), 0u);
  s.points = *PointsOf(table->coordinates, s.data.individualLabels, everyone);
  return s;
}

struct Expected {
  std::vector<std::vector<double>> classes;  // pairs, mean, r, p, null band, bootstrap interval
  double omega = 0, pOmega = 0;
  std::uint32_t state = 0;
};

Expected RunNumpy(const Sample& s, const std::string& rule, std::size_t count, int permutations, int bootstraps,
                  std::uint32_t seed) {
  testing::TempDir dir;
  const std::string input = (dir.Path() / "input.txt").string();
  std::ofstream out(input);
  out.precision(17);
  out << s.data.individualCount << " " << s.data.locusCount << " "
      << (s.kind == CoordinateKind::Planar ? "planar" : "latlon") << " " << permutations << " " << bootstraps << " "
      << seed << " " << rule << " " << count << "\n";
  for (std::size_t i = 0; i < s.data.individualCount; ++i) {
    out << s.points[i].first << " " << s.points[i].second;
    for (std::size_t l = 0; l < s.data.locusCount; ++l) out << " " << int(s.data.cells[l * s.data.individualCount + i]);
    out << "\n";
  }
  out.close();
  FILE* pipe = popen(("/usr/bin/python3 " VORN_SOURCE_DIR "/tests/spatial/spatial_numpy.py " + input).c_str(), "r");
  Expected e;
  std::string text;
  for (char buffer[4096]; std::fgets(buffer, sizeof buffer, pipe);) text += buffer;
  EXPECT_EQ(pclose(pipe), 0) << text;
  std::istringstream lines(text);
  for (std::size_t h = 0; h < count; ++h) {
    std::vector<double> values(8);
    for (double& v : values) lines >> v;
    e.classes.push_back(values);
  }
  lines >> e.omega >> e.pOmega >> e.state;
  EXPECT_TRUE(lines) << text;
  return e;
}

bool HaveNumpy() { return std::system("/usr/bin/python3 -c 'import numpy' >/dev/null 2>&1") == 0; }

void ExpectEqualsNumpy(const Sample& s, ClassRule rule, std::size_t count, int permutations, int bootstraps) {
  const std::uint32_t seed = 2718;
  const Expected e = RunNumpy(s, rule == ClassRule::EvenWidths ? "even_widths" : "even_pairs", count, permutations,
                              bootstraps, seed);
  const auto classes = MakeDistanceClasses(GeographicDistances(s.points, s.kind, false), {rule, count, {}});
  ASSERT_TRUE(classes.ok()) << classes.error();
  RandomGenerator random;
  random.Seed(seed);
  const auto result = AnalyseSpatialAutocorrelation(SquaredDistances(s.data), s.data.individualCount, *classes,
                                                    permutations, bootstraps, random);
  ASSERT_TRUE(result.ok()) << result.error();
  ASSERT_EQ(e.classes.size(), count);
  for (std::size_t h = 0; h < count; ++h) {
    const auto& c = result->classes[h];
    const auto& x = e.classes[h];
    EXPECT_EQ(classes->pairs[h], std::size_t(x[0])) << "class " << h;
    EXPECT_NEAR(double(classes->meanDistance[h]), x[1], 1e-9 * std::max(1.0, x[1]));
    EXPECT_NEAR(double(*c.r), x[2], 1e-9) << "class " << h;
    EXPECT_NEAR(double(*c.p), x[3], 1e-12) << "class " << h;
    EXPECT_NEAR(double(*c.nullLow), x[4], 1e-9);
    EXPECT_NEAR(double(*c.nullHigh), x[5], 1e-9);
    EXPECT_NEAR(double(*c.bootLow), x[6], 1e-9);
    EXPECT_NEAR(double(*c.bootHigh), x[7], 1e-9);
  }
  EXPECT_NEAR(double(*result->omega), e.omega, 1e-9);
  EXPECT_NEAR(double(*result->pOmega), e.pOmega, 1e-12);
  EXPECT_EQ(random.State(), e.state);
}

TEST(SpatialAutocorrelation, EveryStatisticEqualsNumpyOnRandomData) {
  if (!HaveNumpy()) GTEST_SKIP() << "numpy for /usr/bin/python3 not installed (apt-get install python3-numpy); skipped";
  std::mt19937 engine(17);
  ExpectEqualsNumpy(RandomSample(37, 40, engine), ClassRule::EvenWidths, 6, 199, 99);
  ExpectEqualsNumpy(RandomSample(30, 25, engine), ClassRule::EvenPairs, 4, 99, 49);
}

TEST(SpatialAutocorrelation, EveryStatisticEqualsNumpyOnTheMeadowWorkbook) {
  if (!HaveNumpy()) GTEST_SKIP() << "numpy for /usr/bin/python3 not installed (apt-get install python3-numpy); skipped";
  ExpectEqualsNumpy(MeadowSample(), ClassRule::EvenPairs, 3, 199, 199);
}

// r of the classes with individual order[i] at location i, from the connection matrices.
std::vector<Real> PermutedR(const std::vector<Real>& squared, std::size_t n, const DistanceClasses& classes,
                            const std::vector<std::size_t>& order) {
  const SpatialCovariance c = CovarianceOf(squared, n);
  const auto at = [&](std::size_t a, std::size_t b) {
    return a == b ? c.diagonal[a] : c.lower[std::max(a, b) * (std::max(a, b) - 1) / 2 + std::min(a, b)];
  };
  std::vector<Real> numerator(classes.Count(), 0), denominator(classes.Count(), 0);
  for (std::size_t i = 1, k = 0; i < n; ++i) {
    for (std::size_t j = 0; j < i; ++j, ++k) {
      numerator[classes.classOf[k]] += 2 * at(order[i], order[j]);
      denominator[classes.classOf[k]] += at(order[i], order[i]) + at(order[j], order[j]);
    }
  }
  std::vector<Real> r(classes.Count());
  for (std::size_t h = 0; h < r.size(); ++h) r[h] = numerator[h] / denominator[h];
  return r;
}

TEST(SpatialAutocorrelation, PIsWithinTheBinomialErrorOfExactEnumeration) {
  std::mt19937 engine(4);
  const Sample s = RandomSample(6, 12, engine);
  const auto squared = SquaredDistances(s.data);
  const auto classes = MakeDistanceClasses(GeographicDistances(s.points, s.kind, false), {ClassRule::EvenPairs, 3, {}});
  ASSERT_TRUE(classes.ok());
  const std::vector<Real> observed = PermutedR(squared, 6, *classes, {0, 1, 2, 3, 4, 5});
  std::vector<std::size_t> order = {0, 1, 2, 3, 4, 5};
  std::vector<double> reaching(3, 0);
  double all = 0;
  do {
    const auto r = PermutedR(squared, 6, *classes, order);
    for (std::size_t h = 0; h < 3; ++h) {
      reaching[h] += observed[h] >= 0 ? r[h] >= observed[h] - 1e-10L : r[h] <= observed[h] + 1e-10L;
    }
    ++all;
  } while (std::next_permutation(order.begin(), order.end()));
  RandomGenerator random;
  random.Seed(99);
  const int permutations = 9999;
  const auto result = AnalyseSpatialAutocorrelation(squared, 6, *classes, permutations, 0, random);
  ASSERT_TRUE(result.ok());
  for (std::size_t h = 0; h < 3; ++h) {
    const double exact = reaching[h] / all;
    EXPECT_NEAR(double(*result->classes[h].p), exact, 4 * std::sqrt(exact * (1 - exact) / permutations) + 1.0 / permutations)
        << "class " << h << ", exact p " << exact;
  }
}

TEST(SpatialAutocorrelation, ResultsAreTheSameOnOneCoreAndOnTwo) {
  std::mt19937 engine(8);
  const Sample s = RandomSample(120, 30, engine);
  const auto classes = MakeDistanceClasses(GeographicDistances(s.points, s.kind, false), {ClassRule::EvenWidths, 8, {}});
  ASSERT_TRUE(classes.ok());
  std::vector<std::uint32_t> states;
  std::vector<Real> values;
  for (int threads : {1, 2}) {
    omp_set_num_threads(threads);
    RandomGenerator random;
    random.Seed(5);
    const auto result = AnalyseSpatialAutocorrelation(SquaredDistances(s.data), 120, *classes, 400, 300, random);
    ASSERT_TRUE(result.ok());
    for (const auto& c : result->classes) values.insert(values.end(), {*c.p, *c.nullLow, *c.nullHigh, *c.bootLow, *c.bootHigh});
    values.push_back(*result->pOmega);
    states.push_back(random.State());
  }
  EXPECT_TRUE(std::equal(values.begin(), values.begin() + values.size() / 2, values.begin() + values.size() / 2));
  EXPECT_EQ(states[0], states[1]);
}

TEST(SpatialAutocorrelation, RefusalsNameTheClassOrTheCause) {
  const std::vector<Real> distances = {1, 2, 2, 3, 9, 10};
  const std::vector<Real> same(6, 0);
  const struct {
    std::vector<Real> geographic;
    ClassChoice choice;
    const char* message;
  } cases[] = {
      {same, {ClassRule::EvenWidths, 3, {}},
       "All individuals lie at one place (every geographic distance is 0): there are no distance classes."},
      {distances, {ClassRule::EvenWidths, 3, {}}, "Distance class 2 (3.3333333333333335 < d <= 6.666666666666667) holds no "
                                                  "pair of individuals; choose fewer classes."},
      {distances, {ClassRule::Bounds, 0, {2, 5, 8}}, "Distance class 3 (5 < d <= 8) holds no pair of individuals; choose other bounds."},
      {distances, {ClassRule::Bounds, 0, {5, 2}}, "The upper bounds of the distance classes must rise: 2 follows 5."},
  };
  for (const auto& c : cases) {
    const auto classes = MakeDistanceClasses(c.geographic, c.choice);
    ASSERT_FALSE(classes.ok());
    EXPECT_EQ(classes.error(), c.message);
  }
  const auto bounded = MakeDistanceClasses(distances, {ClassRule::Bounds, 0, {2.5, 9}});
  ASSERT_TRUE(bounded.ok());
  EXPECT_EQ(bounded->pairs, (std::vector<std::size_t>{3, 2}));
  EXPECT_EQ(bounded->leftOut, 1u);
  RandomGenerator random;
  // The pair beyond the last bound takes part in no class's permuted r.
  const auto left = AnalyseSpatialAutocorrelation({1, 4, 2, 3, 9, 5}, 4, *bounded, 99, 9, random);
  ASSERT_TRUE(left.ok());
  EXPECT_TRUE(left->classes[0].p && left->classes[1].p);
  const auto identical = AnalyseSpatialAutocorrelation(same, 4, *bounded, 9, 9, random);
  EXPECT_EQ(identical.error(), "Every genetic distance is 0 (the individuals do not differ): r is undefined in every class.");
}

}  // namespace
}  // namespace vorn
