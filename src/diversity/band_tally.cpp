#include "diversity/band_tally.h"

#include <cmath>

namespace vorn {

Real BandTally::NullAllele(std::size_t locus) const {
  return std::sqrt(Real(scored[locus] - present[locus]) / Real(scored[locus]));
}

BandTally TallyBands(const DataMatrix& data, const std::vector<std::uint32_t>& individuals) {
  BandTally tally;
  tally.scored.assign(data.locusCount, 0);
  tally.present.assign(data.locusCount, 0);
  for (std::size_t l = 0; l < data.locusCount; ++l) {
    const Cell* scores = data.Locus(l);
    for (std::uint32_t i : individuals) {
      tally.scored[l] += scores[i] != Missing;
      tally.present[l] += scores[i] == Presence;
    }
  }
  return tally;
}

}  // namespace vorn
