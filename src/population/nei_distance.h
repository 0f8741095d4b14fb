// Nei's (1978) unbiased genetic identity and distance between two populations of dominant
// markers, from the square-root allele frequencies of each locus (band allele p = 1 − q,
// null allele q = √(1 − f)). Over the loci scored in both populations:
//   Jx = mean of (2 n_x (p_x² + q_x²) − 1) / (2 n_x − 1), Jy likewise, Jxy = mean of p_x p_y + q_x q_y,
//   I = Jxy / √(Jx Jy), D = −ln I,
// n the individuals scored at the locus (2n genes each).
#pragma once

#include <cstddef>
#include <string>

#include "core/conventions.h"
#include "diversity/band_tally.h"

namespace vorn {

struct NeiValues {
  Real identity = 0;
  Real distance = 0;
  std::size_t loci = 0;  // scored in both populations
};

NeiValues NeiUnbiased(const BandTally& x, const BandTally& y);

// Why the distance of the values is undefined ("no locus is scored in both", "their identity is
// 0"), or "" when it is a number.
std::string NeiUndefinedCause(const NeiValues& values);

}  // namespace vorn
