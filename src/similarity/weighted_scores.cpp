#include "similarity/weighted_scores.h"

#include <immintrin.h>

#include <algorithm>
#include <bit>

#include "similarity/byte_counts.h"

namespace vorn {
namespace {

constexpr std::size_t kLociPerWord = 64;
// Individuals counted at once against one: their sums stay in the first-level cache.
constexpr std::size_t kColumns = 64;

// What the kernels read of the scores.
struct Words {
  const std::uint64_t* present;
  const std::uint64_t* scored;
  const std::uint32_t* weights;
  std::size_t wordCount;
  std::size_t individualCount;
  std::uint32_t sampleSize;
};

// A pair's counts from its five sums: bothScored and oneScored give d, q and r by difference.
// Without kAllCounts only a, b + c and d are given.
template <bool kAllCounts>
[[gnu::always_inline]] inline PairCounts CountsOf(std::uint32_t a, std::uint32_t bPlusC, std::uint32_t bothScored,
                                                  std::uint32_t oneScored, std::uint32_t p, std::uint32_t sampleSize) {
  PairCounts c;
  c.a = a;
  c.bPlusC = bPlusC;
  c.d = bothScored - a - bPlusC;
  if constexpr (kAllCounts) {
    c.p = p;
    c.q = oneScored - p;
    c.r = sampleSize - bothScored - oneScored;
  }
  return c;
}

// The counts of individual i with first .. first + count - 1 (count at most kColumns): word by
// word, each column's masks against i's, every popcount times the word's weight.
template <bool kAllCounts>
[[gnu::always_inline]] inline void CountColumns(const Words& s, std::size_t i, std::size_t first, std::size_t count,
                                                PairCounts* counts) {
  std::uint32_t a[kColumns] = {}, bPlusC[kColumns] = {}, bothScored[kColumns] = {}, oneScored[kColumns] = {},
                p[kColumns] = {};
  for (std::size_t w = 0; w < s.wordCount; ++w) {
    const std::size_t row = w * s.individualCount;
    const std::uint64_t presentU = s.present[row + i], scoredU = s.scored[row + i];
    const std::uint64_t* presentV = s.present + row + first;
    const std::uint64_t* scoredV = s.scored + row + first;
    const std::uint32_t weight = s.weights[w];
    for (std::size_t k = 0; k < count; ++k) {
      const std::uint64_t both = scoredU & scoredV[k];
      a[k] += weight * static_cast<std::uint32_t>(std::popcount(presentU & presentV[k]));
      bPlusC[k] += weight * static_cast<std::uint32_t>(std::popcount((presentU ^ presentV[k]) & both));
      bothScored[k] += weight * static_cast<std::uint32_t>(std::popcount(both));
      if constexpr (kAllCounts) {
        const std::uint64_t one = scoredU ^ scoredV[k];
        oneScored[k] += weight * static_cast<std::uint32_t>(std::popcount(one));
        p[k] += weight * static_cast<std::uint32_t>(std::popcount((presentU | presentV[k]) & one));
      }
    }
  }
  for (std::size_t k = 0; k < count; ++k) {
    counts[k] = CountsOf<kAllCounts>(a[k], bPlusC[k], bothScored[k], oneScored[k], p[k], s.sampleSize);
  }
}

// The end of the run of words from w: the words after it of the same weight, kByteCountVectors
// in all at most, so that their counts add up in bytes.
std::size_t RunEnd(const Words& s, std::size_t w) {
  const std::size_t end = std::min(s.wordCount, w + kByteCountVectors);
  const std::uint32_t weight = s.weights[w];
  while (++w < end && s.weights[w] == weight) {
  }
  return w;
}

// CountColumns four columns to a vector: each column's sums over a run of words of one weight
// counted in bytes, then widened to its 64-bit lane and multiplied by the weight (the lanes'
// low 32 bits are the plain kernel's sums). Columns past the last whole four as the plain kernel.
template <bool kAllCounts>
[[gnu::target("avx2,popcnt")]] void CountColumnsAvx2(const Words& s, std::size_t i, std::size_t first,
                                                     std::size_t count, PairCounts* counts) {
  constexpr int kSums = kAllCounts ? 5 : 3;  // a, b + c, bothScored, then oneScored and p
  const std::size_t vectorColumns = count / 4 * 4;
  for (std::size_t k = 0; k < vectorColumns; k += 4) {
    __m256i lanes[kSums] = {};
    for (std::size_t w = 0; w < s.wordCount;) {
      const __m256i weight = _mm256_set1_epi64x(s.weights[w]);
      __m256i bytes[kSums] = {};
      for (const std::size_t end = RunEnd(s, w); w < end; ++w) {
        const std::size_t row = w * s.individualCount;
        const __m256i presentU = _mm256_set1_epi64x(static_cast<long long>(s.present[row + i]));
        const __m256i scoredU = _mm256_set1_epi64x(static_cast<long long>(s.scored[row + i]));
        const __m256i presentV = LoadWords(s.present + row + first + k);
        const __m256i scoredV = LoadWords(s.scored + row + first + k);
        const __m256i both = _mm256_and_si256(scoredU, scoredV);
        bytes[0] = _mm256_add_epi8(bytes[0], ByteCounts(_mm256_and_si256(presentU, presentV)));
        bytes[1] = _mm256_add_epi8(bytes[1],
                                   ByteCounts(_mm256_and_si256(_mm256_xor_si256(presentU, presentV), both)));
        bytes[2] = _mm256_add_epi8(bytes[2], ByteCounts(both));
        if constexpr (kAllCounts) {
          const __m256i one = _mm256_xor_si256(scoredU, scoredV);
          bytes[3] = _mm256_add_epi8(bytes[3], ByteCounts(one));
          bytes[4] = _mm256_add_epi8(bytes[4], ByteCounts(_mm256_and_si256(_mm256_or_si256(presentU, presentV), one)));
        }
      }
      for (int c = 0; c < kSums; ++c) lanes[c] = _mm256_add_epi64(lanes[c], _mm256_mul_epu32(LaneSums(bytes[c]), weight));
    }
    alignas(32) std::uint64_t sums[5][4] = {};
    for (int c = 0; c < kSums; ++c) _mm256_store_si256(reinterpret_cast<__m256i*>(sums[c]), lanes[c]);
    for (std::size_t l = 0; l < 4; ++l) {
      const auto sum = [&](int c) { return static_cast<std::uint32_t>(sums[c][l]); };
      counts[k + l] = CountsOf<kAllCounts>(sum(0), sum(1), sum(2), sum(3), sum(4), s.sampleSize);
    }
  }
  if (vectorColumns < count) {
    CountColumns<kAllCounts>(s, i, first + vectorColumns, count - vectorColumns, counts + vectorColumns);
  }
}

template <void (*countColumns)(const Words&, std::size_t, std::size_t, std::size_t, PairCounts*),
          void (*countStandardColumns)(const Words&, std::size_t, std::size_t, std::size_t, PairCounts*)>
[[gnu::always_inline]] inline void CountRow(const Words& s, std::size_t i, std::size_t first, std::size_t last,
                                            bool standardOnly, PairCounts* counts) {
  for (; first < last; first += kColumns, counts += kColumns) {
    const std::size_t count = std::min(kColumns, last - first);
    if (standardOnly) {
      countStandardColumns(s, i, first, count, counts);
    } else {
      countColumns(s, i, first, count, counts);
    }
  }
}

// The row loop for each path, as the plain pair counts have them.
[[gnu::target("avx512f,avx512vpopcntdq")]]
void CountRowAvx512(const Words& s, std::size_t i, std::size_t first, std::size_t last, bool standardOnly,
                    PairCounts* counts) {
  CountRow<CountColumns<true>, CountColumns<false>>(s, i, first, last, standardOnly, counts);
}

[[gnu::target("avx2,popcnt")]]
void CountRowAvx2(const Words& s, std::size_t i, std::size_t first, std::size_t last, bool standardOnly,
                  PairCounts* counts) {
  CountRow<CountColumnsAvx2<true>, CountColumnsAvx2<false>>(s, i, first, last, standardOnly, counts);
}

[[gnu::target_clones("popcnt", "default")]]
void CountRowPlain(const Words& s, std::size_t i, std::size_t first, std::size_t last, bool standardOnly,
                   PairCounts* counts) {
  CountRow<CountColumns<true>, CountColumns<false>>(s, i, first, last, standardOnly, counts);
}

using RowCounter = void (*)(const Words&, std::size_t, std::size_t, std::size_t, bool, PairCounts*);

constexpr KernelBuilds<RowCounter> kRowCounters{Kernel::WeightedPairCounts, CountRowPlain, CountRowAvx2, CountRowAvx512};

}  // namespace

WeightedScores::WeightedScores(const DataMatrix& data, const std::vector<std::uint32_t>& drawn)
    : individualCount_(data.individualCount), sampleSize_(static_cast<std::uint32_t>(drawn.size())) {
  std::vector<std::uint32_t> times(data.locusCount, 0);
  for (const std::uint32_t locus : drawn) ++times[locus];
  const std::uint32_t most = times.empty() ? 0 : *std::max_element(times.begin(), times.end());
  std::vector<std::vector<std::uint32_t>> lociTaken(static_cast<std::size_t>(most) + 1);
  for (std::uint32_t locus = 0; locus < times.size(); ++locus) lociTaken[times[locus]].push_back(locus);
  // Each group starts a word of its own; word w holds the wordSize[w] loci from wordStart[w] on.
  std::vector<const std::uint32_t*> wordStart;
  std::vector<std::size_t> wordSize;
  for (std::uint32_t weight = 1; weight <= most; ++weight) {
    const std::vector<std::uint32_t>& loci = lociTaken[weight];
    for (std::size_t k = 0; k < loci.size(); k += kLociPerWord) {
      weights_.push_back(weight);
      wordStart.push_back(loci.data() + k);
      wordSize.push_back(std::min(kLociPerWord, loci.size() - k));
    }
  }
  const std::size_t n = individualCount_;
  present_.assign(weights_.size() * n, 0);
  scored_.assign(weights_.size() * n, 0);
  for (std::size_t w = 0; w < weights_.size(); ++w) {
    std::uint64_t* present = present_.data() + w * n;
    std::uint64_t* scored = scored_.data() + w * n;
    for (std::size_t bit = 0; bit < wordSize[w]; ++bit) {
      const Cell* cells = data.cells.data() + std::size_t{wordStart[w][bit]} * n;
      for (std::size_t j = 0; j < n; ++j) {
        present[j] |= std::uint64_t{cells[j] == Presence} << bit;
        scored[j] |= std::uint64_t{cells[j] != Missing} << bit;
      }
    }
  }
}

void WeightedScores::CountPairs(KernelPath path, std::size_t i, std::size_t first, std::size_t last,
                                bool standardOnly, PairCounts* counts) const {
  const Words words{present_.data(), scored_.data(), weights_.data(), weights_.size(), individualCount_, sampleSize_};
  kRowCounters.For(path)(words, i, first, last, standardOnly, counts);
}

void WeightedScores::CountPairs(std::size_t i, std::size_t first, std::size_t last, bool standardOnly,
                                PairCounts* counts) const {
  const Words words{present_.data(), scored_.data(), weights_.data(), weights_.size(), individualCount_, sampleSize_};
  kRowCounters.Chosen()(words, i, first, last, standardOnly, counts);
}

}  // namespace vorn
