// PhiPT between every pair of populations: the one-level AMOVA of the two populations alone,
// run by TAMOVA over their rows of the squared distances the AMOVA command uses, and its
// permutation test (individuals permuted between the two populations) by AmovaPermutationTest.
// PhiPT is the PhiST of that AMOVA, Va / (Va + Vb), Va the component among the two populations.
//
// The pairs run in the order (2, 1), (3, 1), (3, 2), (4, 1), ...; each pair's permutations take
// their draws from the generator where the previous pair's left it, so a seed gives the same
// p-values on any number of cores. An undefined pair draws nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "amova/amova.h"
#include "core/group_lists.h"
#include "core/label_table.h"
#include "core/random_generator.h"
#include "groups/group_members.h"

namespace vorn {

struct PairPhiPT {
  bool defined = false;
  std::string cause;  // why the AMOVA of the pair cannot run, when undefined
  Real phiPT = 0;     // may be negative: the populations differ less than random halves would
  Real p = 0;
};

struct PairwisePhiPT {
  std::vector<PairPhiPT> pairs;  // populations a > b (from 0) at a (a - 1) / 2 + b
  bool cancelled = false;

  const PairPhiPT& operator()(std::size_t a, std::size_t b) const {
    return a > b ? pairs[a * (a - 1) / 2 + b] : pairs[b * (b - 1) / 2 + a];
  }
};

// The PhiPT of every pair of populations (at least two) from the squared distances of the
// working individuals, with permutations per defined pair (0: no test, p left 0). proceed is asked
// before each pair with the number done; when it answers false the result is marked cancelled
// and holds the pairs done.
PairwisePhiPT ComputePairwisePhiPT(const SquaredDistances& distances, const std::vector<PopulationMembers>& populations,
                                   const LabelTable& labels, const GroupList& groups, std::size_t locusCount,
                                   std::int32_t permutations, RandomGenerator& random,
                                   const std::function<bool(std::size_t)>& proceed);

}  // namespace vorn
