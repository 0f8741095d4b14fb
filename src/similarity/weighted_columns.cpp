#include "similarity/weighted_columns.h"

#include <immintrin.h>

#include <algorithm>
#include <bit>

#include "similarity/weighted_scores.h"

namespace vorn {
namespace {

// The bits of the cells equal to state, 32 cells from at: cell m as bit m.
[[gnu::target("avx2")]] std::uint32_t CellsEqual(const Cell* at, Cell state) {
  const __m256i cells = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
  return static_cast<std::uint32_t>(
      _mm256_movemask_epi8(_mm256_cmpeq_epi8(cells, _mm256_set1_epi8(static_cast<char>(state)))));
}

std::uint32_t CellsEqual(const Cell* at, std::size_t count, Cell state) {
  std::uint32_t bits = 0;
  for (std::size_t m = 0; m < count; ++m) bits |= std::uint32_t{at[m] == state} << m;
  return bits;
}

// The sums over the loci of list of the bits of each individual of a block, each
// weight bit's loci at its level, as integers in values[0 .. 32 * stretches - 1].
[[gnu::target("avx2")]] void SumLoci(const WeightedLoci& list, const ColumnBits* bits, std::uint16_t zero,
                                     std::size_t stretches, std::uint32_t* values) {
  SlicedCounts sums;
  ClearCounts(sums);
  for (int b = 0; b < list.planes; ++b) {
    const std::uint32_t from = list.start[b], to = list.start[b + 1];
    AddVectors(list.loci.data() + from, to - from, zero, reinterpret_cast<const std::uint8_t*>(bits),
               sizeof(ColumnBits), b, sums);
  }
  Unslice(sums, std::bit_width(list.Weight()), stretches, values);
}

}  // namespace

std::uint32_t WeightedLoci::Weight() const {
  std::uint32_t weight = 0;
  for (int b = 0; b < planes; ++b) weight += (start[b + 1] - start[b]) << b;
  return weight;
}

WeightedColumns::WeightedColumns(const DataMatrix& data, const std::vector<std::uint32_t>& loci,
                                 std::uint32_t sampleSize, std::vector<std::uint32_t> bands,
                                 std::vector<std::uint32_t> missing, std::vector<WeightedLoci> missingLoci)
    : individualCount_(data.individualCount),
      locusCount_(loci.size()),
      sampleSize_(sampleSize),
      bands_(std::move(bands)),
      missing_(std::move(missing)),
      missingLoci_(std::move(missingLoci)) {
  const std::size_t n = individualCount_, blocks = (n + kColumnBlock - 1) / kColumnBlock;
  present_.assign(blocks * (locusCount_ + 1), ColumnBits{});
  missed_.assign(blocks * (locusCount_ + 1), ColumnBits{});
  for (std::size_t k = 0; k < locusCount_; ++k) {
    const Cell* cells = data.Locus(loci[k]);
    for (std::size_t j = 0; j < n; j += 32) {
      const std::size_t at = j / kColumnBlock * (locusCount_ + 1) + k, part = j % kColumnBlock / 32;
      const bool whole = j + 32 <= n;
      present_[at].bits[part] = whole ? CellsEqual(cells + j, Presence) : CellsEqual(cells + j, n - j, Presence);
      missed_[at].bits[part] = whole ? CellsEqual(cells + j, Missing) : CellsEqual(cells + j, n - j, Missing);
    }
  }
  CountCross();
}

// |P_i and M_j| = the sum over j's missing loci of i's presences: block by block of i, each
// block's lines read for every j before it, into cross_ column j of rows i > j.
void WeightedColumns::CountCross() {
  const std::size_t n = individualCount_;
  cross_.assign(n * (n - 1) / 2, 0);
  const auto zero = static_cast<std::uint16_t>(locusCount_);
  alignas(32) std::uint32_t values[kColumnBlock];
  for (std::size_t block = 0; block * kColumnBlock < n; ++block) {
    const std::size_t top = block * kColumnBlock, end = std::min(n, top + kColumnBlock);
    for (std::size_t j = 0; j + 1 < end; ++j) {
      SumLoci(missingLoci_[j], Present(block), zero, (end - top + 31) / 32, values);
      for (std::size_t i = std::max(top, j + 1); i < end; ++i) cross_[i * (i - 1) / 2 + j] = values[i - top];
    }
  }
}

void CountBlockAvx2(const WeightedColumns& columns, const RowLoci& row, std::size_t block, std::size_t first,
                    std::size_t last, CountsRead read, PairCounts* counts) {
  const std::size_t i = row.individual, top = block * kColumnBlock, stretches = (last + 31) / 32;
  const auto zero = static_cast<std::uint16_t>(columns.LocusCount());
  const ColumnBits* present = columns.Present(block);
  const WeightedLoci& missingOfI = columns.MissingLoci(i);
  alignas(32) std::uint32_t listed[kColumnBlock], missedBands[kColumnBlock], bothMissing[kColumnBlock];
  SumLoci(row.loci, present, zero, stretches, listed);
  SumLoci(missingOfI, present, zero, stretches, missedBands);  // |M_i and P_j|
  if (read == CountsRead::Standard) {
    SumLoci(missingOfI, columns.Missed(block), zero, stretches, bothMissing);
  }
  const std::uint32_t bandsOfI = columns.BandCount(i), missingOfICount = columns.MissingCount(i);
  for (std::size_t u = first; u < last; ++u) {
    const std::size_t j = top + u;
    const std::uint32_t bandsOfJ = columns.BandCount(j);
    // Where i has no band and j has one: j's bands less those where i has one or misses.
    const std::uint32_t a = row.bands ? listed[u] : bandsOfJ - listed[u] - missedBands[u];
    const std::uint32_t bandsWhereJMisses = j < i ? columns.BandsWhereMissing(i, j) : 0;
    PairCounts& c = counts[u - first];
    c = PairCounts{};
    c.a = a;
    c.bPlusC = (bandsOfI - a - bandsWhereJMisses) + (bandsOfJ - a - missedBands[u]);
    if (read == CountsRead::Standard) {
      c.d = columns.SampleSize() - missingOfICount - columns.MissingCount(j) + bothMissing[u] - a - c.bPlusC;
    }
  }
}

}  // namespace vorn
