// Genotyping error rates from replicate samples (Bonin et al. 2004): every pair of replicates of
// a sample is compared at the loci scored in both; a mismatch is a presence in one and an
// absence in the other. The overall rate is the mismatches over the comparisons of all pairs;
// a locus's rate is its mismatching pairs over the pairs scored at it; an individual's rate is
// the mismatches over the comparisons of the pairs it belongs to. A rate over no comparison is
// undefined (Defined() false) and left out of means and ranges.
#pragma once

#include <cstddef>
#include <vector>

#include "core/conventions.h"
#include "core/data_matrix.h"
#include "core/result.h"
#include "matrix/removal_filters.h"
#include "quality/replicate_samples.h"

namespace vorn {

struct MismatchCount {
  std::size_t compared = 0;    // comparisons (loci, or pairs at a locus) scored in both
  std::size_t mismatches = 0;  // of them, those that differ

  bool Defined() const { return compared > 0; }
  Real Rate() const { return static_cast<Real>(mismatches) / static_cast<Real>(compared); }
  void Add(bool mismatch) { ++compared, mismatches += mismatch; }
};

struct PairErrors {
  ReplicatePair pair;
  MismatchCount count;
};

struct ErrorRates {
  std::vector<PairErrors> pairs;
  std::vector<MismatchCount> loci;         // one per locus: pairs scored and mismatching pairs
  std::vector<MismatchCount> individuals;  // one per individual; nothing compared outside the pairs
  MismatchCount overall;
  // The pairs' own rates: their mean, least and greatest over the pairs with a comparison.
  std::size_t definedPairs = 0;
  Real pairMean = 0;
  Real pairLeast = 0;
  Real pairGreatest = 0;
};

// The counts of every pair. Fails with kDataMatrixError when a compared cell holds a code other
// than 0, 1, 9.
Result<ErrorRates> CountReplicateErrors(const DataMatrix& matrix, const std::vector<ReplicatePair>& pairs);

// The loci whose rate exceeds threshold (strictly, compared in doubles as the removal thresholds
// are; a locus without a scored pair has no rate and stays), and with leastPairs > 0 also those
// scored in fewer than leastPairs pairs. Fails as RemoveMarkedRows does.
Result<Removal> RemoveLociWithErrorRateAbove(const DataMatrix& matrix, const ErrorRates& rates, double threshold,
                                             std::size_t leastPairs);

}  // namespace vorn
