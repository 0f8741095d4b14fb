// Replacement of missing scores: all by absences (q = 0), all by presences (q = 1), or each by a
// presence with probability q. Random replacement draws one NextReal per missing cell in cell
// order, so the same state of the generator gives the same matrix; q = 0 and q = 1 draw nothing.
#pragma once

#include <span>

#include "core/band_state.h"
#include "core/random_generator.h"

namespace vorn {

// Writes into destination (as many cells as source, allocated by the caller) a copy of source
// in which every missing cell is replaced: a draw u <= q gives a presence, otherwise an absence.
// Other cells are copied unchanged.
void ReplaceMissing(std::span<const Cell> source, std::span<Cell> destination, double q, RandomGenerator& random);

}  // namespace vorn
