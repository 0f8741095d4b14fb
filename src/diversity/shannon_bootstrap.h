// The bootstrapped Shannon index: R replicates of a matrix, each with loci drawn with
// replacement, missing scores optionally replaced, monomorphic loci removed, and I computed on
// what is left. The draws come from the one generator in the order a plain loop takes them,
// replicate by replicate: L NextBelow(L) for the loci, then (random replacement) one NextReal per
// missing cell of the replicate in cell order.
//
// A replicate needs only the presence count of each of its loci, so it is computed from the
// source loci's counts without building the resampled matrix: with random replacement the
// missing cells of a drawn locus add the number of draws u <= q among as many consecutive draws
// as the locus has missing cells. A replicate thus costs O(L + missing cells) instead of O(N L),
// and gives the very numbers (bit for bit) the plain loop gives. Once the loci of a replicate are
// drawn, the number of draws its replacement takes is known, so the next replicate's place in
// the generator is known too: the replicates are drawn in order and evaluated on all cores.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/data_matrix.h"
#include "core/progress.h"
#include "core/random_generator.h"
#include "core/result.h"
#include "core/settings.h"

namespace vorn {

struct ShannonBootstrapOptions {
  std::int32_t replicates = 0;  // R
  bool replaceMissing = false;  // UseMDR
  double replacementShare = 0;  // q
  FrequencyBasis basis = FrequencyBasis::RelativeToAllPresences;
};

// The base-2 index of each replicate, in replicate order. Fails with kDataMatrixError when a
// cell holds a code other than 0, 1, 9 (nothing is drawn then). progress is told the replicates
// done every few hundred; when it asks to stop, the indices fail without message and the
// generator stands past the replicates drawn.
Result<std::vector<Real>> BootstrapShannonIndices(const DataMatrix& matrix, const ShannonBootstrapOptions& options,
                                                  RandomGenerator& random, const StepProgress& progress = {});

// Whether a replicate can hold a polymorphic locus: some locus of the matrix is polymorphic as
// scored, or can become so when its missing scores are replaced as options say. Without one,
// every replicate loses all its loci.
bool CanHavePolymorphicLoci(const DataMatrix& matrix, const ShannonBootstrapOptions& options);

struct MeanAndVariance {
  Real mean = 0;
  Real variance = 0;
};

// mean = S / R and variance = (Q - R mean^2) / (R - 1) from the sums S of the values and Q of
// their squares, for R >= 2 values; a variance that rounding takes below 0 is 0.
MeanAndVariance SampleMoments(std::span<const Real> values);

}  // namespace vorn
