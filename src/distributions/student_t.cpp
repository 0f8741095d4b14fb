#include "distributions/student_t.h"

#include <cmath>

#include "distributions/incomplete_beta.h"

namespace vorn {
namespace {

struct Split {
  Real high = 0;
  Real low = 0;
};

// (numerator) / (denominator), both given as high + low, as high + low: the remainder of the
// high quotient is exact (fma), so the low part carries the digits the quotient rounded off.
Split Quotient(Split numerator, Split denominator) {
  const Real q = numerator.high / denominator.high;
  const Real product = q * denominator.high;
  const Real productError = std::fma(q, denominator.high, -product);
  const Real remainder = ((numerator.high - product) - productError) + numerator.low - q * denominator.low;
  return {q, remainder / denominator.high};
}

}  // namespace

MathsValue StudentTwoSided(Real degreesOfFreedom, Real t) {
  if (!(degreesOfFreedom >= 1)) return {0, kMathsDomainError};
  if (std::isinf(t)) return {0, 0};
  // t^2 and ν + t^2 exactly as high + low parts, then x = ν / (ν + t^2), 1 - x = t^2 / (ν + t^2).
  const Real square = t * t;
  const Split squared{square, std::fma(t, t, -square)};
  const Real sum = degreesOfFreedom + square;
  const Real squareShare = sum - degreesOfFreedom;
  const Real sumError = (degreesOfFreedom - (sum - squareShare)) + (square - squareShare);
  const Split total{sum, sumError + squared.low};
  const Split x = Quotient({degreesOfFreedom, 0}, total);
  const Split complement = Quotient(squared, total);
  const IncompleteBetaValue p =
      IncompleteBeta(degreesOfFreedom / 2, 0.5L, BetaArgument{x.high, complement.high, x.low, complement.low});
  return {p.value, p.error};
}

}  // namespace vorn
