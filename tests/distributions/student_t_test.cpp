// The gamma functions, the incomplete beta function and Student's two-sided tail: the branch
// taken at chosen points, and the values against a 60-digit reference (student_t_reference.h,
// written by student_t_reference.py with mpmath).
#include "distributions/student_t.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>

#include "distributions/gamma_functions.h"
#include "distributions/incomplete_beta.h"
#include "distributions/student_t_reference.h"

namespace vorn {
namespace {

// |actual / expected - 1|, or 0 when both lie below the normal range (the routines give 0 under
// e^MINLOG, the smallest normal extended real).
Real RelativeError(Real actual, Real expected) {
  if (expected == 0) return actual < LDBL_MIN ? 0 : 1;
  return std::fabs(actual / expected - 1);
}

TEST(GammaFunctions, KnownValues) {
  const Real pi = 3.14159265358979323846264338327950288L;
  struct Case {
    Real x, gamma;
  } cases[] = {{0.5L, std::sqrt(pi)}, {1, 1}, {2, 1}, {5, 24}, {12.5L, 0}, {13, 479001600}, {20, 121645100408832000.0L}};
  cases[4].gamma = cases[0].gamma * 0.5L;
  for (int k = 1; k < 12; ++k) cases[4].gamma *= k + 0.5L;  // Γ(12.5) = Γ(1/2) · 1/2 · 3/2 ··· 23/2
  for (const Case& c : cases) {
    EXPECT_LE(RelativeError(Gamma(c.x), c.gamma), 4 * LDBL_EPSILON) << static_cast<double>(c.x);
    EXPECT_LE(std::fabs(LogGamma(c.x) - std::log(c.gamma)), 4 * LDBL_EPSILON * std::max<Real>(1, std::log(c.gamma)));
  }
}

TEST(GammaFunctions, InverseBetaMatchesTheGammaRatioWhereBothAreExact) {
  for (Real a : {0.5L, 3.0L, 12.0L, 14.0L, 200.0L, 1000.0L}) {
    for (Real b : {0.5L, 2.0L, 13.5L, 300.0L}) {
      const Real direct = std::log(Gamma(a + b) / (Gamma(a) * Gamma(b)));
      EXPECT_LE(std::fabs(LogInverseBeta(a, b) - direct), 64 * LDBL_EPSILON * std::max<Real>(1, std::fabs(direct)))
          << static_cast<double>(a) << ", " << static_cast<double>(b);
    }
  }
}

TEST(IncompleteBeta, BranchesAtChosenPoints) {
  struct Case {
    Real a, b, x;
    BetaPath path;
    bool swapped, logarithmic;
  } cases[] = {
      {2, 3, 0.2L, BetaPath::Series, false, false},              // b x <= 1, x <= 0.95
      {5, 10, 0.3L, BetaPath::FirstFraction, false, false},      // x (a+b-2) - (a-1) = -0.1
      {5, 10, 0.32L, BetaPath::SecondFraction, false, false},    // x (a+b-2) - (a-1) = 0.16
      {10, 0.5L, 0.99L, BetaPath::Series, true, false},          // above the mean; b' x' = 0.1
      {10, 5, 0.85L, BetaPath::FirstFraction, true, false},      // above the mean; b' x' = 1.5
      {10, 5, 0.68L, BetaPath::SecondFraction, true, false},     // above the mean, x' = 0.32
      {3000, 0.5L, 0.5L, BetaPath::Series, false, true},         // a + b >= MAXGAM
      {1000, 1000, 0.45L, BetaPath::FirstFraction, false, true},
      {2000, 0.5L, 0.999L, BetaPath::SecondFraction, false, true},  // below the mean, x > 0.95
      {50000, 0.5L, 0.5L, BetaPath::Series, false, true},        // below e^MINLOG: 0
  };
  for (const Case& c : cases) {
    const IncompleteBetaValue value = IncompleteBeta(c.a, c.b, c.x);
    const std::string where = std::to_string(static_cast<double>(c.a)) + ", " + std::to_string(static_cast<double>(c.b)) +
                              ", " + std::to_string(static_cast<double>(c.x));
    EXPECT_EQ(value.path, c.path) << where;
    EXPECT_EQ(value.swapped, c.swapped) << where;
    EXPECT_EQ(value.logarithmic, c.logarithmic) << where;
    EXPECT_EQ(value.error, 0) << where;
  }
  EXPECT_EQ(IncompleteBeta(50000, 0.5L, 0.5L).value, 0);
}

TEST(IncompleteBeta, EdgesAndDomainErrors) {
  struct Case {
    Real a, b, x, value;
    int error;
  } cases[] = {
      {2, 3, 0, 0, 0}, {2, 3, 1, 1, 0}, {0, 3, 0.5L, 0, kMathsDomainError}, {2, -1, 0.5L, 0, kMathsDomainError},
      {2, 3, -0.1L, 0, kMathsDomainError}, {2, 3, 1.5L, 1, kMathsDomainError}, {2, 3, NAN, 0, kMathsDomainError},
  };
  for (const Case& c : cases) {
    const IncompleteBetaValue value = IncompleteBeta(c.a, c.b, c.x);
    EXPECT_EQ(value.value, c.value) << static_cast<double>(c.x);
    EXPECT_EQ(value.error, c.error) << static_cast<double>(c.x);
  }
}

// 1e-15 wherever one shape is below 1000, which covers every argument of the t distribution
// (b = 1/2). Where both are large the logarithm of the factor x^a (1-x)^b / B(a, b) is itself
// large (near 7e4 for a = b = 5e4) and carries about 1e-19 of that: 1e-14 there.
TEST(IncompleteBeta, AgreesWithTheReferenceTo1e15) {
  Real worst = 0;
  for (const auto& point : testing::kBetaReference) {
    const Real error = RelativeError(IncompleteBeta(point.a, point.b, point.x).value, point.value);
    const bool bothLarge = std::min(point.a, point.b) >= 1000;
    if (!bothLarge) worst = std::max(worst, error);
    EXPECT_LE(error, bothLarge ? 1e-14L : 1e-15L) << "I_" << static_cast<double>(point.x) << "(" << static_cast<double>(point.a) << ", "
                             << static_cast<double>(point.b) << ")";
  }
  std::printf("incomplete beta: largest relative error %.3Lg where a shape is below 1000\n", worst);
}

TEST(StudentTwoSided, AgreesWithTheReferenceTo1e15) {
  Real worst = 0;
  for (const auto& point : testing::kTailReference) {
    const MathsValue p = StudentTwoSided(point.degrees, point.t);
    EXPECT_EQ(p.error, 0);
    const Real error = RelativeError(p.value, point.p);
    worst = std::max(worst, error);
    EXPECT_LE(error, 1e-15L) << "ν = " << static_cast<double>(point.degrees) << ", t = " << static_cast<double>(point.t);
  }
  std::printf("t tail: largest relative error %.3Lg over %zu points\n", worst, std::size(testing::kTailReference));
}

TEST(StudentTwoSided, EqualIndicesGiveOneAndFewDegreesAreADomainError) {
  EXPECT_EQ(StudentTwoSided(7, 0).value, 1);
  EXPECT_EQ(StudentTwoSided(1, INFINITY).value, 0);
  const MathsValue none = StudentTwoSided(0, 2);
  EXPECT_EQ(none.value, 0);
  EXPECT_EQ(none.error, kMathsDomainError);
  EXPECT_EQ(MathsErrorText(none.error), "Maths error in t-distribution. Error code: -1");
}

}  // namespace
}  // namespace vorn
