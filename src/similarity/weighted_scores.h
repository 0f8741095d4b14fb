// Packed scores of a sample of loci taken with repetition (a bootstrap sample). The loci taken
// k times are packed together, once, in whole words of weight k, and the counts of a pair over
// the sample are the sums of each word's counts times its weight: the same integers as over the
// sample written out locus by locus, from about two thirds of the words. The words are kept word
// by word, all individuals of a word side by side, so that one individual is counted against
// many neighbours at once (vector popcounts where the processor has them).
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
  // Words per individual: the work of one pair.
  std::size_t WordCount() const { return weights_.size(); }

  // The counts of individual i with individuals first .. last - 1 over the sample, into
  // counts[0 .. last - first - 1]. With standardOnly only a, b + c and d are counted (p, q and r
  // are left 0): all that the Standard treatment of missing scores reads.
  void CountPairs(std::size_t i, std::size_t first, std::size_t last, bool standardOnly, PairCounts* counts) const;
  // The same with the body for the path asked for (it must run here), to hold the paths against
  // each other.
  void CountPairs(KernelPath path, std::size_t i, std::size_t first, std::size_t last, bool standardOnly,
                  PairCounts* counts) const;

 private:
  std::size_t individualCount_;
  std::uint32_t sampleSize_;
  std::vector<std::uint32_t> weights_;  // of each word
  // Word w of individual j at w * individualCount_ + j; bits past a group's last locus are zero.
  std::vector<std::uint64_t> present_;
  std::vector<std::uint64_t> scored_;
};

}  // namespace vorn
