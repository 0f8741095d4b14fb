// F_ST from band frequencies (Lynch & Milligan 1994): each population's null-allele frequencies
// by the chosen estimator, its mean expected heterozygosity Hj, the mean within populations Hw,
// the among-population component Hb with its sampling correction, Ht = Hw + Hb and
// F_ST = Hb / Ht, over the loci every population estimates. F_ST has a jackknife standard error
// over loci and a permutation test (individuals permuted among the populations); every pair of
// populations has its F_ST and test the same way.
//
// Random numbers: the test of all populations takes (N − 1) draws per permutation, permutation
// k at k (N − 1) draws from the generator's state; then each pair (2, 1), (3, 1), (3, 2), ...
// takes (n_a + n_b − 1) per permutation where the previous test left the generator. The result
// is the same on any number of cores.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/random_generator.h"
#include "core/result.h"
#include "core/data_matrix.h"
#include "core/progress.h"
#include "differentiation/null_allele.h"
#include "diversity/population_diversity.h"
#include "groups/group_members.h"

namespace vorn {

struct FstComponents {
  Real hw = 0, hb = 0, ht = 0, fst = 0;
  std::size_t loci = 0;   // loci every population of the test estimates
  bool defined = false;   // loci > 0 and Ht > 0
};

struct PopulationHj {
  std::string name;
  std::size_t individuals = 0;
  bool used = false;       // false: fewer than two individuals, left out of every estimate
  MeanWithError hj;        // over the loci of the overall estimate
  BetaPrior prior;         // Bayesian only
};

struct PairFst {
  FstComponents values;
  Real p = 0;  // NaN without permutations or without a defined F_ST
};

struct BandFstResult {
  std::vector<PopulationHj> populations;
  FstComponents overall;
  Real jackknifeSE = 0;   // NaN below two loci
  Real p = 0;             // NaN without permutations
  std::vector<PairFst> pairs;  // the used populations' pairs a > b at a (a − 1) / 2 + b
  std::vector<std::size_t> used;  // positions in populations of the used ones, in order
  bool cancelled = false;
};

// The analysis of populations (each individual in one at most) at every locus of data. progress
// counts permutations: permutations for the overall test, then as many per pair. Fails when
// fewer than two populations have two or more individuals, or an individual is in two.
Result<BandFstResult> ComputeBandFst(const DataMatrix& data, const std::vector<PopulationMembers>& populations,
                                     const NullAlleleSettings& settings, std::int32_t permutations,
                                     RandomGenerator& random, const StepProgress& progress = {});

}  // namespace vorn
