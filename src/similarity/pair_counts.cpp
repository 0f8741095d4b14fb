#include "similarity/pair_counts.h"

#include <bit>

namespace vorn {
namespace {

constexpr std::size_t kLociPerWord = 64;

// The one counting kernel: words of presence (p) and scored (s) masks of two individuals.
// bothScored and oneScored give d, q and r by difference, so five popcounts a word suffice.
[[gnu::always_inline]] inline PairCounts CountWords(const std::uint64_t* u, const std::uint64_t* v, std::size_t words, std::size_t loci) {
  const std::uint64_t* presentU = u;
  const std::uint64_t* scoredU = u + words;
  const std::uint64_t* presentV = v;
  const std::uint64_t* scoredV = v + words;
  std::uint32_t a = 0, bPlusC = 0, bothScored = 0, oneScored = 0, p = 0;
  for (std::size_t w = 0; w < words; ++w) {
    const std::uint64_t both = scoredU[w] & scoredV[w];
    const std::uint64_t one = scoredU[w] ^ scoredV[w];
    a += static_cast<std::uint32_t>(std::popcount(presentU[w] & presentV[w]));
    bPlusC += static_cast<std::uint32_t>(std::popcount((presentU[w] ^ presentV[w]) & both));
    bothScored += static_cast<std::uint32_t>(std::popcount(both));
    oneScored += static_cast<std::uint32_t>(std::popcount(one));
    p += static_cast<std::uint32_t>(std::popcount((presentU[w] | presentV[w]) & one));
  }
  PairCounts counts;
  counts.a = a;
  counts.bPlusC = bPlusC;
  counts.d = bothScored - a - bPlusC;
  counts.p = p;
  counts.q = oneScored - p;
  counts.r = static_cast<std::uint32_t>(loci) - bothScored - oneScored;
  return counts;
}

}  // namespace

PackedScores::PackedScores(std::size_t individualCount, std::size_t locusCount)
    : individualCount_(individualCount),
      locusCount_(locusCount),
      wordCount_((locusCount + kLociPerWord - 1) / kLociPerWord),
      masks_(individualCount * 2 * wordCount_, 0) {}

void PackedScores::Pack(const Cell* locus, std::size_t k) {
  const std::size_t word = k / kLociPerWord, bit = k % kLociPerWord;
  std::uint64_t* masks = masks_.data() + word;
  for (std::size_t i = 0; i < individualCount_; ++i, masks += 2 * wordCount_) {
    masks[0] |= std::uint64_t{locus[i] == Presence} << bit;
    masks[wordCount_] |= std::uint64_t{locus[i] != Missing} << bit;
  }
}

PackedScores::PackedScores(const Cell* cells, std::size_t blockIndividuals, std::size_t locusCount,
                           std::size_t first, std::size_t count)
    : PackedScores(count, locusCount) {
  for (std::size_t l = 0; l < locusCount; ++l) Pack(cells + l * blockIndividuals + first, l);
}

PackedScores::PackedScores(const DataMatrix& data)
    : PackedScores(data.cells.data(), data.individualCount, data.locusCount, 0, data.individualCount) {}

PackedScores::PackedScores(const DataMatrix& data, const std::vector<std::uint32_t>& loci)
    : PackedScores(data.individualCount, loci.size()) {
  for (std::size_t k = 0; k < loci.size(); ++k) Pack(data.cells.data() + loci[k] * data.individualCount, k);
}

PairCounts CountPair(const PackedScores& x, std::size_t i, const PackedScores& y, std::size_t j) {
  return CountWords(x.Masks(i), y.Masks(j), x.WordCount(), x.LocusCount());
}

namespace {

[[gnu::always_inline]] inline void CountRow(const PackedScores& x, std::size_t i, const PackedScores& y,
                                            std::size_t first, std::size_t last, PairCounts* counts) {
  const std::uint64_t* u = x.Masks(i);
  for (std::size_t j = first; j < last; ++j) *counts++ = CountWords(u, y.Masks(j), x.WordCount(), x.LocusCount());
}

// The row loop compiled for three kinds of processor: with vector popcounts, with the popcount
// instruction, and without either.
[[gnu::target("avx512f,avx512vpopcntdq")]]
void CountRowVectorPopcount(const PackedScores& x, std::size_t i, const PackedScores& y, std::size_t first,
                            std::size_t last, PairCounts* counts) {
  CountRow(x, i, y, first, last, counts);
}

[[gnu::target("popcnt")]]
void CountRowPopcount(const PackedScores& x, std::size_t i, const PackedScores& y, std::size_t first,
                      std::size_t last, PairCounts* counts) {
  CountRow(x, i, y, first, last, counts);
}

using RowCounter = void (*)(const PackedScores&, std::size_t, const PackedScores&, std::size_t, std::size_t,
                            PairCounts*);

constexpr KernelBuilds<RowCounter> kRowCounters{CountRowVectorPopcount, CountRowPopcount, CountRow};

}  // namespace

bool KernelRuns(CountKernel kernel) {
  __builtin_cpu_init();
  switch (kernel) {
    case CountKernel::VectorPopcount: return __builtin_cpu_supports("avx512vpopcntdq");
    case CountKernel::Popcount: return __builtin_cpu_supports("popcnt");
    case CountKernel::Plain: break;
  }
  return true;
}

void CountPairs(CountKernel kernel, const PackedScores& x, std::size_t i, const PackedScores& y, std::size_t first,
                std::size_t last, PairCounts* counts) {
  kRowCounters.For(kernel)(x, i, y, first, last, counts);
}

void CountPairs(const PackedScores& x, std::size_t i, const PackedScores& y, std::size_t first, std::size_t last,
                PairCounts* counts) {
  static const RowCounter best = kRowCounters.Best();
  best(x, i, y, first, last, counts);
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
