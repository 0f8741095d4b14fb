// Bootstrap replicates of a score block: loci drawn with replacement. The draw is also offered
// alone, for analyses that count over the drawn loci without writing the sample out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/band_state.h"
#include "core/random_generator.h"

namespace vorn {

// The source locus (from 0) of each target locus in order: NextBelow(L) per locus, exactly L draws.
void DrawLoci(std::size_t locusCount, RandomGenerator& random, std::vector<std::uint32_t>& drawn);

// DrawLoci, then fills target (N * L cells) from source, both locus-major: target locus k is
// source locus drawn[k]. Source and target are different blocks.
void ResampleLoci(const Cell* source, Cell* target, std::size_t individualCount, std::size_t locusCount,
                  RandomGenerator& random);

}  // namespace vorn
