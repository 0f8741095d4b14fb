#include "similarity/weighted_scores.h"

#include <immintrin.h>

#include <algorithm>
#include <bit>

#include "similarity/byte_counts.h"

namespace vorn {

// What the kernels read of the scores, laid out as WeightedScores keeps them.
struct WeightedWords {
  const std::uint64_t* present;
  const std::uint64_t* scored;
  const std::uint32_t* weights;
  std::size_t wordCount;
  std::size_t individualCount;
  std::uint32_t sampleSize;
  const std::uint32_t* wordFirst;  // position of each word's first locus among the distinct loci
  const std::uint32_t* wordSize;   // loci of each word
  std::size_t rowLociBound;        // room a list of loci needs
  const WeightedColumns* columns;  // the scores locus by locus, when kept

  // Where word w of individual j is.
  std::size_t At(std::size_t w, std::size_t j) const { return WeightedWordAt(wordCount, w, j); }
};

namespace {

constexpr std::size_t kLociPerWord = 64;

using Words = WeightedWords;

// Stretches of a block narrower than this are counted word by word even where the scores are
// kept locus by locus: the counters of a block cost the same however few of them are read.
constexpr std::size_t kColumnsAtLeast = 96;

// Which of an individual's scores a list of loci holds.
enum class Score { Band, Absence, Missing };

// The loci where individual i has the score, by the bits of their words' weights (words of one
// weight follow one another, lightest first).
void ListLoci(const Words& s, std::size_t i, Score score, WeightedLoci& list) {
  list.loci.resize(s.rowLociBound);
  std::uint16_t* out = list.loci.data();
  const std::uint32_t heaviest = s.wordCount == 0 ? 0 : s.weights[s.wordCount - 1];
  list.planes = std::bit_width(heaviest);
  for (int b = 0; b < list.planes; ++b) {
    list.start[b] = static_cast<std::uint32_t>(out - list.loci.data());
    for (std::size_t w = 0; w < s.wordCount; ++w) {
      if ((s.weights[w] >> b & 1) == 0) continue;
      const std::uint64_t present = s.present[s.At(w, i)], scored = s.scored[s.At(w, i)];
      std::uint64_t bits = score == Score::Band ? present : score == Score::Absence ? scored & ~present : ~scored;
      if (score == Score::Missing && s.wordSize[w] < kLociPerWord) bits &= (std::uint64_t{1} << s.wordSize[w]) - 1;
      const auto first = static_cast<std::uint16_t>(s.wordFirst[w]);
      for (; bits != 0; bits &= bits - 1) *out++ = static_cast<std::uint16_t>(first + std::countr_zero(bits));
    }
  }
  list.start[list.planes] = static_cast<std::uint32_t>(out - list.loci.data());
  list.loci.resize(list.start[list.planes]);
}

// The weighted number of individual i's scores of one kind.
std::uint32_t WeightedCount(const Words& s, std::size_t i, Score score) {
  std::uint32_t count = 0;
  for (std::size_t w = 0; w < s.wordCount; ++w) {
    const std::uint64_t present = s.present[s.At(w, i)], scored = s.scored[s.At(w, i)];
    const std::uint64_t bits = score == Score::Band ? present : score == Score::Absence ? scored & ~present : scored;
    const auto ones = static_cast<std::uint32_t>(std::popcount(bits));
    count += s.weights[w] * (score == Score::Missing ? s.wordSize[w] - ones : ones);
  }
  return count;
}

// Row i's individual as the AVX2 path counts it: the shorter of its lists of bands and absences.
void ListRowLoci(const Words& s, std::size_t i, RowLoci& row) {
  row.individual = i;
  row.bands = WeightedCount(s, i, Score::Band) <= WeightedCount(s, i, Score::Absence);
  ListLoci(s, i, row.bands ? Score::Band : Score::Absence, row.loci);
}

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

// The column counts of each path, called (not taken by address) so that each path's row loop
// compiles them for its own processor: an out-of-line copy would be built for the baseline one,
// without a popcount instruction.
struct WordColumns {
  template <CountsRead kRead>
  [[gnu::always_inline]] static void Count(const Words& s, std::size_t i, std::size_t first, std::size_t count,
                                           PairCounts* counts) {
    CountColumns<kRead>(s, i, first, count, counts);
  }
};

struct Avx2Columns {
  template <CountsRead kRead>
  [[gnu::always_inline]] static void Count(const Words& s, std::size_t i, std::size_t first, std::size_t count,
                                           PairCounts* counts) {
    CountColumnsAvx2<kRead>(s, i, first, count, counts);
  }
};

// A stretch of columns within one block of kWeightedBlock individuals at a time.
template <class Columns, CountsRead kRead>
[[gnu::always_inline]] inline void CountStretches(const Words& s, std::size_t i, std::size_t first, std::size_t last,
                                                  PairCounts* counts) {
  while (first < last) {
    const std::size_t end = std::min(last, (first / kWeightedBlock + 1) * kWeightedBlock);
    Columns::template Count<kRead>(s, i, first, end - first, counts);
    counts += end - first;
    first = end;
  }
}

template <class Columns>
[[gnu::always_inline]] inline void CountRow(const Words& s, std::size_t i, std::size_t first, std::size_t last,
                                            CountsRead read, PairCounts* counts) {
  switch (read) {
    case CountsRead::All: return CountStretches<Columns, CountsRead::All>(s, i, first, last, counts);
    case CountsRead::Standard: return CountStretches<Columns, CountsRead::Standard>(s, i, first, last, counts);
    case CountsRead::StandardBands: break;
  }
  CountStretches<Columns, CountsRead::StandardBands>(s, i, first, last, counts);
}

// The row loop for each path, as the plain pair counts have them (row: what the AVX2 path keeps
// of the row's individual).
[[gnu::target("avx512f,avx512vpopcntdq")]]
void CountRowAvx512(const Words& s, RowLoci&, std::size_t i, std::size_t first, std::size_t last, CountsRead read,
                    PairCounts* counts) {
  CountRow<WordColumns>(s, i, first, last, read, counts);
}

// The Standard counts of wide stretches from the scores kept locus by locus, a block of
// kColumnBlock columns at a time; the rest word by word.
[[gnu::target("avx2,popcnt")]]
void CountRowAvx2(const Words& s, RowLoci& row, std::size_t i, std::size_t first, std::size_t last, CountsRead read,
                  PairCounts* counts) {
  if (read == CountsRead::All || s.columns == nullptr) return CountRow<Avx2Columns>(s, i, first, last, read, counts);
  // Locus by locus only up to the diagonal: past it |P_i and M_j| is not kept.
  const std::size_t diagonal = std::min(last, i + 1);
  while (first < diagonal) {
    const std::size_t end = std::min(diagonal, (first / kColumnBlock + 1) * kColumnBlock);
    if (end - first < kColumnsAtLeast) {
      CountRow<Avx2Columns>(s, i, first, end, read, counts);
    } else {
      if (row.individual != i) ListRowLoci(s, i, row);
      CountBlockAvx2(*s.columns, row, first / kColumnBlock, first % kColumnBlock, (end - 1) % kColumnBlock + 1, read,
                     counts);
    }
    counts += end - first;
    first = end;
  }
  if (first < last) CountRow<Avx2Columns>(s, i, first, last, read, counts);
}

[[gnu::target_clones("popcnt", "default")]]
void CountRowPlain(const Words& s, RowLoci&, std::size_t i, std::size_t first, std::size_t last, CountsRead read,
                   PairCounts* counts) {
  CountRow<WordColumns>(s, i, first, last, read, counts);
}

using RowCounter = void (*)(const Words&, RowLoci&, std::size_t, std::size_t, std::size_t, CountsRead, PairCounts*);

constexpr KernelBuilds<RowCounter> kRowCounters{Kernel::WeightedPairCounts, CountRowPlain, CountRowAvx2, CountRowAvx512};

}  // namespace

WeightedScores::WeightedScores(const DataMatrix& data, const std::vector<std::uint32_t>& drawn, KernelPath path)
    : individualCount_(data.individualCount), sampleSize_(static_cast<std::uint32_t>(drawn.size())) {
  std::vector<std::uint32_t> times(data.locusCount, 0);
  for (const std::uint32_t locus : drawn) ++times[locus];
  const std::uint32_t most = times.empty() ? 0 : *std::max_element(times.begin(), times.end());
  std::vector<std::vector<std::uint32_t>> lociTaken(static_cast<std::size_t>(most) + 1);
  for (std::uint32_t locus = 0; locus < times.size(); ++locus) lociTaken[times[locus]].push_back(locus);
  // Each group starts a word of its own; word w holds the wordSize[w] loci from wordStart[w] on.
  std::vector<const std::uint32_t*> wordStart;
  std::vector<std::size_t> wordSize;
  std::vector<std::uint32_t> distinctLoci;  // in the order of the words
  for (std::uint32_t weight = 1; weight <= most; ++weight) {
    const std::vector<std::uint32_t>& loci = lociTaken[weight];
    for (std::size_t k = 0; k < loci.size(); k += kLociPerWord) {
      weights_.push_back(weight);
      wordStart.push_back(loci.data() + k);
      wordSize.push_back(std::min(kLociPerWord, loci.size() - k));
      wordSize_.push_back(static_cast<std::uint32_t>(wordSize.back()));
      wordFirst_.push_back(static_cast<std::uint32_t>(distinctLoci.size() + k));
      rowLociBound_ += static_cast<std::size_t>(std::popcount(weight)) * wordSize.back();
    }
    distinctLoci.insert(distinctLoci.end(), loci.begin(), loci.end());
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
  // Counters of 16 bits count any sample of at most 65535 loci.
  if (path == KernelPath::Avx2 && n >= kColumnsAtLeast && std::bit_width(sampleSize_) <= kMaxPlanes) {
    const Words words = WordsOf(nullptr);
    std::vector<std::uint32_t> bands(n), missing(n);
    std::vector<WeightedLoci> missingLoci(n);
    for (std::size_t i = 0; i < n; ++i) {
      bands[i] = WeightedCount(words, i, Score::Band);
      missing[i] = WeightedCount(words, i, Score::Missing);
      ListLoci(words, i, Score::Missing, missingLoci[i]);
      missingLoci[i].loci.shrink_to_fit();  // a few of the loci
    }
    columns_.emplace(data, distinctLoci, sampleSize_, std::move(bands), std::move(missing), std::move(missingLoci));
  }
}

WeightedWords WeightedScores::WordsOf(const WeightedColumns* columns) const {
  return {present_.data(), scored_.data(), weights_.data(), weights_.size(), individualCount_, sampleSize_,
          wordFirst_.data(), wordSize_.data(), rowLociBound_, columns};
}

void WeightedScores::Count(KernelPath path, RowLoci& row, std::size_t i, std::size_t first, std::size_t last,
                           CountsRead read, PairCounts* counts) const {
  const Words words = WordsOf(columns_ ? &*columns_ : nullptr);
  kRowCounters.For(path)(words, row, i, first, last, read, counts);
  if (read == CountsRead::StandardBands) CountSharedAbsences(i, first, last, counts);
}

void WeightedScores::CountPairs(KernelPath path, std::size_t i, std::size_t first, std::size_t last, CountsRead read,
                                PairCounts* counts) const {
  RowLoci row;
  Count(path, row, i, first, last, read, counts);
}

void WeightedScores::CountPairs(std::size_t i, std::size_t first, std::size_t last, CountsRead read,
                                PairCounts* counts) const {
  CountPairs(PathOf(Kernel::WeightedPairCounts), i, first, last, read, counts);
}

std::size_t WeightedScores::TileColumns(CountsRead read) const {
  return columns_ && read != CountsRead::All && PathOf(Kernel::WeightedPairCounts) == KernelPath::Avx2 ? kColumnBlock
                                                                                                        : kWeightedBlock;
}

void WeightedScores::Counter::operator()(std::size_t i, std::size_t first, std::size_t last, PairCounts* counts) {
  scores_.Count(PathOf(Kernel::WeightedPairCounts), rows_[i % kRowsKept], i, first, last, read_, counts);
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
