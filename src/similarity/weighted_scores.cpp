#include "similarity/weighted_scores.h"

#include <immintrin.h>

#include <algorithm>
#include <bit>

#include "similarity/byte_counts.h"

namespace vorn {
namespace {

constexpr std::size_t kLociPerWord = 64;

// What the kernels read of the scores, laid out as WeightedScores keeps them.
struct Words {
  const std::uint64_t* present;
  const std::uint64_t* scored;
  const std::uint32_t* weights;
  std::size_t wordCount;
  std::size_t individualCount;
  std::uint32_t sampleSize;

  // Where word w of individual j is.
  std::size_t At(std::size_t w, std::size_t j) const { return WeightedWordAt(wordCount, w, j); }
};

// A pair's counts from its five sums: bothScored and oneScored give d, q and r by difference.
// The sums a kernel counts for what is read: a and b + c, then bothScored, then oneScored and p.
constexpr int SumsOf(CountsRead read) { return read == CountsRead::All ? 5 : read == CountsRead::Standard ? 3 : 2; }

template <CountsRead kRead>
[[gnu::always_inline]] inline PairCounts CountsOf(std::uint32_t a, std::uint32_t bPlusC, std::uint32_t bothScored,
                                                  std::uint32_t oneScored, std::uint32_t p, std::uint32_t sampleSize) {
  PairCounts c;
  c.a = a;
  c.bPlusC = bPlusC;
  if constexpr (kRead == CountsRead::StandardBands) return c;
  c.d = bothScored - a - bPlusC;
  if constexpr (kRead == CountsRead::All) {
    c.p = p;
    c.q = oneScored - p;
    c.r = sampleSize - bothScored - oneScored;
  }
  return c;
}

// The counts of individual i with first .. first + count - 1 (in one block): word by
// word, each column's masks against i's, every popcount times the word's weight.
template <CountsRead kRead>
[[gnu::always_inline]] inline void CountColumns(const Words& s, std::size_t i, std::size_t first, std::size_t count,
                                                PairCounts* counts) {
  std::uint32_t a[kWeightedBlock] = {}, bPlusC[kWeightedBlock] = {}, bothScored[kWeightedBlock] = {},
                oneScored[kWeightedBlock] = {}, p[kWeightedBlock] = {};
  for (std::size_t w = 0; w < s.wordCount; ++w) {
    const std::uint64_t presentU = s.present[s.At(w, i)], scoredU = s.scored[s.At(w, i)];
    const std::uint64_t* presentV = s.present + s.At(w, first);
    const std::uint64_t* scoredV = s.scored + s.At(w, first);
    const std::uint32_t weight = s.weights[w];
    for (std::size_t k = 0; k < count; ++k) {
      const std::uint64_t both = scoredU & scoredV[k];
      a[k] += weight * static_cast<std::uint32_t>(std::popcount(presentU & presentV[k]));
      bPlusC[k] += weight * static_cast<std::uint32_t>(std::popcount((presentU ^ presentV[k]) & both));
      if constexpr (kRead == CountsRead::StandardBands) continue;
      bothScored[k] += weight * static_cast<std::uint32_t>(std::popcount(both));
      if constexpr (kRead == CountsRead::All) {
        const std::uint64_t one = scoredU ^ scoredV[k];
        oneScored[k] += weight * static_cast<std::uint32_t>(std::popcount(one));
        p[k] += weight * static_cast<std::uint32_t>(std::popcount((presentU | presentV[k]) & one));
      }
    }
  }
  for (std::size_t k = 0; k < count; ++k) {
    counts[k] = CountsOf<kRead>(a[k], bPlusC[k], bothScored[k], oneScored[k], p[k], s.sampleSize);
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

// kVectors times four columns from column on, four to a vector: each column's sums over a run of
// words of one weight counted in bytes, then widened to its 64-bit lane and multiplied by the
// weight (the lanes' low 32 bits are the plain kernel's sums). Two vectors at once share the
// words of individual i and the loop.
template <CountsRead kRead, std::size_t kVectors>
[[gnu::target("avx2,popcnt"), gnu::always_inline]] inline void CountVectorsAvx2(const Words& s, std::size_t i,
                                                                                 std::size_t column,
                                                                                 PairCounts* counts) {
  constexpr int kSums = SumsOf(kRead);
  __m256i lanes[kVectors][kSums] = {};
  for (std::size_t w = 0; w < s.wordCount;) {
    const __m256i weight = _mm256_set1_epi64x(s.weights[w]);
    __m256i bytes[kVectors][kSums] = {};
    for (const std::size_t end = RunEnd(s, w); w < end; ++w) {
      const std::size_t u = s.At(w, i), v = s.At(w, column);
      const __m256i presentU = _mm256_set1_epi64x(static_cast<long long>(s.present[u]));
      const __m256i scoredU = _mm256_set1_epi64x(static_cast<long long>(s.scored[u]));
      for (std::size_t x = 0; x < kVectors; ++x) {
        const __m256i presentV = LoadWords(s.present + v + 4 * x);
        const __m256i scoredV = LoadWords(s.scored + v + 4 * x);
        const __m256i both = _mm256_and_si256(scoredU, scoredV);
        __m256i* b = bytes[x];
        b[0] = _mm256_add_epi8(b[0], ByteCounts(_mm256_and_si256(presentU, presentV)));
        b[1] = _mm256_add_epi8(b[1], ByteCounts(_mm256_and_si256(_mm256_xor_si256(presentU, presentV), both)));
        if constexpr (kSums > 2) b[2] = _mm256_add_epi8(b[2], ByteCounts(both));
        if constexpr (kSums > 3) {
          const __m256i one = _mm256_xor_si256(scoredU, scoredV);
          b[kSums - 2] = _mm256_add_epi8(b[kSums - 2], ByteCounts(one));
          b[kSums - 1] =
              _mm256_add_epi8(b[kSums - 1], ByteCounts(_mm256_and_si256(_mm256_or_si256(presentU, presentV), one)));
        }
      }
    }
    for (std::size_t x = 0; x < kVectors; ++x) {
      for (int c = 0; c < kSums; ++c) {
        lanes[x][c] = _mm256_add_epi64(lanes[x][c], _mm256_mul_epu32(LaneSums(bytes[x][c]), weight));
      }
    }
  }
  for (std::size_t x = 0; x < kVectors; ++x) {
    alignas(32) std::uint64_t sums[5][4] = {};
    for (int c = 0; c < kSums; ++c) _mm256_store_si256(reinterpret_cast<__m256i*>(sums[c]), lanes[x][c]);
    for (std::size_t l = 0; l < 4; ++l) {
      const auto sum = [&](int c) { return static_cast<std::uint32_t>(sums[c][l]); };
      counts[4 * x + l] = CountsOf<kRead>(sum(0), sum(1), sum(2), sum(3), sum(4), s.sampleSize);
    }
  }
}

// CountColumns sixteen (when few sums leave registers for them), eight and then four columns at
// a time; columns past the last whole four as the plain kernel.
template <CountsRead kRead>
[[gnu::target("avx2,popcnt")]] void CountColumnsAvx2(const Words& s, std::size_t i, std::size_t first,
                                                     std::size_t count, PairCounts* counts) {
  std::size_t k = 0;
  if constexpr (SumsOf(kRead) <= 3) {
    for (; k + 16 <= count; k += 16) CountVectorsAvx2<kRead, 4>(s, i, first + k, counts + k);
  }
  for (; k + 8 <= count; k += 8) CountVectorsAvx2<kRead, 2>(s, i, first + k, counts + k);
  for (; k + 4 <= count; k += 4) CountVectorsAvx2<kRead, 1>(s, i, first + k, counts + k);
  if (k < count) CountColumns<kRead>(s, i, first + k, count - k, counts + k);
}

using ColumnCounter = void (*)(const Words&, std::size_t, std::size_t, std::size_t, PairCounts*);

template <ColumnCounter countAll, ColumnCounter countStandard, ColumnCounter countBands>
[[gnu::always_inline]] inline void CountRow(const Words& s, std::size_t i, std::size_t first, std::size_t last,
                                            CountsRead read, PairCounts* counts) {
  const ColumnCounter count = read == CountsRead::All ? countAll : read == CountsRead::Standard ? countStandard : countBands;
  // A stretch of columns within one block of kWeightedBlock individuals at a time.
  while (first < last) {
    const std::size_t end = std::min(last, (first / kWeightedBlock + 1) * kWeightedBlock);
    count(s, i, first, end - first, counts);
    counts += end - first;
    first = end;
  }
}

// The row loop for each path, as the plain pair counts have them.
[[gnu::target("avx512f,avx512vpopcntdq")]]
void CountRowAvx512(const Words& s, std::size_t i, std::size_t first, std::size_t last, CountsRead read,
                    PairCounts* counts) {
  CountRow<CountColumns<CountsRead::All>, CountColumns<CountsRead::Standard>, CountColumns<CountsRead::StandardBands>>(
      s, i, first, last, read, counts);
}

[[gnu::target("avx2,popcnt")]]
void CountRowAvx2(const Words& s, std::size_t i, std::size_t first, std::size_t last, CountsRead read,
                  PairCounts* counts) {
  CountRow<CountColumnsAvx2<CountsRead::All>, CountColumnsAvx2<CountsRead::Standard>,
           CountColumnsAvx2<CountsRead::StandardBands>>(s, i, first, last, read, counts);
}

[[gnu::target_clones("popcnt", "default")]]
void CountRowPlain(const Words& s, std::size_t i, std::size_t first, std::size_t last, CountsRead read,
                   PairCounts* counts) {
  CountRow<CountColumns<CountsRead::All>, CountColumns<CountsRead::Standard>, CountColumns<CountsRead::StandardBands>>(
      s, i, first, last, read, counts);
}

using RowCounter = void (*)(const Words&, std::size_t, std::size_t, std::size_t, CountsRead, PairCounts*);

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
  const std::size_t n = individualCount_, W = weights_.size();
  const std::size_t blocks = (n + kWeightedBlock - 1) / kWeightedBlock;
  present_.assign(blocks * W * kWeightedBlock, 0);
  scored_.assign(blocks * W * kWeightedBlock, 0);
  for (std::size_t w = 0; w < W; ++w) {
    for (std::size_t bit = 0; bit < wordSize[w]; ++bit) {
      const Cell* cells = data.cells.data() + std::size_t{wordStart[w][bit]} * n;
      for (std::size_t block = 0; block < blocks; ++block) {
        std::uint64_t* present = present_.data() + WeightedWordAt(W, w, block * kWeightedBlock);
        std::uint64_t* scored = scored_.data() + WeightedWordAt(W, w, block * kWeightedBlock);
        const std::size_t first = block * kWeightedBlock, end = std::min(n, first + kWeightedBlock);
        for (std::size_t j = first; j < end; ++j) {
          present[j - first] |= std::uint64_t{cells[j] == Presence} << bit;
          scored[j - first] |= std::uint64_t{cells[j] != Missing} << bit;
        }
      }
    }
  }
}

void WeightedScores::CountPairs(KernelPath path, std::size_t i, std::size_t first, std::size_t last, CountsRead read,
                                PairCounts* counts) const {
  const Words words{present_.data(), scored_.data(), weights_.data(), weights_.size(), individualCount_, sampleSize_};
  kRowCounters.For(path)(words, i, first, last, read, counts);
  if (read == CountsRead::StandardBands) CountSharedAbsences(i, first, last, counts);
}

void WeightedScores::CountPairs(std::size_t i, std::size_t first, std::size_t last, CountsRead read,
                                PairCounts* counts) const {
  const Words words{present_.data(), scored_.data(), weights_.data(), weights_.size(), individualCount_, sampleSize_};
  kRowCounters.Chosen()(words, i, first, last, read, counts);
  if (read == CountsRead::StandardBands) CountSharedAbsences(i, first, last, counts);
}

// Rare: two individuals without a band among the loci both have scored.
void WeightedScores::CountSharedAbsences(std::size_t i, std::size_t first, std::size_t last, PairCounts* counts) const {
  const std::size_t W = weights_.size();
  for (std::size_t j = first; j < last; ++j) {
    PairCounts& c = counts[j - first];
    if (c.a + c.bPlusC > 0) continue;
    std::uint32_t both = 0;
    for (std::size_t w = 0; w < W; ++w) {
      both += weights_[w] * static_cast<std::uint32_t>(std::popcount(scored_[WeightedWordAt(W, w, i)] &
                                                                     scored_[WeightedWordAt(W, w, j)]));
    }
    c.d = both;
  }
}

}  // namespace vorn
