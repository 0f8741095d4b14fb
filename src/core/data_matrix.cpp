#include "core/data_matrix.h"

#include <algorithm>
#include <unordered_set>

#include "core/fingerprint.h"

namespace vorn {

std::size_t DataMatrix::LocusStateCount(std::size_t locus, Cell state) const {
  const Cell* scores = Locus(locus);
  return static_cast<std::size_t>(std::count(scores, scores + individualCount, state));
}

std::size_t DataMatrix::IndividualStateCount(std::size_t individual, Cell state) const {
  std::size_t count = 0;
  for (std::size_t locus = 0; locus < locusCount; ++locus) count += At(individual, locus) == state;
  return count;
}

Real DataMatrix::IndividualMissingShare(std::size_t individual) const {
  return static_cast<Real>(IndividualStateCount(individual, Missing)) / locusCount;
}

Real DataMatrix::LocusMissingShare(std::size_t locus) const {
  return static_cast<Real>(LocusStateCount(locus, Missing)) / individualCount;
}

std::uint64_t Fingerprint(const DataMatrix& matrix) {
  std::uint64_t hash = FingerprintMix((std::uint64_t{matrix.individualCount} << 16) | matrix.locusCount);
  hash = FingerprintBytes(hash, matrix.cells.data(), matrix.cells.size());
  for (const LabelTable* table : {&matrix.individualLabels, &matrix.locusLabels}) {
    hash = FingerprintMix(hash ^ table->Count());
    for (const std::string& label : table->All()) hash = FingerprintBytes(hash, label.data(), label.size());
  }
  return hash;
}

std::size_t IndividualIndex(const DataMatrix& matrix, std::string_view name) {
  return static_cast<std::size_t>(matrix.individualLabels.Find(name) + 1);
}

MembershipMaskResult MembershipMask(const LabelTable& labels, const std::vector<std::string>& names) {
  const std::unordered_set<std::string> wanted(names.begin(), names.end());
  MembershipMaskResult result;
  result.mask.resize(labels.Count());
  for (std::size_t i = 0; i < labels.Count(); ++i) {
    result.mask[i] = wanted.count(labels[i]) ? 1 : 0;
    result.memberCount += result.mask[i];
  }
  return result;
}

}  // namespace vorn
