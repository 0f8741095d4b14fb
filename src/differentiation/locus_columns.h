// The scores of some individuals packed by locus: for each locus a presence mask and a scored
// mask over the individuals' places (bit s of word s / 64 for place s), bits past the last place
// zero. The band counts of a population at a locus are then popcounts of a column against the
// population's mask of places, which is how a permuted assignment is counted without moving
// any score.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/data_matrix.h"

namespace vorn {

class LocusColumns {
 public:
  // Place s holds individual individuals[s] of data.
  LocusColumns(const DataMatrix& data, const std::vector<std::uint32_t>& individuals);

  std::size_t Loci() const { return loci_; }
  std::size_t Words() const { return words_; }
  bool HasMissingScores() const { return missing_; }
  const std::uint64_t* Present(std::size_t locus) const { return present_.data() + locus * words_; }
  const std::uint64_t* Scored(std::size_t locus) const { return scored_.data() + locus * words_; }

 private:
  std::size_t loci_ = 0, words_ = 0;
  bool missing_ = false;
  std::vector<std::uint64_t> present_, scored_;
};

// The mask of a set of places, Words() words long.
std::vector<std::uint64_t> PlaceMask(const std::uint32_t* places, std::size_t count, std::size_t words);

// The number of bits set in both column and mask, words long: the plain loop that counts them.
inline std::uint32_t CountInMask(const std::uint64_t* column, const std::uint64_t* mask, std::size_t words) {
  std::uint32_t count = 0;
  for (std::size_t w = 0; w < words; ++w) count += static_cast<std::uint32_t>(std::popcount(column[w] & mask[w]));
  return count;
}

}  // namespace vorn
