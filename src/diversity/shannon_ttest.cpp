#include "diversity/shannon_ttest.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>

#include "diversity/shannon.h"
#include "matrix/band_counts.h"
#include "matrix/band_frequencies.h"
#include "matrix/monomorphic.h"
#include "matrix/replace_missing.h"

namespace vorn {
namespace {

constexpr const char* kSingleRunNotPerformed = "BsShannon: Only single run selected performed";

// I in bits of every replicate, with their moments in bits and converted to the chosen base.
Result<BootstrapEstimate> Estimate(const DataMatrix& matrix, const ShannonBootstrapOptions& options,
                                   const ShannonScaling& scaling, RandomGenerator& random,
                                   const StepProgress& progress = {}) {
  if (auto base = ToLogBase(0, scaling); !base) return Failure{base.error()};
  auto indices = BootstrapShannonIndices(matrix, options, random, progress);
  if (!indices) return Failure{indices.error()};
  BootstrapEstimate estimate;
  estimate.bits = SampleMoments(*indices);
  for (Real& index : *indices) index = *ToLogBase(index, scaling);
  estimate.scaled = SampleMoments(*indices);
  return estimate;
}

}  // namespace

Result<GroupShannon> GroupShannonBowman(const DataMatrix& group, const ShannonBootstrapOptions& options,
                                        const ShannonScaling& scaling, RandomGenerator& random) {
  GroupShannon result;
  result.size = group.individualCount;
  if (group.individualCount == 0) return GroupShannon{GroupGap::NoIndividuals};
  if (auto base = ToLogBase(0, scaling); !base) return Failure{base.error()};
  DataMatrix replaced = group;
  if (options.replaceMissing) ReplaceMissing(group.cells, replaced.cells, options.replacementShare, random);
  auto removal = RemoveMonomorphicLoci(replaced, MonomorphicKinds::Both);
  if (!removal && removal.error() == kEveryLocusRemoved) return GroupShannon{GroupGap::NoPolymorphicLoci};
  if (!removal) return Failure{removal.error()};
  const auto frequencies = LocusBandFrequencies(removal->matrix, scaling.frequencyBasis);
  if (!frequencies) return Failure{frequencies.error()};
  const auto bits = ShannonBowman(group.individualCount, *frequencies);
  if (!bits) return Failure{bits.error()};
  result.index2 = bits->index;
  result.variance2 = bits->variance;
  const ShannonVariance scaled = *ToLogBase(*bits, scaling);
  result.index = scaled.index;
  result.variance = scaled.variance;
  return result;
}

Result<GroupShannon> GroupShannonBootstrap(const DataMatrix& group, const ShannonBootstrapOptions& options,
                                           const ShannonScaling& scaling, RandomGenerator& random) {
  if (options.replicates <= 1) return Failure{kSingleRunRefused};
  if (group.individualCount == 0) return GroupShannon{GroupGap::NoIndividuals};
  if (!CanHavePolymorphicLoci(group, options)) return GroupShannon{GroupGap::NoPolymorphicLoci};
  const auto estimate = Estimate(group, options, scaling, random);
  if (!estimate) return Failure{estimate.error()};
  GroupShannon result;
  result.size = group.individualCount;
  result.index = estimate->scaled.mean;
  result.variance = estimate->scaled.variance;
  result.index2 = estimate->bits.mean;
  result.variance2 = estimate->bits.variance;
  return result;
}

Result<BootstrapEstimate> BootstrapShannon(const DataMatrix& matrix, const ShannonBootstrapOptions& options,
                                           const ShannonScaling& scaling, RandomGenerator& random,
                                           const StepProgress& progress) {
  if (options.replicates <= 1) return Failure{kSingleRunNotPerformed};
  return Estimate(matrix, options, scaling, random, progress);
}

std::uint32_t RoundUpDegrees(Real degrees) {
  constexpr Real kLargest = std::numeric_limits<std::uint32_t>::max();
  const Real nearest = std::round(degrees);
  const Real rounded = std::fabs(degrees - nearest) <= 4 * LDBL_EPSILON * nearest ? nearest : std::ceil(degrees);
  return static_cast<std::uint32_t>(std::min(rounded, kLargest));
}

std::optional<PairTest> ShannonPairTest(const GroupShannon& a, const GroupShannon& b) {
  const Real sum = a.variance2 + b.variance2;
  if (!(sum > 0) || !std::isfinite(sum)) return std::nullopt;
  const Real t = std::fabs(a.index2 - b.index2) / std::sqrt(sum);
  const Real degrees = sum * sum / (a.variance2 * a.variance2 / static_cast<Real>(a.size) +
                                    b.variance2 * b.variance2 / static_cast<Real>(b.size));
  if (!std::isfinite(t) || !std::isfinite(degrees)) return std::nullopt;
  PairTest test;
  test.t = t;
  test.degrees = RoundUpDegrees(degrees);
  test.p = StudentTwoSided(test.degrees, t);
  return test;
}

}  // namespace vorn
