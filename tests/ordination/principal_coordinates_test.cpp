#include "ordination/principal_coordinates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "ordination/lapack_eigen.h"
#include "ordination/jacobi_eigen.h"
#include "ordination/pcoa_literal.h"
#include "support/temp_dir.h"

namespace vorn {
namespace {

using testing::LiteralPcoa;

DistanceMatrix Distances(std::size_t n, const std::vector<Real>& lowerTriangle) {
  DistanceMatrix d(n);
  d.entries = lowerTriangle;
  return d;
}

// Jaccard distances of random band profiles over few loci (so distances tie often), with
// missing scores left out pair by pair and the last `copies` individuals copies of the first.
DistanceMatrix RandomJaccard(std::size_t n, std::size_t loci, unsigned seed, std::size_t copies = 2) {
  std::mt19937 random(seed);
  std::vector<std::vector<int>> bands(n, std::vector<int>(loci));
  for (auto& profile : bands)
    for (int& b : profile) b = random() % 7 == 0 ? 9 : static_cast<int>(random() % 2);
  for (std::size_t c = 0; c < copies && c + 1 < n; ++c) bands[n - 1 - c] = bands[c];
  DistanceMatrix d(n);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      int shared = 0, either = 0;
      for (std::size_t l = 0; l < loci; ++l) {
        if (bands[i][l] == 9 || bands[j][l] == 9) continue;
        shared += bands[i][l] & bands[j][l];
        either += bands[i][l] | bands[j][l];
      }
      d(i, j) = either == 0 ? 1 : 1 - static_cast<Real>(shared) / either;
    }
  }
  return d;
}

// Euclidean distances of n points in the plane.
DistanceMatrix PlanarPoints(std::size_t n, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> u(-1, 1);
  std::vector<std::pair<double, double>> points(n);
  for (auto& point : points) point = {u(random), u(random)};
  DistanceMatrix d(n);
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = 0; j < i; ++j)
      d(i, j) = std::hypot(static_cast<Real>(points[i].first - points[j].first),
                           static_cast<Real>(points[i].second - points[j].second));
  return d;
}

TDistCluster Computed(const DistanceMatrix& d) {
  TDistCluster pcoa(d);
  EXPECT_TRUE(pcoa.Compute().ok());
  return pcoa;
}

// Equal to the last bit, the sign of a zero included.
bool SameBits(const std::vector<Real>& a, const std::vector<Real>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](Real x, Real y) { return x == y && std::signbit(x) == std::signbit(y); });
}

void ExpectLiteralNumbers(const EigenSystem& fast, const testing::LiteralEigen& literal) {
  ASSERT_TRUE(literal.converged);
  ASSERT_EQ(fast.outcome, JacobiOutcome::Converged);
  EXPECT_EQ(fast.rotations, literal.rotations);
  EXPECT_TRUE(SameBits(fast.values, literal.values));
  EXPECT_TRUE(SameBits(fast.vectors, literal.vectors));
}

// 32, 33 and 65 rows lie on and just past the blocks the pivot search keeps its largest keys for.
TEST(JacobiEigen, GivesTheNumbersOfTheLiteralMethodToTheLastBit) {
  for (const auto& [n, loci] : std::vector<std::pair<std::size_t, std::size_t>>{
           {2, 5}, {3, 4}, {5, 6}, {8, 3}, {12, 10}, {25, 8}, {32, 6}, {33, 4}, {40, 30}, {60, 12}, {65, 5}}) {
    for (unsigned seed = 1; seed <= 3; ++seed) {
      SCOPED_TRACE("n " + std::to_string(n) + ", seed " + std::to_string(seed));
      const DistanceMatrix d = RandomJaccard(n, loci, seed);
      const auto literal = LiteralPcoa(d);
      ASSERT_TRUE(literal.converged);
      for (const VectorThread thread : {VectorThread::Same, VectorThread::Own}) {
        ExpectLiteralNumbers(JacobiEigen(CentredMatrix(d), n, {}, thread), literal);
      }
    }
  }
}

