// The distance of one pair of individuals as the AMOVA takes it: the coefficient under the
// "Similarity choice for AMOVA" mode (the Average drawn from the generator), passed through the
// distance transformation. A zero denominator gives a not-a-number value, without a message;
// callers that sum distances should tell the user when their result is not a number.
#pragma once

#include <cstddef>

#include "core/band_state.h"
#include "core/result.h"
#include "core/workspace.h"

namespace vorn {

// Counts what a series of pair distances met, so that a command shows one message at its end
// (UndefinedNeiLiMessage) instead of one per pair.
struct PairNotes {
  std::size_t undefinedNeiLiPairs = 0;
};

// Individuals i and j (from 0) of the working matrix. Fails with
// "Vorncore: SDist: Unknown distance coefficient", "DistXF: Unknown option." or, for the
// Average mode, the draw-count refusal when JC is below 1.
Result<Real> SDist(Workspace& ws, std::size_t i, std::size_t j, PairNotes& notes);

// Individual i of block A (nA individuals) and individual j of block B (nB individuals), both
// locus-major over the loci of the working matrix. Fails like SDist, naming SDist_mem.
Result<Real> SDist_mem(Workspace& ws, const Cell* blockA, const Cell* blockB, std::size_t nA, std::size_t nB,
                       std::size_t i, std::size_t j, PairNotes& notes);

}  // namespace vorn
