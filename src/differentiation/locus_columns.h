// The scores of some individuals packed by locus: for each locus a presence mask and a scored
// mask over the individuals' places (bit s of word s / 64 for place s), bits past the last place
// zero. The band counts of a population at a locus are then popcounts of a column against the
// population's mask of places, which is how a permuted assignment is counted without moving
// any score. Each locus also keeps its counts over all places, so that the last of a partition's
// populations is counted as what the others leave.
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
  std::uint32_t PresentTotal(std::size_t locus) const { return presentTotal_[locus]; }
  std::uint32_t ScoredTotal(std::size_t locus) const { return scoredTotal_[locus]; }

 private:
  std::size_t loci_ = 0, words_ = 0;
  bool missing_ = false;
  std::vector<std::uint64_t> present_, scored_;
  std::vector<std::uint32_t> presentTotal_, scoredTotal_;
};

// The mask of a set of places, Words() words long.
std::vector<std::uint64_t> PlaceMask(const std::uint32_t* places, std::size_t count, std::size_t words);

// The band counts of P populations whose masks (one after another, Words() long each) partition
// the places, at every locus: presentCounts[l P + j] = bits of Present(l) in mask j and, when
// scoredCounts is not null, scoredCounts[l P + j] likewise with Scored(l). The last population's
// counts are the locus totals less the others'. The plain body counts with std::popcount; the
// other is compiled for processors with the popcnt instruction and gives the same counts.
using LocusCounter = void (*)(const LocusColumns& columns, const std::uint64_t* masks, std::size_t populations,
                              std::uint32_t* presentCounts, std::uint32_t* scoredCounts);
LocusCounter PlainLocusCounter();
// Nothing when the processor lacks popcnt.
LocusCounter PopcntLocusCounter();
// The popcnt body where the processor has it, else the plain one; chosen once.
LocusCounter ChosenLocusCounter();

}  // namespace vorn
