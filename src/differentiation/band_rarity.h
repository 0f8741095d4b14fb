// The rarity and richness of each population's bands. Frequency-down-weighted marker values
// (Schönswetter & Tribsch 2005): an individual's DW is the sum over its bands of 1 / (the number
// of individuals of the data carrying the band); a population's total DW is the sum over loci of
// its carriers of a band divided by all carriers, the sum of its individuals' DW. Optionally each
// population is subsampled to the smallest one's size, replicate after replicate, and the total
// recomputed among the subsamples. Rarefied band richness (Kalinowski 2004, for dominant bands as
// Coart et al. 2005 use it): the expected number of bands, and of private bands, in g individuals
// drawn without replacement, from the hypergeometric probabilities, for g = 2 .. the smallest
// scored count. A missing score does not carry the band.
//
// Random numbers: replicate r subsamples the populations in order, population j by a Fisher-
// Yates shuffle of its members (N_j − 1 draws) of which the first g are kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/conventions.h"
#include "core/data_matrix.h"
#include "core/progress.h"
#include "core/random_generator.h"
#include "core/result.h"
#include "groups/group_members.h"

namespace vorn {

struct PopulationRarity {
  std::string name;
  std::size_t individuals = 0;
  Real totalDW = 0;     // Σ_l carriers in the population / carriers in the data
  Real meanDW = 0;      // the mean of its individuals' DW
  Real rarefiedMean = 0, rarefiedSD = 0;  // over the replicates; NaN without (SD: below two)
};

struct RarityResult {
  std::vector<Real> individualDW;          // per individual of the data, 0 outside the populations
  std::vector<PopulationRarity> populations;
  std::size_t subsampleSize = 0;           // the smallest population's size
  std::size_t rarefactionMaximum = 0;      // the smallest scored count of a population at a locus
  // richness[g − 2][j] and privateRichness[g − 2][j] for g = 2 .. rarefactionMaximum
  std::vector<std::vector<Real>> richness, privateRichness;
  bool cancelled = false;
};

// Q = C(N − c, g) / C(N, g): the probability that g of N individuals, c of them carrying the band,
// drawn without replacement, include no carrier (0 when N − c < g).
Real NoCarrierProbability(std::uint32_t N, std::uint32_t c, std::uint32_t g);

// The populations' rarity and richness over every locus of data; replicates subsamples for the
// rarefied DW (0 for none). progress counts the replicates. Fails when an individual is in two
// populations or a population is empty.
Result<RarityResult> ComputeBandRarity(const DataMatrix& data, const std::vector<PopulationMembers>& populations,
                                       std::int32_t replicates, RandomGenerator& random,
                                       const StepProgress& progress = {});

}  // namespace vorn
