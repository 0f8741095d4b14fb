#include "quality/replicate_error_rates.h"

#include <algorithm>

#include "matrix/band_counts.h"

namespace vorn {

Result<ErrorRates> CountReplicateErrors(const DataMatrix& matrix, const std::vector<ReplicatePair>& pairs) {
  ErrorRates rates;
  rates.loci.resize(matrix.locusCount);
  rates.individuals.resize(matrix.individualCount);
  for (const ReplicatePair& pair : pairs) {
    MismatchCount count;
    for (std::size_t locus = 0; locus < matrix.locusCount; ++locus) {
      const Cell a = matrix.At(pair.first, locus), b = matrix.At(pair.second, locus);
      if (!IsBandState(a) || !IsBandState(b)) return Failure{kDataMatrixError};
      if (a == Missing || b == Missing) continue;
      const bool mismatch = a != b;
      count.Add(mismatch);
      rates.loci[locus].Add(mismatch);
      rates.individuals[pair.first].Add(mismatch);
      rates.individuals[pair.second].Add(mismatch);
    }
    rates.overall.compared += count.compared;
    rates.overall.mismatches += count.mismatches;
    rates.pairs.push_back({pair, count});
  }
  Real sum = 0;
  for (const PairErrors& pair : rates.pairs) {
    if (!pair.count.Defined()) continue;
    const Real rate = pair.count.Rate();
    rates.pairLeast = rates.definedPairs == 0 ? rate : std::min(rates.pairLeast, rate);
    rates.pairGreatest = rates.definedPairs == 0 ? rate : std::max(rates.pairGreatest, rate);
    sum += rate;
    ++rates.definedPairs;
  }
  if (rates.definedPairs > 0) rates.pairMean = sum / static_cast<Real>(rates.definedPairs);
  return rates;
}

Result<Removal> RemoveLociWithErrorRateAbove(const DataMatrix& matrix, const ErrorRates& rates, double threshold,
                                             std::size_t leastPairs) {
  std::vector<bool> removed(matrix.locusCount);
  for (std::size_t locus = 0; locus < matrix.locusCount; ++locus) {
    const MismatchCount& count = rates.loci[locus];
    const bool unreliable = count.Defined() && Share(count.mismatches, count.compared) > threshold;
    removed[locus] = unreliable || count.compared < leastPairs;
  }
  return RemoveMarkedRows(matrix, RowKind::Loci, removed);
}

}  // namespace vorn
