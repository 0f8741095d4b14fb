// The dominant-band model shared by admixture clustering and population assignment: at a locus
// an individual's gene copies carry the allele that gives no band with frequency f, and the
// band is absent only when every copy carries it. A diploid shows no band with probability f^2;
// under "haploid, or bands read as alleles" with probability f. A missing score adds nothing.
#pragma once

#include <cmath>

namespace vorn {

enum class BandModel {
  DiploidDominant,  // P(no band) = f^2: two copies, the band allele dominant
  Haploid,          // P(no band) = f: one copy, or a band read as an allele
};

// Copies of a locus an individual carries under the model.
inline int CopyCount(BandModel model) { return model == BandModel::DiploidDominant ? 2 : 1; }

// P(no band) given f, the frequency of the no-band allele among the individual's copies.
inline double AbsenceProbability(double f, BandModel model) {
  return model == BandModel::DiploidDominant ? f * f : f;
}

// ln P(score) for a scored band (present true) or absence, given f in (0, 1).
inline double BandLogLikelihood(bool present, double f, BandModel model) {
  const double absent = AbsenceProbability(f, model);
  return present ? std::log1p(-absent) : std::log(absent);
}

}  // namespace vorn
