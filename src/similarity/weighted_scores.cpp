#include "similarity/weighted_scores.h"

#include <algorithm>

namespace vorn {

WeightedScores::WeightedScores(const DataMatrix& data, const std::vector<std::uint32_t>& drawn)
    : individualCount_(data.individualCount) {
  std::vector<std::uint32_t> times(data.locusCount, 0);
  for (const std::uint32_t locus : drawn) ++times[locus];
  const std::uint32_t most = times.empty() ? 0 : *std::max_element(times.begin(), times.end());
  std::vector<std::vector<std::uint32_t>> lociTaken(static_cast<std::size_t>(most) + 1);
  for (std::uint32_t locus = 0; locus < times.size(); ++locus) lociTaken[times[locus]].push_back(locus);
  for (std::uint32_t weight = 1; weight <= most; ++weight) {
    if (lociTaken[weight].empty()) continue;
    groups_.push_back(Group{weight, PackedScores(data, lociTaken[weight])});
    wordCount_ += groups_.back().scores.WordCount();
  }
}

void WeightedScores::CountPairs(std::size_t i, std::size_t first, std::size_t last, PairCounts* counts,
                                PairCounts* scratch) const {
  const std::size_t count = last - first;
  std::fill(counts, counts + count, PairCounts{});
  for (const Group& group : groups_) {
    vorn::CountPairs(group.scores, i, group.scores, first, last, scratch);
    const std::uint32_t w = group.weight;
    for (std::size_t j = 0; j < count; ++j) {
      counts[j].a += w * scratch[j].a;
      counts[j].bPlusC += w * scratch[j].bPlusC;
      counts[j].d += w * scratch[j].d;
      counts[j].p += w * scratch[j].p;
      counts[j].q += w * scratch[j].q;
      counts[j].r += w * scratch[j].r;
    }
  }
}

}  // namespace vorn
