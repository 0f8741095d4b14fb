// A bootstrap sample's scores locus by locus, for the AVX2 path: for each block of kColumnBlock
// individuals and each distinct locus of the sample, 32 bytes of the block's presence bits and,
// apart, 32 of its missing bits. One individual i is counted against a whole block at once: for each
// locus in the shorter of its lists of bands and of absences, the block's presences are added to
// 256 bit-sliced counters (giving a), and for each locus it misses, the block's presences (|M_i
// and P_j|) and, for d, its missing scores (|M_i and M_j|). With the weighted numbers of bands
// and of missing scores of each individual, and |P_i and M_j| for j < i counted once beforehand
// from j's few missing loci, the rest follows by difference:
//   b = |P_i| - a - |P_i and M_j|,  c = |P_j| - a - |M_i and P_j|,
//   d = n - |M_i| - |M_j| + |M_i and M_j| - a - b - c   (n the sample size).
// A pair's work is one vector addition for each locus of the shorter list, about a quarter of a
// word's worth of loci each, where the word-by-word counts take an AND and popcount of every word
// for each of a and b + c. A locus taken k times is added at the levels of the bits of k.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/data_matrix.h"
#include "similarity/bit_sliced_counts.h"
#include "similarity/pair_counts.h"

namespace vorn {

enum class CountsRead : std::uint8_t;

inline constexpr std::size_t kColumnBlock = 256;

// Bit u: individual u of a block (past the last individual: 0).
struct alignas(32) ColumnBits {
  std::uint32_t bits[kColumnBlock / 32];
};

// Positions among the sample's distinct loci where one individual has one kind of score, by
// the bits of their weights: with weight bit b set, loci[start[b] .. start[b + 1]), b < planes.
struct WeightedLoci {
  int planes = 0;
  std::array<std::uint32_t, kMaxPlanes + 1> start{};
  std::vector<std::uint16_t> loci;

  // How many sample positions the list stands for.
  std::uint32_t Weight() const;
};

// What one individual's row is counted from.
struct RowLoci {
  std::size_t individual = SIZE_MAX;  // none yet
  bool bands = true;                  // loci lists its bands, or else its absences (the shorter)
  WeightedLoci loci;
};

class WeightedColumns {
 public:
  // loci[k] is the locus of data at position k of the sample's distinct loci; bands[i] and
  // missing[i] the weighted numbers of band and missing scores of individual i, missingLoci[i]
  // where it misses scores. Counts must stay below 2^kMaxPlanes.
  WeightedColumns(const DataMatrix& data, const std::vector<std::uint32_t>& loci, std::uint32_t sampleSize,
                  std::vector<std::uint32_t> bands, std::vector<std::uint32_t> missing,
                  std::vector<WeightedLoci> missingLoci);

  std::size_t LocusCount() const { return locusCount_; }
  std::uint32_t SampleSize() const { return sampleSize_; }
  // The presences of a block's individuals at each locus, and after them zeros (at LocusCount()).
  const ColumnBits* Present(std::size_t block) const { return present_.data() + block * (locusCount_ + 1); }
  // The same of their missing scores.
  const ColumnBits* Missed(std::size_t block) const { return missed_.data() + block * (locusCount_ + 1); }
  std::uint32_t BandCount(std::size_t i) const { return bands_[i]; }
  std::uint32_t MissingCount(std::size_t i) const { return missing_[i]; }
  const WeightedLoci& MissingLoci(std::size_t i) const { return missingLoci_[i]; }
  // |P_i and M_j| for j < i.
  std::uint32_t BandsWhereMissing(std::size_t i, std::size_t j) const { return cross_[i * (i - 1) / 2 + j]; }

 private:
  std::size_t individualCount_;
  std::size_t locusCount_;
  std::uint32_t sampleSize_;
  std::vector<ColumnBits> present_, missed_;  // block by block, locus by locus
  std::vector<std::uint32_t> bands_, missing_;
  std::vector<WeightedLoci> missingLoci_;
  std::vector<std::uint16_t> cross_;  // BandsWhereMissing, row by row

  void CountCross();
};

// The counts read of row's individual i with individuals lanes first .. last - 1 of the block,
// all at most i, into counts[0 .. last - first - 1], the others left 0 (d left 0 for
// StandardBands); read is Standard or StandardBands.
void CountBlockAvx2(const WeightedColumns& columns, const RowLoci& row, std::size_t block, std::size_t first,
                    std::size_t last, CountsRead read, PairCounts* counts);

}  // namespace vorn
