// Spearman's rank correlation (Spearman 1904) of one variable x with several others, with a
// permutation test: rho is Pearson's r of the average ranks (ties share the mean of their
// ranks), and p = (permuted |rho| >= |rho|, + 1) / (permutations + 1), two-sided, since the sign
// of a principal coordinate is arbitrary. A permuted rho within 1e-10 of the observed one counts
// as a tie.
//
// The draws come from the program's generator in one serial loop: permutation k shuffles x's
// ranks with ShuffleOrder (n - 1 NextBelow draws), starting at k (n - 1) draws from where the
// generator stood, and every y is tested against the same permuted x. Afterwards the generator
// stands permutations (n - 1) draws further on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/conventions.h"
#include "core/random_generator.h"
#include "core/result.h"

namespace vorn {

struct RankCorrelation {
  Real rho = 0;
  Real p = 0;  // 0 when there were no permutations
};

// The ranks from 1, ties given the mean of the ranks they span.
std::vector<Real> AverageRanks(const std::vector<Real>& values);

// rho of x with each ys[k] (each as long as x) and its p. Fails with fewer than 3 values, with a
// value that is not a finite number, and when x or a y is the same throughout, naming it by
// xName or yNames[k].
Result<std::vector<RankCorrelation>> SpearmanTest(const std::vector<Real>& x, const std::vector<std::vector<Real>>& ys,
                                                  const std::string& xName, const std::vector<std::string>& yNames,
                                                  std::int32_t permutations, RandomGenerator& random);

}  // namespace vorn
