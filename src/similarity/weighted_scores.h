// Packed scores of a sample of loci taken with repetition (a bootstrap sample). The loci taken
// k times are packed together, once, and the counts of a pair over the sample are the sum over k
// of k times its counts over those loci: the same integers as over the sample written out locus
// by locus, from about two thirds of the words.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/data_matrix.h"
#include "similarity/pair_counts.h"

namespace vorn {

class WeightedScores {
 public:
  // drawn[k] is the locus of data taken at sample position k.
  WeightedScores(const DataMatrix& data, const std::vector<std::uint32_t>& drawn);

  std::size_t IndividualCount() const { return individualCount_; }
  // Words per individual over all groups: the work of one pair.
  std::size_t WordCount() const { return wordCount_; }

  // The counts of individual i with individuals first .. last - 1 over the sample, into
  // counts[0 .. last - first - 1]; scratch holds as many entries.
  void CountPairs(std::size_t i, std::size_t first, std::size_t last, PairCounts* counts, PairCounts* scratch) const;

 private:
  struct Group {
    std::uint32_t weight;
    PackedScores scores;
  };
  std::size_t individualCount_;
  std::size_t wordCount_ = 0;
  std::vector<Group> groups_;
};

}  // namespace vorn
