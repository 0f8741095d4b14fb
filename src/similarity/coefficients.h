// The six (dis)similarity coefficients under the Standard, Minimum-similarity and
// Maximum-similarity treatments of missing scores, from the pair counts of two individuals.
// A zero denominator gives a not-a-number value; an undefined Nei-Li distance gives -1.
#pragma once

#include <cstddef>
#include <string>

#include "core/settings.h"
#include "core/undefined_pairs.h"
#include "similarity/pair_counts.h"

namespace vorn {

// The value of a Nei-Li distance that is undefined (the pair shares too few bands).
inline constexpr Real kUndefinedNeiLi = -1;

// The Nei-Li distance from a Dice value s with the given r: G = s^(1/(2r)), y = (4G - 1) / 3,
// d = -1.5 ln y. When y is 0 or negative the distance is undefined: kUndefinedNeiLi.
Real NeiLiDistance(Real dice, Real r);

// The coefficient of a pair under the variant Standard, Minimum or Maximum (similarity):
// Standard ignores loci with a missing score; Minimum counts a locus with one missing score as
// a mismatch and leaves out loci missing in both; Maximum counts every locus with a missing
// score as a match (a shared band, or a shared absence when the other band is absent).
// Jaccard is 0 when the pair shares no band (Standard, Minimum).
Real CoefficientValue(SimilarityCoefficient coefficient, SimilarityMode variant, const PairCounts& counts,
                      Real neiLiR);

// The same for count pairs at once: values[k] from counts[k].
void CoefficientValues(SimilarityCoefficient coefficient, SimilarityMode variant, const PairCounts* counts,
                       std::size_t count, Real neiLiR, Real* values);

// The same turned into distances as they are computed: values[k] is ApplyTransformation of the
// coefficient. Gives how many of the coefficients were the undefined Nei-Li distance.
std::size_t DistanceValues(SimilarityCoefficient coefficient, SimilarityMode variant, const PairCounts* counts,
                           std::size_t count, Real neiLiR, DistanceTransformation transformation, Real* values);

// Whether the variant compares nothing of the pair: the Standard compares the loci scored in
// both, the Minimum (and the Average drawn from it) those scored in either, the Maximum every
// locus. Such a pair has no distance, whatever number its formula gives.
inline bool ComparesNothing(SimilarityMode variant, const PairCounts& n) {
  const std::uint32_t both = n.a + n.bPlusC + n.d;
  switch (variant) {
    case SimilarityMode::Standard: return both == 0;
    case SimilarityMode::Maximum: return both + n.p + n.q + n.r == 0;
    default: return both + n.p + n.q == 0;
  }
}
inline UndefinedCause IncomparableCause(SimilarityMode variant) {
  return variant == SimilarityMode::Standard ? UndefinedCause::NotScoredInBoth : UndefinedCause::NotScoredInEither;
}

// The message shown once by a command whose Nei-Li distance was undefined for some pairs.
std::string UndefinedNeiLiMessage(std::size_t pairs);

}  // namespace vorn
