#include "similarity/weighted_scores.h"

#include <algorithm>
#include <bit>

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

// The counts of individual i with first .. first + count - 1 (count at most kColumns): word by
// word, each column's masks against i's, every popcount times the word's weight. bothScored and
// oneScored give d, q and r by difference, as in the plain pair count.
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
    PairCounts& c = counts[k];
    c.a = a[k];
    c.bPlusC = bPlusC[k];
    c.d = bothScored[k] - a[k] - bPlusC[k];
    if constexpr (kAllCounts) {
      c.p = p[k];
      c.q = oneScored[k] - p[k];
      c.r = s.sampleSize - bothScored[k] - oneScored[k];
    } else {
      c.p = c.q = c.r = 0;
    }
  }
}

[[gnu::always_inline]] inline void CountRow(const Words& s, std::size_t i, std::size_t first, std::size_t last,
                                            bool standardOnly, PairCounts* counts) {
  for (; first < last; first += kColumns, counts += kColumns) {
    const std::size_t count = std::min(kColumns, last - first);
    if (standardOnly) {
      CountColumns<false>(s, i, first, count, counts);
    } else {
      CountColumns<true>(s, i, first, count, counts);
    }
  }
}

// The row loop compiled for three kinds of processor, as the plain pair counts are.
[[gnu::target("avx512f,avx512vpopcntdq")]]
void CountRowVectorPopcount(const Words& s, std::size_t i, std::size_t first, std::size_t last, bool standardOnly,
                            PairCounts* counts) {
  CountRow(s, i, first, last, standardOnly, counts);
}

[[gnu::target("popcnt")]]
void CountRowPopcount(const Words& s, std::size_t i, std::size_t first, std::size_t last, bool standardOnly,
                      PairCounts* counts) {
  CountRow(s, i, first, last, standardOnly, counts);
}

void CountRowPlain(const Words& s, std::size_t i, std::size_t first, std::size_t last, bool standardOnly,
                   PairCounts* counts) {
  CountRow(s, i, first, last, standardOnly, counts);
}

using RowCounter = void (*)(const Words&, std::size_t, std::size_t, std::size_t, bool, PairCounts*);

constexpr KernelBuilds<RowCounter> kRowCounters{CountRowVectorPopcount, CountRowPopcount, CountRowPlain};

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

void WeightedScores::CountPairs(CountKernel kernel, std::size_t i, std::size_t first, std::size_t last,
                                bool standardOnly, PairCounts* counts) const {
  const Words words{present_.data(), scored_.data(), weights_.data(), weights_.size(), individualCount_, sampleSize_};
  kRowCounters.For(kernel)(words, i, first, last, standardOnly, counts);
}

void WeightedScores::CountPairs(std::size_t i, std::size_t first, std::size_t last, bool standardOnly,
                                PairCounts* counts) const {
  static const RowCounter best = kRowCounters.Best();
  const Words words{present_.data(), scored_.data(), weights_.data(), weights_.size(), individualCount_, sampleSize_};
  best(words, i, first, last, standardOnly, counts);
}

}  // namespace vorn
