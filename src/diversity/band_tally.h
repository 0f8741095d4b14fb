// Band counts of one population: at each locus, how many of its individuals are scored (present
// or absent, missing scores left out) and how many show the band. The dominant-marker allele
// frequencies follow from them under Hardy-Weinberg equilibrium: the null allele q = √(1 − f),
// f the share of presences among the scored individuals.
#pragma once

#include <cstdint>
#include <vector>

#include "core/conventions.h"
#include "core/data_matrix.h"

namespace vorn {

struct BandTally {
  std::vector<std::uint32_t> scored;   // per locus
  std::vector<std::uint32_t> present;  // per locus

  std::size_t Loci() const { return scored.size(); }
  // The share of presences among the scored individuals at locus (scored > 0).
  Real BandFrequency(std::size_t locus) const { return Real(present[locus]) / Real(scored[locus]); }
  // The square-root estimate of the null allele's frequency, √(1 − f), at locus (scored > 0).
  Real NullAllele(std::size_t locus) const;
};

// The tally of the listed individuals over every locus of data.
BandTally TallyBands(const DataMatrix& data, const std::vector<std::uint32_t>& individuals);

}  // namespace vorn
