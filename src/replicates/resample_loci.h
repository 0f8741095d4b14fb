// Bootstrap replicates of a score block: loci drawn with replacement. The draw and the copy are
// also offered apart, so that replicates can be drawn in run order and copied on any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/band_state.h"
#include "core/random_generator.h"

namespace vorn {

// The source locus (from 0) of each target locus in order: NextBelow(L) per locus, exactly L draws.
void DrawLoci(std::size_t locusCount, RandomGenerator& random, std::vector<std::uint32_t>& drawn);

// Fills target (N * L cells) from source, both locus-major: target locus k is source locus drawn[k].
void CopyLoci(const Cell* source, Cell* target, std::size_t individualCount, const std::vector<std::uint32_t>& drawn);

// DrawLoci, then CopyLoci. Source and target are different blocks.
void ResampleLoci(const Cell* source, Cell* target, std::size_t individualCount, std::size_t locusCount,
                  RandomGenerator& random);

}  // namespace vorn
