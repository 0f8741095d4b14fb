#include "distributions/gamma_functions.h"

#include <cmath>

namespace vorn {
namespace {

constexpr Real kStirlingFrom = 13;
constexpr Real kHalfLog2Pi = 0.918938533204672741780329736405617639861L;
constexpr Real kSqrt2Pi = 2.506628274631000502415765284811045253007L;

// B(2k) / (2k (2k - 1)) for k = 1 .. 10: the coefficients of 1/x^(2k-1) in Stirling's series.
constexpr Real kStirling[] = {
    1.0L / 12,          -1.0L / 360,          1.0L / 1260,        -1.0L / 1680,
    1.0L / 1188,        -691.0L / 360360,     1.0L / 156,         -3617.0L / 122400,
    43867.0L / 244188,  -174611.0L / 125400,
};

// The tail of Stirling's series: ln Γ(x) - ((x - 1/2) ln x - x + ln √(2π)), for x >= 13.
Real StirlingTail(Real x) {
  const Real inverse = 1 / x;
  const Real inverseSquare = inverse * inverse;
  Real sum = 0;
  for (int k = 9; k >= 0; --k) sum = sum * inverseSquare + kStirling[k];
  return sum * inverse;
}

// x (x + 1) ... (x + n - 1) for the n steps that bring x to at least 13, and x + n.
struct Shift {
  Real product = 1;
  Real shifted = 0;
};
Shift ShiftUp(Real x) {
  Shift shift{1, x};
  while (shift.shifted < kStirlingFrom) {
    shift.product *= shift.shifted;
    shift.shifted += 1;
  }
  return shift;
}

// Γ(x) for x >= 13: √(2π) x^(x - 1/2) e^-x e^tail, the power split in two above 1024 so that
// x^(x - 1/2) does not overflow before e^-x brings it down.
Real StirlingGamma(Real x) {
  const Real scale = std::exp(StirlingTail(x)) * kSqrt2Pi;
  if (x < 1024) return scale * std::pow(x, x - 0.5L) / std::exp(x);
  const Real half = std::pow(x, x / 2 - 0.25L);
  return scale * half * (half / std::exp(x));
}

}  // namespace

Real Gamma(Real x) {
  if (x >= kStirlingFrom) return StirlingGamma(x);
  const Shift shift = ShiftUp(x);
  return StirlingGamma(shift.shifted) / shift.product;
}

Real LogGamma(Real x) {
  if (x < kStirlingFrom) return std::log(Gamma(x));
  return (x - 0.5L) * std::log(x) - x + kHalfLog2Pi + StirlingTail(x);
}

Real LogInverseBeta(Real a, Real b) {
  if (a < b) std::swap(a, b);
  const Real sum = a + b;
  if (a < kStirlingFrom) return std::log(Gamma(sum) / (Gamma(a) * Gamma(b)));
  // ln Γ(a + b) - ln Γ(a) from Stirling's series with the large terms taken together:
  // (a + b - 1/2) ln(a + b) - (a - 1/2) ln a - b = (a - 1/2) ln(1 + b/a) + b ln(a + b) - b.
  const Real tails = StirlingTail(sum) - StirlingTail(a);
  if (b < kStirlingFrom) {
    return (a - 0.5L) * std::log1p(b / a) + b * std::log(sum) - b + tails - LogGamma(b);
  }
  // Both large: (a - 1/2) ln(1 + b/a) + (b - 1/2) ln(1 + a/b) + ln(a + b)/2 - ln √(2π).
  return (a - 0.5L) * std::log1p(b / a) + (b - 0.5L) * std::log1p(a / b) + 0.5L * std::log(sum) - kHalfLog2Pi +
         tails - StirlingTail(b);
}

}  // namespace vorn