// The elements are held as pairs of doubles while that is exact. Beyond it the numbers stay the
// literal ones: elements below the smallest normal double from the start; just above it, so that
// the rotations push some below it; near the largest double, so that the diagonal outgrows it.
TEST(JacobiEigen, GivesTheLiteralNumbersBeyondTheRangeOfDoubles) {
  constexpr std::size_t n = 14;
  for (const int exponent : {-1100, -1021, 1022}) {
    for (unsigned seed = 1; seed <= 3; ++seed) {
      SCOPED_TRACE("2^" + std::to_string(exponent) + ", seed " + std::to_string(seed));
      std::mt19937 random(seed);
      std::vector<std::vector<Real>> b(n, std::vector<Real>(n));
      std::vector<Real> upper;
      for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = i; j < n; ++j) {
          const Real mantissa = (1 + Real(random() % 1024) / 1024) * (random() % 2 ? 1 : -1);  // 11 bits
          b[i][j] = b[j][i] = std::ldexp(mantissa, exponent);
          upper.push_back(b[i][j]);
        }
      }
      const auto literal = testing::LiteralJacobi(b);
      for (const VectorThread thread : {VectorThread::Same, VectorThread::Own}) ExpectLiteralNumbers(JacobiEigen(upper, n, {}, thread), literal);
    }
  }
}

TEST(PrincipalCoordinates, ThreePointsOnALine) {
  const TDistCluster pcoa = Computed(Distances(3, {0, 1, 0, 2, 1, 0}));
  ASSERT_EQ(pcoa.PositiveCount(), 1u);
  EXPECT_NEAR(pcoa.FirstEigenvalue(), 2, 1e-15);
  EXPECT_NEAR(pcoa.Result().percentages[0], 100, 1e-12);
  const Real expected[] = {1, 0, -1};
  for (std::size_t i = 0; i < 3; ++i) EXPECT_NEAR(pcoa.Result().Coordinate(i, 0), expected[i], 1e-9);
}

TEST(PrincipalCoordinates, CountsNeitherTheNullAxisNorRoundingNoise) {
  // Points in the plane have exactly two positive axes; the centred matrix's null eigenvalue
  // and the other zero ones come out as tiny values of either sign.
  for (const std::size_t n : {4u, 10u, 30u, 60u}) {
    const TDistCluster pcoa = Computed(PlanarPoints(n, static_cast<unsigned>(n)));
    EXPECT_EQ(pcoa.PositiveCount(), 2u) << n << " points";
  }
  // Random Jaccard matrices: the null eigenvalue lies below the bound, never among the axes.
  for (unsigned seed = 1; seed <= 5; ++seed) {
    const DistanceMatrix d = RandomJaccard(30, 40, seed, 0);
    const EigenSystem eigen = JacobiEigen(CentredMatrix(d), d.n);
    const Real bound = PositiveEigenvalueBound(eigen.frobeniusSquare);
    const TDistCluster pcoa = Computed(d);
    std::size_t nearZero = 0;
    for (const Real lambda : eigen.values) nearZero += std::fabs(lambda) <= bound;
    EXPECT_GE(nearZero, 1u);
    EXPECT_LE(pcoa.PositiveCount(), d.n - 1);
  }
}

TEST(PrincipalCoordinates, FirstIndividualNeverNegativeAndPercentagesOfThePositiveSum) {
  for (unsigned seed = 1; seed <= 5; ++seed) {
    const TDistCluster pcoa = Computed(RandomJaccard(20, 15, seed));
    Real sum = 0, percent = 0;
    for (std::size_t k = 0; k < pcoa.PositiveCount(); ++k) {
      EXPECT_GE(pcoa.Result().Coordinate(0, k), 0) << "axis " << k;
      sum += pcoa.Result().eigenvalues[k];
      percent += pcoa.Result().percentages[k];
    }
    EXPECT_EQ(sum, pcoa.PositiveSum());
    EXPECT_NEAR(percent, 100, 1e-12);
  }
}

TEST(PrincipalCoordinates, GrandMeanDividesByTheTrueSquareAbove255Individuals) {
  // 300 squared does not fit 16 bits; with a wrong divisor the centred rows would not sum to 0.
  const DistanceMatrix d = RandomJaccard(300, 20, 7);
  const std::vector<Real> b = CentredMatrix(d);
  for (std::size_t i = 0; i < d.n; i += 37) {
    Real sum = 0;
    for (std::size_t j = 0; j < d.n; ++j) sum += b[UpperOffset(d.n, std::min(i, j)) + std::max(i, j)];
    EXPECT_NEAR(sum, 0, 1e-14) << "row " << i;
  }
}

