#include "distributions/incomplete_beta.h"

#include <cfloat>
#include <cmath>
#include <utility>

#include "distributions/gamma_functions.h"

namespace vorn {
namespace {

constexpr Real kBig = 9.223372036854775808e18L;  // 2^63
constexpr Real kBigInverse = kMachineEpsilon;
constexpr int kMaxIterations = 400;

// A product kept as a significand and a power of two, so that factors beyond the extended range
// (x^a near 2^-50000 with a large Γ ratio) keep their digits until the product is formed.
class ScaledProduct {
 public:
  void Multiply(Real factor) {
    int exponent = 0;
    significand_ = std::frexp(significand_ * factor, &exponent);
    exponent_ += exponent;
  }
  // Multiplies by a value v given as power(k) = v^(1/k): by power(k), k times, for the smallest
  // power of two k whose part is a normal number.
  template <typename Power>
  void MultiplyInParts(Power power) {
    std::uint64_t parts = 1;
    Real part = power(1);
    while (!std::isnormal(part)) part = power(static_cast<Real>(parts *= 2));
    for (std::uint64_t k = 0; k < parts; ++k) Multiply(part);
  }
  Real Value() const { return std::ldexp(significand_, static_cast<int>(exponent_)); }

 private:
  Real significand_ = 1;
  long exponent_ = 0;
};

// A base of a power, with the low part of its value.
struct Base {
  Real high = 0;
  Real low = 0;
};

// base^exponent, corrected to first order for the low part: (h + l)^e = h^e (1 + e l / h).
Real Power(Base base, Real exponent) { return std::pow(base.high, exponent) * (1 + exponent * base.low / base.high); }

// x^a (1 - x)^e Γ(a + b) / (Γ(a) Γ(b)) * scale through logarithms (e = b for the continued
// fractions, 0 for the series): 0 below kMinLog. Above it the powers themselves are multiplied,
// not their logarithms added, because a ln x near 1e4 in extended precision already carries an
// absolute error near 1e-15.
Real LogarithmicFactor(Real a, Real b, Base x, Base complement, Real complementExponent, Real scale) {
  const Real logInverseBeta = LogInverseBeta(a, b);
  const Real exponent =
      a * std::log(x.high) + complementExponent * std::log(complement.high) + logInverseBeta + std::log(scale);
  if (exponent < kMinLog) return 0;
  ScaledProduct factor;
  factor.Multiply(scale);
  factor.MultiplyInParts([&](Real k) { return std::exp(logInverseBeta / k); });
  factor.MultiplyInParts([&](Real k) { return std::pow(complement.high, complementExponent / k); });
  factor.MultiplyInParts([&](Real k) { return std::pow(x.high, a / k); });
  factor.Multiply(Power({1, complement.low / complement.high}, complementExponent) * Power({1, x.low / x.high}, a));
  return factor.Value();
}

// I_x(a, b) by its power series, for b x <= 1 and x <= 0.95.
Real PowerSeries(Real a, Real b, Base base, Base complement, bool& logarithmic) {
  const Real x = base.high;
  const Real inverseA = 1 / a;
  Real u = (1 - b) * x;
  Real v = u / (a + 1);
  const Real first = v;
  Real t = u;
  Real n = 2;
  Real sum = 0;
  const Real smallest = kMachineEpsilon * inverseA;
  while (std::fabs(v) > smallest) {
    u = (n - b) * x / n;
    t *= u;
    v = t / (a + n);
    sum += v;
    n += 1;
  }
  sum += first;
  sum += inverseA;
  if (a + b < kMaxGamma && std::fabs(a * std::log(x)) < kMaxLog) {
    return sum * (Gamma(a + b) / (Gamma(a) * Gamma(b))) * Power(base, a);
  }
  logarithmic = true;
  return LogarithmicFactor(a, b, base, complement, 0, sum);
}

// Keeps the convergents of a continued fraction within 2^-63 .. 2^63.
void Rescale(Real pk, Real qk, Real& pkm1, Real& pkm2, Real& qkm1, Real& qkm2) {
  if (std::fabs(qk) + std::fabs(pk) > kBig) {
    pkm2 *= kBigInverse;
    pkm1 *= kBigInverse;
    qkm2 *= kBigInverse;
    qkm1 *= kBigInverse;
  }
  if (std::fabs(qk) < kBigInverse || std::fabs(pk) < kBigInverse) {
    pkm2 *= kBig;
    pkm1 *= kBig;
    qkm2 *= kBig;
    qkm1 *= kBig;
  }
}

// The two continued fractions differ in their variable and in how their eight coefficients
// start and move; the iteration is one: two partial fractions per step, stopping when the
// relative change falls below 3 MACHEP or after 400 steps.
struct Coefficients {
  Real k[8];
  Real step[8];
};

Real ContinuedFraction(Real z, Coefficients c) {
  Real pkm2 = 0, qkm2 = 1, pkm1 = 1, qkm1 = 1;
  Real answer = 1;
  Real ratio = 1;
  const Real threshold = 3 * kMachineEpsilon;
  for (int n = 0; n < kMaxIterations; ++n) {
    Real xk = -(z * c.k[0] * c.k[1]) / (c.k[2] * c.k[3]);
    Real pk = pkm1 + pkm2 * xk;
    Real qk = qkm1 + qkm2 * xk;
    pkm2 = std::exchange(pkm1, pk);
    qkm2 = std::exchange(qkm1, qk);

    xk = (z * c.k[4] * c.k[5]) / (c.k[6] * c.k[7]);
    pk = pkm1 + pkm2 * xk;
    qk = qkm1 + qkm2 * xk;
    pkm2 = std::exchange(pkm1, pk);
    qkm2 = std::exchange(qkm1, qk);

    if (qk != 0) ratio = pk / qk;
    Real change = 1;
    if (ratio != 0) {
      change = std::fabs((answer - ratio) / ratio);
      answer = ratio;
    }
    if (change < threshold) break;
    for (int i = 0; i < 8; ++i) c.k[i] += c.step[i];
    Rescale(pk, qk, pkm1, pkm2, qkm1, qkm2);
  }
  return answer;
}

// The first expansion, for x (a + b - 2) - (a - 1) < 0.
Real FirstFraction(Real a, Real b, Real x) {
  return ContinuedFraction(x, {{a, a + b, a, a + 1, 1, b - 1, a + 1, a + 2}, {1, 1, 2, 2, 1, -1, 2, 2}});
}

// The second expansion, in z = x / (1 - x); divided by 1 - x by the caller.
Real SecondFraction(Real a, Real b, Real x, Real complement) {
  return ContinuedFraction(x / complement, {{a, b - 1, a, a + 1, 1, a + b, a + 1, a + 2}, {1, -1, 2, 2, 1, 1, 2, 2}});
}

bool SeriesApplies(Real b, Real x) { return b * x <= 1 && x <= 0.95L; }

}  // namespace

IncompleteBetaValue IncompleteBeta(Real a, Real b, Real x) { return IncompleteBeta(a, b, BetaArgument{x, 1 - x}); }

IncompleteBetaValue IncompleteBeta(Real a, Real b, const BetaArgument& argument) {
  Base base{argument.x, argument.xLow};
  Base complementBase{argument.complement, argument.complementLow};
  Real x = argument.x;
  Real complement = argument.complement;
  IncompleteBetaValue result;
  if (!(a > 0) || !(b > 0) || !(x >= 0)) {
    result.error = kMathsDomainError;
    return result;
  }
  if (x > 1) {
    result.value = 1;
    result.error = kMathsDomainError;
    return result;
  }
  if (x == 0 || x == 1) {
    result.value = x;
    return result;
  }

  if (SeriesApplies(b, x)) {
    result.path = BetaPath::Series;
    result.value = PowerSeries(a, b, base, complementBase, result.logarithmic);
    return result;
  }
  if (x > a / (a + b)) {
    result.swapped = true;
    std::swap(a, b);
    std::swap(x, complement);
    std::swap(base, complementBase);
  }
  Real value = 0;
  if (result.swapped && SeriesApplies(b, x)) {
    result.path = BetaPath::Series;
    value = PowerSeries(a, b, base, complementBase, result.logarithmic);
  } else {
    // Near x = 1 the first fraction loses digits with every step when a is large (1e-15 for a
    // near 1e5), while the second, in z = x / (1 - x), keeps full precision in fewer steps; so the
    // first is taken only up to x = 0.95, the bound of the series.
    Real fraction = 0;
    if (x * (a + b - 2) - (a - 1) < 0 && x <= 0.95L) {
      result.path = BetaPath::FirstFraction;
      fraction = FirstFraction(a, b, x);
    } else {
      result.path = BetaPath::SecondFraction;
      fraction = SecondFraction(a, b, x, complement) / complement;
    }
    const Real logX = a * std::log(x);
    const Real logComplement = b * std::log(complement);
    if (a + b < kMaxGamma && std::fabs(logX) < kMaxLog && std::fabs(logComplement) < kMaxLog) {
      value = Power(complementBase, b);
      value *= Power(base, a);
      value /= a;
      value *= fraction;
      value *= Gamma(a + b) / (Gamma(a) * Gamma(b));
    } else {
      result.logarithmic = true;
      value = LogarithmicFactor(a, b, base, complementBase, b, fraction / a);
    }
  }
  if (result.swapped) value = value <= kMachineEpsilon ? 1 - kMachineEpsilon : 1 - value;
  result.value = value;
  return result;
}

}  // namespace vorn
