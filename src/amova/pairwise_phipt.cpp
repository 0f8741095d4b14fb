#include "amova/pairwise_phipt.h"

#include <algorithm>

#include "amova/amova_permutation.h"

namespace vorn {
namespace {

PairPhiPT Undefined(std::string cause) { return PairPhiPT{false, std::move(cause), 0, 0}; }

// The AMOVA of populations a and b alone, their members renumbered: a's first, then b's.
PairPhiPT PairOf(const SquaredDistances& distances, const PopulationMembers& a, const PopulationMembers& b,
                 const LabelTable& labels, const GroupList& groups, std::size_t locusCount,
                 std::int32_t permutations, RandomGenerator& random) {
  std::vector<std::uint32_t> shared;
  std::set_intersection(a.individuals.begin(), a.individuals.end(), b.individuals.begin(), b.individuals.end(),
                        std::back_inserter(shared));
  if (!shared.empty()) return Undefined(labels[shared.front()] + " is in both populations.");
  std::vector<std::uint32_t> members = a.individuals;
  members.insert(members.end(), b.individuals.begin(), b.individuals.end());
  SquaredDistances pair(members.size());
  std::vector<std::string> pairLabels;
  for (std::size_t i = 0; i < members.size(); ++i) {
    pairLabels.push_back(labels[members[i]]);
    for (std::size_t j = 0; j < i; ++j) pair.Set(SquaredDistances::PairIndex(i, j), distances(members[i], members[j]));
  }
  const auto renumbered = [](const PopulationMembers& population, std::uint32_t first) {
    AmovaPopulation result{static_cast<std::uint16_t>(population.individuals.size()),
                           static_cast<std::uint16_t>(population.groupIndex), {}};
    for (std::uint32_t k = 0; k < result.size; ++k) result.individuals.push_back(first + k);
    return result;
  };
  TAMOVA amova(static_cast<std::uint16_t>(pair.Size()));
  const auto first = static_cast<std::uint32_t>(a.individuals.size());
  if (auto set = amova.SetPopulations({renumbered(a, 0), renumbered(b, first)}, locusCount); !set) {
    return Undefined(set.error());
  }
  amova.Calculate(pair);
  if (auto defined = amova.CheckDefined(); !defined) return Undefined(defined.error());
  if (permutations == 0) return PairPhiPT{true, "", amova.PhiST, 0};
  auto test = AmovaPermutationTest(amova, pair, LabelTable(std::move(pairLabels)), groups, permutations, random);
  if (!test) return Undefined(test.error());
  return PairPhiPT{true, "", amova.PhiST, test->pPhiST};
}

}  // namespace

PairwisePhiPT ComputePairwisePhiPT(const SquaredDistances& distances, const std::vector<PopulationMembers>& populations,
                                   const LabelTable& labels, const GroupList& groups, std::size_t locusCount,
                                   std::int32_t permutations, RandomGenerator& random,
                                   const std::function<bool(std::size_t)>& proceed) {
  PairwisePhiPT result;
  for (std::size_t a = 1; a < populations.size(); ++a) {
    for (std::size_t b = 0; b < a; ++b) {
      if (!proceed(result.pairs.size())) {
        result.cancelled = true;
        return result;
      }
      result.pairs.push_back(
          PairOf(distances, populations[b], populations[a], labels, groups, locusCount, permutations, random));
    }
  }
  return result;
}

}  // namespace vorn