TEST(PrincipalCoordinates, WithoutOffDiagonalMassConvergesAtOnce) {
  TDistCluster pcoa(Distances(3, {0, 0, 0, 0, 0, 0}));
  ASSERT_TRUE(pcoa.Compute().ok());
  EXPECT_EQ(pcoa.Rotations(), 0u);
  EXPECT_EQ(pcoa.PositiveCount(), 0u);
  EXPECT_EQ(pcoa.FirstEigenvalue(), 0);
}

TEST(PrincipalCoordinates, RotationLimitGrowsWithTheMatrix) {
  EXPECT_EQ(JacobiRotationLimit(2), 10000u);
  EXPECT_EQ(JacobiRotationLimit(20), 10000u);  // 9500 would be fewer than before
  EXPECT_EQ(JacobiRotationLimit(100), 247500u);
  // 120 individuals need more than 10000 rotations and converge.
  const TDistCluster pcoa = Computed(RandomJaccard(120, 60, 3));
  EXPECT_GT(pcoa.Rotations(), 10000u);
}

TEST(PrincipalCoordinates, ProgressIsToldAndCancelStops) {
  const DistanceMatrix d = RandomJaccard(50, 30, 2);
  std::vector<std::size_t> told;
  TDistCluster pcoa(d);
  const Status status = pcoa.Compute([&](std::size_t rotations, Real share) {
    told.push_back(rotations);
    EXPECT_GT(share, 0);
    EXPECT_LT(share, 1);
    return told.size() < 2;
  });
  EXPECT_FALSE(status.ok());
  EXPECT_TRUE(pcoa.Cancelled());
  EXPECT_EQ(told, (std::vector<std::size_t>{1024, 2048}));
  EXPECT_EQ(pcoa.PositiveCount(), 0u);
}

TEST(CheckOrdinable, NamesWhatIsNoDistance) {
  const Real nan = std::nanl("");
  const struct {
    std::size_t n;
    std::vector<Real> entries;
    const char* message;
  } cases[] = {
      {1, {0}, "A principal coordinate analysis needs at least 2 individuals, but the current data matrix holds 1."},
      {3, {0, nan, 0, -1, 0.5, 0}, "The distance matrix holds 1 entry without a value (NaN) and 1 negative entry (an "
                                   "undefined Nei-Li distance is -1), which are no distances; the principal coordinate "
                                   "analysis needs distances between every pair."},
      {3, {0, -1, 0, -1, 0.5, 0}, "The distance matrix holds 2 negative entries (an undefined Nei-Li distance is -1), "
                                  "which are no distances; the principal coordinate analysis needs distances between "
                                  "every pair."},
      {2, {0, INFINITY, 0}, "The distance matrix holds 1 entry without a value (NaN), which is no distance; the "
                            "principal coordinate analysis needs distances between every pair."},
  };
  for (const auto& c : cases) {
    const Status status = CheckOrdinable(Distances(c.n, c.entries));
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error(), c.message);
  }
  EXPECT_TRUE(CheckOrdinable(Distances(2, {0, 0.5, 0})).ok());
}

