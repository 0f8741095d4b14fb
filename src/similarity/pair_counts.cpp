#include "similarity/pair_counts.h"

#include <bit>

namespace vorn {
namespace {

constexpr std::size_t kLociPerWord = 64;

}  // namespace

PackedScores::PackedScores(const Cell* cells, std::size_t blockIndividuals, std::size_t locusCount,
                           std::size_t first, std::size_t count)
    : individualCount_(count),
      locusCount_(locusCount),
      wordCount_((locusCount + kLociPerWord - 1) / kLociPerWord),
      masks_(count * 2 * wordCount_, 0) {
  for (std::size_t l = 0; l < locusCount; ++l) {
    const Cell* locus = cells + l * blockIndividuals + first;
    const std::size_t word = 2 * (l / kLociPerWord);
    const std::uint64_t bit = std::uint64_t{1} << (l % kLociPerWord);
    for (std::size_t i = 0; i < count; ++i) {
      std::uint64_t* masks = masks_.data() + i * 2 * wordCount_ + word;
      if (locus[i] == Presence) masks[0] |= bit;
      if (locus[i] != Missing) masks[1] |= bit;
    }
  }
}

PackedScores::PackedScores(const DataMatrix& data)
    : PackedScores(data.cells.data(), data.individualCount, data.locusCount, 0, data.individualCount) {}

// Compiled twice, with and without the processor's popcount instruction; the loader picks the
// one the processor runs.
[[gnu::target_clones("popcnt", "default")]]
PairCounts CountPair(const PackedScores& x, std::size_t i, const PackedScores& y, std::size_t j) {
  const std::uint64_t* u = x.Masks(i);
  const std::uint64_t* v = y.Masks(j);
  std::uint32_t a = 0, bPlusC = 0, bothScored = 0, oneScored = 0, p = 0;
  for (std::size_t w = 0; w < 2 * x.WordCount(); w += 2) {
    const std::uint64_t presentU = u[w], scoredU = u[w + 1], presentV = v[w], scoredV = v[w + 1];
    const std::uint64_t both = scoredU & scoredV;
    const std::uint64_t one = scoredU ^ scoredV;
    a += static_cast<std::uint32_t>(std::popcount(presentU & presentV));
    bPlusC += static_cast<std::uint32_t>(std::popcount((presentU ^ presentV) & both));
    bothScored += static_cast<std::uint32_t>(std::popcount(both));
    oneScored += static_cast<std::uint32_t>(std::popcount(one));
    p += static_cast<std::uint32_t>(std::popcount((presentU | presentV) & one));
  }
  PairCounts counts;
  counts.a = a;
  counts.bPlusC = bPlusC;
  counts.d = bothScored - a - bPlusC;
  counts.p = p;
  counts.q = oneScored - p;
  counts.r = static_cast<std::uint32_t>(x.LocusCount()) - bothScored - oneScored;
  return counts;
}

PairCounts CountPair(const DataMatrix& data, std::size_t i, std::size_t j) {
  return CountPair(data.cells.data(), data.individualCount, i, data.cells.data(), data.individualCount, j,
                   data.locusCount);
}

PairCounts CountPair(const Cell* blockA, std::size_t nA, std::size_t i, const Cell* blockB, std::size_t nB,
                     std::size_t j, std::size_t locusCount) {
  const PackedScores x(blockA, nA, locusCount, i, 1);
  const PackedScores y(blockB, nB, locusCount, j, 1);
  return CountPair(x, 0, y, 0);
}

}  // namespace vorn
