#include "similarity/coefficients.h"

#include <cassert>
#include <cmath>
#include <limits>

#include "similarity/distance_transformation.h"

namespace vorn {
namespace {

using Coefficient = SimilarityCoefficient;
using Variant = SimilarityMode;

// A pair seen through one treatment of missing scores: how many loci count as a shared band,
// as a shared absence and as a mismatch. Every coefficient is a formula of these three.
struct EffectiveCounts {
  Real shared;
  Real sharedAbsence;
  Real mismatch;
};

template <Variant variant>
EffectiveCounts Effective(const PairCounts& n) {
  if constexpr (variant == Variant::Minimum) return {Real(n.a), Real(n.d), Real(n.bPlusC) + n.p + n.q};
  if constexpr (variant == Variant::Maximum) return {Real(n.a) + n.p + n.r, Real(n.d) + n.q, Real(n.bPlusC)};
  return {Real(n.a), Real(n.d), Real(n.bPlusC)};
}

Real Ratio(Real numerator, Real denominator) {
  return denominator == 0 ? std::numeric_limits<Real>::quiet_NaN() : numerator / denominator;
}

Real Dice(const EffectiveCounts& e) { return Ratio(2 * e.shared, 2 * e.shared + e.mismatch); }

template <Coefficient coefficient, Variant variant>
Real Formula(const PairCounts& counts, Real neiLiR) {
  const EffectiveCounts e = Effective<variant>(counts);
  if constexpr (coefficient == Coefficient::Jaccard) {
    if (variant != Variant::Maximum && counts.a == 0) return 0;
    return Ratio(e.shared, e.shared + e.mismatch);
  } else if constexpr (coefficient == Coefficient::Dice) {
    return Dice(e);
  } else if constexpr (coefficient == Coefficient::SMC) {
    return Ratio(e.shared + e.sharedAbsence, e.shared + e.sharedAbsence + e.mismatch);
  } else if constexpr (coefficient == Coefficient::NeiLi) {
    return NeiLiDistance(Dice(e), neiLiR);
  } else if constexpr (coefficient == Coefficient::Euclidean) {
    return std::sqrt(e.mismatch);
  } else {
    return e.mismatch;
  }
}

// Calls work.template operator()<coefficient, variant>() with the two as constants, so that
// each of the eighteen formulas is compiled into its own loop.
template <Coefficient coefficient, typename Work>
void WithVariant(Variant variant, Work&& work) {
  switch (variant) {
    case Variant::Minimum: return work.template operator()<coefficient, Variant::Minimum>();
    case Variant::Maximum: return work.template operator()<coefficient, Variant::Maximum>();
    default: return work.template operator()<coefficient, Variant::Standard>();
  }
}

template <typename Work>
void WithFormula(Coefficient coefficient, Variant variant, Work&& work) {
  assert(variant != Variant::Average && "the Average is drawn between the Minimum and the Maximum");
  switch (coefficient) {
    case Coefficient::Jaccard: return WithVariant<Coefficient::Jaccard>(variant, work);
    case Coefficient::Dice: return WithVariant<Coefficient::Dice>(variant, work);
    case Coefficient::SMC: return WithVariant<Coefficient::SMC>(variant, work);
    case Coefficient::NeiLi: return WithVariant<Coefficient::NeiLi>(variant, work);
    case Coefficient::Euclidean: return WithVariant<Coefficient::Euclidean>(variant, work);
    case Coefficient::SqEuclidean: return WithVariant<Coefficient::SqEuclidean>(variant, work);
  }
}

}  // namespace

Real NeiLiDistance(Real dice, Real r) {
  const Real g = std::pow(dice, 1 / (2 * r));
  const Real y = (4 * g - 1) / 3;
  if (y <= 0) return kUndefinedNeiLi;
  const Real d = -1.5L * std::log(y);
  return d == 0 ? 0 : d;  // a -0 from ln 1 is written as 0
}

Real CoefficientValue(SimilarityCoefficient coefficient, SimilarityMode variant, const PairCounts& counts,
                      Real neiLiR) {
  Real value = std::numeric_limits<Real>::quiet_NaN();
  CoefficientValues(coefficient, variant, &counts, 1, neiLiR, &value);
  return value;
}

void CoefficientValues(SimilarityCoefficient coefficient, SimilarityMode variant, const PairCounts* counts,
                       std::size_t count, Real neiLiR, Real* values) {
  WithFormula(coefficient, variant, [&]<Coefficient c, Variant v>() {
    for (std::size_t k = 0; k < count; ++k) values[k] = Formula<c, v>(counts[k], neiLiR);
  });
}

std::size_t DistanceValues(SimilarityCoefficient coefficient, SimilarityMode variant, const PairCounts* counts,
                           std::size_t count, Real neiLiR, DistanceTransformation transformation, Real* values) {
  std::size_t undefined = 0;
  WithFormula(coefficient, variant, [&]<Coefficient c, Variant v>() {
    for (std::size_t k = 0; k < count; ++k) {
      const Real value = Formula<c, v>(counts[k], neiLiR);
      if constexpr (c == Coefficient::NeiLi) undefined += value == kUndefinedNeiLi;
      values[k] = ApplyTransformation(value, transformation);
    }
  });
  return undefined;
}

std::string UndefinedNeiLiMessage(std::size_t pairs) {
  return "Undefined NeiLi distance\r\n\r\n" + std::to_string(pairs) +
         (pairs == 1 ? " pair of individuals shares too few bands; its distance is set to -1."
                     : " pairs of individuals share too few bands; their distances are set to -1.");
}

}  // namespace vorn
