#include "similarity/coefficients.h"

#include <cassert>
#include <cmath>
#include <limits>

namespace vorn {
namespace {

// A pair seen through one treatment of missing scores: how many loci count as a shared band,
// as a shared absence and as a mismatch. Every coefficient is a formula of these three.
struct EffectiveCounts {
  Real shared;
  Real sharedAbsence;
  Real mismatch;
};

EffectiveCounts Effective(SimilarityMode variant, const PairCounts& n) {
  switch (variant) {
    case SimilarityMode::Minimum: return {Real(n.a), Real(n.d), Real(n.bPlusC) + n.p + n.q};
    case SimilarityMode::Maximum: return {Real(n.a) + n.p + n.r, Real(n.d) + n.q, Real(n.bPlusC)};
    default: return {Real(n.a), Real(n.d), Real(n.bPlusC)};
  }
}

Real Ratio(Real numerator, Real denominator) {
  return denominator == 0 ? std::numeric_limits<Real>::quiet_NaN() : numerator / denominator;
}

Real Dice(const EffectiveCounts& e) { return Ratio(2 * e.shared, 2 * e.shared + e.mismatch); }

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
  assert(variant != SimilarityMode::Average && "the Average is drawn between the Minimum and the Maximum");
  const EffectiveCounts e = Effective(variant, counts);
  switch (coefficient) {
    case SimilarityCoefficient::Jaccard:
      if (variant != SimilarityMode::Maximum && counts.a == 0) return 0;
      return Ratio(e.shared, e.shared + e.mismatch);
    case SimilarityCoefficient::Dice: return Dice(e);
    case SimilarityCoefficient::SMC:
      return Ratio(e.shared + e.sharedAbsence, e.shared + e.sharedAbsence + e.mismatch);
    case SimilarityCoefficient::NeiLi: return NeiLiDistance(Dice(e), neiLiR);
    case SimilarityCoefficient::Euclidean: return std::sqrt(e.mismatch);
    case SimilarityCoefficient::SqEuclidean: return e.mismatch;
  }
  return std::numeric_limits<Real>::quiet_NaN();
}

std::string UndefinedNeiLiMessage(std::size_t pairs) {
  return "Undefined NeiLi distance\r\n\r\n" + std::to_string(pairs) +
         (pairs == 1 ? " pair of individuals shares too few bands; its distance is set to -1."
                     : " pairs of individuals share too few bands; their distances are set to -1.");
}

}  // namespace vorn
