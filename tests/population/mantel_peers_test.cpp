// The Mantel test held against vegan's mantel (Pearson) on random matrices, its p the same on one
// core and on two, and the great-circle distance against the spherical law of cosines written
// anew in long double for city pairs far enough apart for that formula to be exact.
#include <gtest/gtest.h>
#include <omp.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <random>
#include <sstream>

#include "population/geographic_distance.h"
#include "population/mantel_test.h"
#include "support/temp_dir.h"

namespace vorn {
namespace {

// Geographic distances of random points and genetic ones that grow with them, plus noise.
struct Matrices {
  std::size_t n = 0;
  std::vector<Real> genetic, geographic;
};

Matrices RandomMatrices(std::size_t n, double noise, std::mt19937& engine) {
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  std::vector<CoordinatePoint> points(n);
  for (auto& point : points) point = {uniform(engine) * 10, uniform(engine) * 10};
  Matrices m{n, {}, GeographicDistances(points, CoordinateKind::Planar, false)};
  for (Real d : m.geographic) m.genetic.push_back(d / 14 + noise * uniform(engine));
  return m;
}

// Strict lower triangle written as a full square, for R's as.dist.
void WriteSquare(const std::string& path, const std::vector<Real>& triangle, std::size_t n) {
  std::ofstream out(path);
  out.precision(21);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < n; ++j) {
      const std::size_t a = std::max(i, j), b = std::min(i, j);
      out << (i == j ? Real(0) : triangle[a * (a - 1) / 2 + b]) << (j + 1 < n ? " " : "\n");
    }
  }
}

TEST(MantelPeers, RAndPEqualVegansMantel) {
  if (std::system("Rscript -e 'library(vegan)' >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "R with vegan not installed (apt-get install r-base-core r-cran-vegan); skipped";
  }
  std::mt19937 engine(67);
  testing::TempDir dir;
  for (double noise : {0.2, 15.0, 40.0}) {
    const Matrices m = RandomMatrices(40, noise, engine);
    const std::string x = (dir.Path() / "x.txt").string(), y = (dir.Path() / "y.txt").string();
    WriteSquare(x, m.genetic, m.n);
    WriteSquare(y, m.geographic, m.n);
    const std::string command = "Rscript -e 'suppressMessages(library(vegan)); set.seed(3); "
                                "x <- as.dist(as.matrix(read.table(\"" + x + "\"))); y <- as.dist(as.matrix(read.table(\"" +
                                y + "\"))); t <- mantel(x, y, method = \"pearson\", permutations = 999); "
                                "cat(sprintf(\"%.17g %.17g\\n\", t$statistic, t$signif))'";
    FILE* pipe = popen(command.c_str(), "r");
    double r = NAN, p = NAN;
    ASSERT_TRUE(pipe);
    EXPECT_EQ(std::fscanf(pipe, "%lf %lf", &r, &p), 2);
    EXPECT_EQ(pclose(pipe), 0) << command;
    RandomGenerator random;
    random.Seed(11);
    const auto ours = MantelTest(m.genetic, m.geographic, m.n, "x", "y", 999, random);
    ASSERT_TRUE(ours.ok()) << ours.error();
    EXPECT_NEAR(double(ours->r), r, 1e-12) << "noise " << noise;
    // Two estimates of one p from 999 permutations each: within five standard errors.
    const double error = std::sqrt(2 * std::max(p * (1 - p), 1e-3) / 999);
    EXPECT_NEAR(double(ours->p), p, 5 * error) << "noise " << noise << ", r " << r;
  }
}

TEST(MantelPeers, PIsTheSameOnOneCoreAndOnTwoAndTheGeneratorEndsAlike) {
  std::mt19937 engine(5);
  const Matrices m = RandomMatrices(150, 3.0, engine);  // enough pairs for both cores
  std::vector<std::pair<Real, std::uint32_t>> runs;
  for (int threads : {1, 2}) {
    omp_set_num_threads(threads);
    RandomGenerator random;
    random.Seed(42);
    const auto result = MantelTest(m.genetic, m.geographic, m.n, "x", "y", 499, random);
    ASSERT_TRUE(result.ok());
    runs.emplace_back(result->p, random.State());
  }
  EXPECT_EQ(runs[0], runs[1]);
  RandomGenerator serial;
  serial.Seed(42);
  serial.Skip(499 * (m.n - 1));
  EXPECT_EQ(runs[0].second, serial.State());
}

TEST(MantelPeers, GreatCircleDistancesEqualTheLawOfCosines) {
  struct City {
    double latitude, longitude;
  };
  const std::vector<std::pair<City, City>> pairs = {
      {{48.8566, 2.3522}, {40.7128, -74.0060}},      // Paris, New York
      {{51.5074, -0.1278}, {35.6762, 139.6503}},     // London, Tokyo
      {{-33.8688, 151.2093}, {-33.4489, -70.6693}},  // Sydney, Santiago (across the 180th meridian)
      {{64.1466, -21.9426}, {-54.8019, -68.3030}},   // Reykjavik, Ushuaia
  };
  const Real radians = std::numbers::pi_v<Real> / 180;
  for (const auto& [a, b] : pairs) {
    const Real phi1 = a.latitude * radians, phi2 = b.latitude * radians;
    const Real cosine = std::sin(phi1) * std::sin(phi2) +
                        std::cos(phi1) * std::cos(phi2) * std::cos((Real(b.longitude) - a.longitude) * radians);
    const Real expected = 6371.0088L * std::acos(cosine);
    EXPECT_NEAR(double(HaversineKm({a.latitude, a.longitude}, {b.latitude, b.longitude})), double(expected), 1e-9);
  }
  EXPECT_NEAR(double(HaversineKm({0, 0}, {0, 180})), double(6371.0088L * std::numbers::pi_v<Real>), 1e-9);
}

TEST(MantelPeers, CentresOfPlacesAcrossTheAntimeridianLieAmongThem) {
  const auto centre = Centroid({{10, 179}, {-10, -179}}, CoordinateKind::LatitudeLongitude, "P");
  ASSERT_TRUE(centre.ok());
  EXPECT_NEAR(centre->first, 0, 1e-12);
  EXPECT_NEAR(std::fabs(centre->second), 180, 1e-12);
}

}  // namespace
}  // namespace vorn
