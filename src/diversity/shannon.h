// Shannon's diversity index of a matrix whose loci are the categories and whose band frequencies
// p(l) are the weights, with the large-sample variance after Bowman & al. (1969). Both are
// computed in base-2 units; ToLogBase converts them to the chosen base: the index with a factor
// c, its variance with c^2 (the variance of c I).
#pragma once

#include <cstddef>
#include <span>

#include "core/conventions.h"
#include "core/result.h"
#include "core/settings.h"

namespace vorn {

// p log2 p, the term of one locus with frequency p > 0.
Real ShannonTerm(Real p);

// I = -sum over l of ShannonTerm(p(l)), taking only p(l) > 0, in locus order; 0 for no loci.
Real ShannonIndex(std::span<const Real> frequencies);

struct ShannonVariance {
  Real index = 0;     // I, base 2
  Real variance = 0;  // var(I) = (S2 - I^2) / N + (L - 1) / (2 N^2), base 2
};

// I and var(I) for N individuals and the L = frequencies.size() loci (loci with p = 0 count in
// L). Fails without individuals or without loci, where the variance has no meaning.
Result<ShannonVariance> ShannonBowman(std::size_t individualCount, std::span<const Real> frequencies);

// x in base-2 units converted to the base of scaling: x, x ln 2, x ln 2 / ln 10, x ln 2 / ln A.
// Fails for a base A whose logarithm is 0 or undefined (A = 1, A <= 0).
Result<Real> ToLogBase(Real x, const ShannonScaling& scaling);

// I times c and var(I) times c^2 in the base of scaling; fails as ToLogBase does.
Result<ShannonVariance> ToLogBase(const ShannonVariance& bits, const ShannonScaling& scaling);

// sqrt(var) for a positive variance, 0 otherwise (a negative variance comes from per-individual
// frequencies that sum above 1).
Real StandardDeviation(Real variance);

}  // namespace vorn
