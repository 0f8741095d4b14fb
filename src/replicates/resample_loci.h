// Bootstrap replicates of a score block: loci drawn with replacement.
#pragma once

#include <cstddef>

#include "core/band_state.h"
#include "core/random_generator.h"

namespace vorn {

// Fills target (N * L cells) from source, both locus-major: for each target locus in order one
// source locus is drawn with NextBelow(L), so exactly L numbers are drawn, and its N scores are
// copied. Source and target are different blocks.
void ResampleLoci(const Cell* source, Cell* target, std::size_t individualCount, std::size_t locusCount,
                  RandomGenerator& random);

}  // namespace vorn