// Against numpy's eigh. The Jacobi rotations: eigenvalues to the accuracy the tolerance allows
// (the norm share left off the diagonal, 2.4e-8, over the gaps between eigenvalues), coordinates
// to 1e-3 of the axis's largest. The LAPACK solvers: eigenvalues to 1e-9 relative (1e-15 of the
// largest for those near 0), coordinates to 1e-8.
TEST(PrincipalCoordinates, AgreesWithAnExactEigenDecomposition) {
  if (std::system("/usr/bin/python3 -c 'import numpy' 2>/dev/null") != 0) {
    GTEST_SKIP() << "python3-numpy is not installed: the comparison with numpy's eigh is skipped";
  }
  const std::string script = (std::filesystem::path(VORN_TEST_DATA).parent_path() / "ordination" / "pcoa_numpy.py").string();
  testing::TempDir dir;
  for (const auto& [n, loci] : std::vector<std::pair<std::size_t, std::size_t>>{{3, 5}, {40, 60}, {120, 200}, {300, 80}}) {
    const DistanceMatrix d = RandomJaccard(n, loci, 11, 0);
    std::ostringstream text;
    text.precision(21);
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = 0; j < n; ++j) text << d(i, j) << (j + 1 < n ? " " : "\n");
    }
    const std::string input = dir.Write("d.txt", text.str()), output = (dir.Path() / "e.txt").string();
    ASSERT_EQ(std::system(("/usr/bin/python3 " + script + " " + input + " " + output).c_str()), 0);
    std::ifstream exact(output);
    std::vector<double> values(n), coordinates(n * n);
    for (double& x : values) exact >> x;
    for (double& x : coordinates) exact >> x;
    ASSERT_TRUE(exact);

    const struct {
      PcoaSolver solver;
      double value, valueFloor, coordinate;
      const char* name;
    } solvers[] = {{PcoaSolver::Jacobi, 0, 1e-6, 1e-3, "Jacobi"},
                   {PcoaSolver::DivideAndConquer, 1e-9, 1e-15, 1e-8, "divide and conquer"},
                   {PcoaSolver::RelativelyRobust, 1e-9, 1e-15, 1e-8, "relatively robust"}};
    for (const auto& s : solvers) {
      if (s.solver == PcoaSolver::Jacobi && n > 120) continue;  // slow
      TDistCluster pcoa(d, s.solver);
      ASSERT_TRUE(pcoa.Compute().ok());
      SCOPED_TRACE("n " + std::to_string(n) + ", " + s.name);
      ASSERT_GE(pcoa.PositiveCount(), 1u);
      for (std::size_t k = 0; k < pcoa.PositiveCount(); ++k) {
        const Real lambda = pcoa.Result().eigenvalues[k];
        EXPECT_NEAR(lambda, values[k], std::max(s.value * std::fabs(values[k]), s.valueFloor * values[0])) << "eigenvalue " << k;
        // Vectors of nearly equal eigenvalues are not determined; compare the well separated ones.
        const double gap = std::min(k > 0 ? values[k - 1] - values[k] : values[0], values[k] - values[k + 1]);
        if (k >= 5 || gap < 1e-2 * values[0]) continue;
        double largest = 0;
        for (std::size_t i = 0; i < n; ++i) largest = std::max(largest, std::fabs(coordinates[i * n + k]));
        for (std::size_t i = 0; i < n; ++i)
          EXPECT_NEAR(pcoa.Result().Coordinate(i, k), coordinates[i * n + k], s.coordinate * largest) << "axis " << k;
      }
    }
  }
}

// The LAPACK solvers agree with the rotations within what the Jacobi tolerance allows: every
// eigenvalue within its bound, and the same positive axes apart from values inside it.
TEST(PrincipalCoordinates, LapackSolversAgreeWithTheRotations) {
  for (const std::size_t n : {2u, 5u, 30u, 90u}) {
    const DistanceMatrix d = RandomJaccard(n, 20, static_cast<unsigned>(n));
    const EigenSystem jacobi = JacobiEigen(CentredMatrix(d), n);
    const SolverMatrix direct = CentredSolverMatrix(d);
    EXPECT_TRUE(direct.columns == SolverMatrixOf(CentredMatrix(d), n).columns);
    EXPECT_EQ(direct.frobeniusSquare, SolverMatrixOf(CentredMatrix(d), n).frobeniusSquare);
    const Real bound = PositiveEigenvalueBound(jacobi.frobeniusSquare);
    for (const PcoaSolver solver : {PcoaSolver::DivideAndConquer, PcoaSolver::RelativelyRobust}) {
      SCOPED_TRACE("n " + std::to_string(n) + ", solver " + std::to_string(static_cast<int>(solver)));
      const EigenSystem fast = solver == PcoaSolver::DivideAndConquer ? DivideAndConquerEigen(direct, n)
                                                                      : RelativelyRobustEigen(direct, n);
      ASSERT_EQ(fast.outcome, JacobiOutcome::Converged);
      EXPECT_NEAR(fast.frobeniusSquare, jacobi.frobeniusSquare, 1e-15 * jacobi.frobeniusSquare);
      for (std::size_t k = 0; k < n; ++k) EXPECT_NEAR(fast.values[k], jacobi.values[k], bound) << "value " << k;
      TDistCluster rotations(d), lapack(d, solver);
      ASSERT_TRUE(rotations.Compute().ok() && lapack.Compute().ok());
      EXPECT_EQ(fast.vectors.size(), n * lapack.PositiveCount());  // vectors of the positive values only
      EXPECT_LE(rotations.PositiveCount(), lapack.PositiveCount());
      for (std::size_t k = rotations.PositiveCount(); k < lapack.PositiveCount(); ++k) {
        EXPECT_LE(lapack.Result().eigenvalues[k], 2 * bound);
      }
    }
  }
}

}  // namespace
}  // namespace vorn
