#include "similarity/pair_counts.h"

#include <immintrin.h>

#include <algorithm>
#include <bit>

#include "similarity/byte_counts.h"

namespace vorn {
namespace {

constexpr std::size_t kLociPerWord = 64;

// The five sums the counts of a pair come from, word by word: bothScored and oneScored give d,
// q and r by difference, so five popcounts a word suffice.
struct WordSums {
  std::uint32_t a = 0, bPlusC = 0, bothScored = 0, oneScored = 0, p = 0;

  [[gnu::always_inline]] void Add(std::uint64_t presentU, std::uint64_t scoredU, std::uint64_t presentV,
                                  std::uint64_t scoredV) {
    const std::uint64_t both = scoredU & scoredV;
    const std::uint64_t one = scoredU ^ scoredV;
    a += static_cast<std::uint32_t>(std::popcount(presentU & presentV));
    bPlusC += static_cast<std::uint32_t>(std::popcount((presentU ^ presentV) & both));
    bothScored += static_cast<std::uint32_t>(std::popcount(both));
    oneScored += static_cast<std::uint32_t>(std::popcount(one));
    p += static_cast<std::uint32_t>(std::popcount((presentU | presentV) & one));
  }
  PairCounts Counts(std::size_t loci) const {
    PairCounts counts;
    counts.a = a;
    counts.bPlusC = bPlusC;
    counts.d = bothScored - a - bPlusC;
    counts.p = p;
    counts.q = oneScored - p;
    counts.r = static_cast<std::uint32_t>(loci) - bothScored - oneScored;
    return counts;
  }
};

// The masks of two individuals: u and v each hold words presence words, then words scored words.
struct PairWords {
  const std::uint64_t* presentU;
  const std::uint64_t* scoredU;
  const std::uint64_t* presentV;
  const std::uint64_t* scoredV;
  PairWords(const std::uint64_t* u, const std::uint64_t* v, std::size_t words)
      : presentU(u), scoredU(u + words), presentV(v), scoredV(v + words) {}
};

// The plain kernel, the meaning of the others: words from .. words - 1 added to sums.
[[gnu::always_inline]] inline void AddWords(const PairWords& x, std::size_t from, std::size_t words, WordSums& sums) {
  for (std::size_t w = from; w < words; ++w) sums.Add(x.presentU[w], x.scoredU[w], x.presentV[w], x.scoredV[w]);
}

[[gnu::always_inline]] inline PairCounts CountWords(const std::uint64_t* u, const std::uint64_t* v, std::size_t words,
                                                    std::size_t loci) {
  WordSums sums;
  AddWords(PairWords(u, v, words), 0, words, sums);
  return sums.Counts(loci);
}

// The same sums four words at a time in 256-bit vectors, counted in bytes for up to
// kByteCountVectors vectors and then widened to 64-bit lanes; the last words as the plain kernel.
[[gnu::target("avx2,popcnt")]] PairCounts CountWordsAvx2(const std::uint64_t* u, const std::uint64_t* v,
                                                         std::size_t words, std::size_t loci) {
  const PairWords x(u, v, words);
  __m256i lanes[5] = {};
  std::size_t w = 0;
  while (w + 4 <= words) {
    const std::size_t end = w + 4 * std::min(kByteCountVectors, (words - w) / 4);
    __m256i bytes[5] = {};
    for (; w < end; w += 4) {
      const __m256i presentU = LoadWords(x.presentU + w), scoredU = LoadWords(x.scoredU + w);
      const __m256i presentV = LoadWords(x.presentV + w), scoredV = LoadWords(x.scoredV + w);
      const __m256i both = _mm256_and_si256(scoredU, scoredV);
      const __m256i one = _mm256_xor_si256(scoredU, scoredV);
      const __m256i masks[5] = {_mm256_and_si256(presentU, presentV),
                                _mm256_and_si256(_mm256_xor_si256(presentU, presentV), both), both, one,
                                _mm256_and_si256(_mm256_or_si256(presentU, presentV), one)};
      for (int k = 0; k < 5; ++k) bytes[k] = _mm256_add_epi8(bytes[k], ByteCounts(masks[k]));
    }
    for (int k = 0; k < 5; ++k) lanes[k] = _mm256_add_epi64(lanes[k], LaneSums(bytes[k]));
  }
  std::uint32_t totals[5];
  for (int k = 0; k < 5; ++k) totals[k] = static_cast<std::uint32_t>(Total(lanes[k]));
  WordSums sums{totals[0], totals[1], totals[2], totals[3], totals[4]};
  AddWords(x, w, words, sums);
  return sums.Counts(loci);
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

template <PairCounts (*countWords)(const std::uint64_t*, const std::uint64_t*, std::size_t, std::size_t)>
[[gnu::always_inline]] inline void CountRow(const PackedScores& x, std::size_t i, const PackedScores& y,
                                            std::size_t first, std::size_t last, PairCounts* counts) {
  const std::uint64_t* u = x.Masks(i);
  for (std::size_t j = first; j < last; ++j) *counts++ = countWords(u, y.Masks(j), x.WordCount(), x.LocusCount());
}

// The row loop for each path. With vector popcounts the compiler vectorises the plain kernel;
// the plain loop itself uses the popcount instruction where the processor has one.
[[gnu::target("avx512f,avx512vpopcntdq")]]
void CountRowAvx512(const PackedScores& x, std::size_t i, const PackedScores& y, std::size_t first, std::size_t last,
                    PairCounts* counts) {
  CountRow<CountWords>(x, i, y, first, last, counts);
}

[[gnu::target("avx2,popcnt")]]
void CountRowAvx2(const PackedScores& x, std::size_t i, const PackedScores& y, std::size_t first, std::size_t last,
                  PairCounts* counts) {
  CountRow<CountWordsAvx2>(x, i, y, first, last, counts);
}

[[gnu::target_clones("popcnt", "default")]]
void CountRowPlain(const PackedScores& x, std::size_t i, const PackedScores& y, std::size_t first, std::size_t last,
                   PairCounts* counts) {
  CountRow<CountWords>(x, i, y, first, last, counts);
}

using RowCounter = void (*)(const PackedScores&, std::size_t, const PackedScores&, std::size_t, std::size_t,
                            PairCounts*);

constexpr KernelBuilds<RowCounter> kRowCounters{Kernel::PairCounts, CountRowPlain, CountRowAvx2, CountRowAvx512};

}  // namespace

void CountPairs(KernelPath path, const PackedScores& x, std::size_t i, const PackedScores& y, std::size_t first,
                std::size_t last, PairCounts* counts) {
  kRowCounters.For(path)(x, i, y, first, last, counts);
}

void CountPairs(const PackedScores& x, std::size_t i, const PackedScores& y, std::size_t first, std::size_t last,
                PairCounts* counts) {
  kRowCounters.Chosen()(x, i, y, first, last, counts);
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
