// Significance of the AMOVA by random permutations (Excoffier, Smouse & Quattro 1992), one test
// per Phi statistic, each on the variance component it rests on: PhiSR and Vb by permuting
// individuals among the populations of their region, PhiRT and Va by permuting whole populations
// among regions (each region keeps its number of populations), PhiST by permuting individuals
// among all populations, testing Vc (small values) with two levels and Va with one. Individuals
// outside every population stay where they are. p = (permuted values at least as extreme as the
// observed one, + 1) / (permutations + 1); a permuted value within 1e-10 of the observed one,
// relative to its size plus the mean squared pair distance, counts as a tie, so that rounding
// cannot turn a tie into a miss.
//
// The draws come from the program's generator as from one serial loop: the tests run in the
// order PhiSR, PhiRT, PhiST (one level: PhiST only), and each permutation is a Fisher-Yates
// shuffle taking a fixed number of NextBelow draws, so permutation k of a test starts at a known
// position of the generator. Permutations run on all cores and give the same p-values on any
// number of them; afterwards the generator stands where the serial loop would leave it.
#pragma once

#include <cstdint>

#include "core/group_lists.h"
#include "core/label_table.h"
#include "core/progress.h"
#include "core/random_generator.h"
#include "core/result.h"
#include "amova/amova.h"

namespace vorn {

struct AmovaSignificance {
  std::int32_t permutations = 0;
  Real pPhiST = 0;
  Real pPhiSR = 0;  // two levels only
  Real pPhiRT = 0;  // two levels only
};

// Tests the AMOVA of amova (its hierarchy set, over the distances it was computed from) with
// permutations (at least 1). Fails when an individual belongs to two populations (named, from the
// labels and groups), since a permutation moves each individual from one population. progress
// is told the permutations done over all tests (AmovaPermutationSteps in all) every few
// hundredths of a second; when it asks to stop, the test fails without message and the generator
// stands past the permutations done.
Result<AmovaSignificance> AmovaPermutationTest(const TAMOVA& amova, const SquaredDistances& distances,
                                               const LabelTable& labels, const GroupList& groups,
                                               std::int32_t permutations, RandomGenerator& random,
                                               const StepProgress& progress = {});

// The permutations of a test over all its Phi statistics: one test with one level, three with two.
std::size_t AmovaPermutationSteps(int levels, std::int32_t permutations);

}  // namespace vorn
