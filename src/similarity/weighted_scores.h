// Packed scores of a sample of loci taken with repetition (a bootstrap sample). The loci taken
// k times are packed together, once, in whole words of weight k, and the counts of a pair over
// the sample are the sums of each word's counts times its weight: the same integers as over the
// sample written out locus by locus, from about two thirds of the words. The individuals are
// kept in blocks of kWeightedBlock, and within a block word by word, the block's individuals of a
// word side by side: one individual is counted against many neighbours at once (vector popcounts
// where the processor has them), and the words of a block follow one another in memory, where
// rows of every individual would put each word a page or more from the last. On the AVX2 path
// the Standard counts of a stretch of a whole block's width come instead from the scores kept
// locus by locus (weighted_columns.h), kept beside the words when that path is to run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/data_matrix.h"
#include "similarity/pair_counts.h"
#include "similarity/weighted_columns.h"

namespace vorn {

// Individuals of a block: a block's sums stay in the first-level cache.
inline constexpr std::size_t kWeightedBlock = 64;

// Where word w of individual j is among words words per individual (blocks padded with zeros).
inline std::size_t WeightedWordAt(std::size_t words, std::size_t w, std::size_t j) {
  return (j / kWeightedBlock * words + w) * kWeightedBlock + j % kWeightedBlock;
}

// What a fill reads of a pair's counts: every count; the Standard treatment's a, b + c and d;
// or only a and b + c, with d counted where a + b + c = 0 (whether the pair compares anything)
// and left 0 elsewhere, for the coefficients that need no shared absences.
enum class CountsRead : std::uint8_t { All, Standard, StandardBands };

struct WeightedWords;  // what the kernels read

class WeightedScores {
 public:
  // drawn[k] is the locus of data taken at sample position k; path: the body that will count
  // (another path's body counts from the words alone).
  WeightedScores(const DataMatrix& data, const std::vector<std::uint32_t>& drawn,
                 KernelPath path = PathOf(Kernel::WeightedPairCounts));

  std::size_t IndividualCount() const { return individualCount_; }
  // Words per individual: the work of one pair.
  std::size_t WordCount() const { return weights_.size(); }

  // The counts of individual i with individuals first .. last - 1 over the sample, into
  // counts[0 .. last - first - 1], the counts read counted and the others left 0.
  void CountPairs(std::size_t i, std::size_t first, std::size_t last, CountsRead read, PairCounts* counts) const;
  // The same with the body for the path asked for (it must run here), to hold the paths against
  // each other.
  void CountPairs(KernelPath path, std::size_t i, std::size_t first, std::size_t last, CountsRead read,
                  PairCounts* counts) const;

  // The columns a fill should count against each row at a time for what it reads.
  std::size_t TileColumns(CountsRead read) const;

  // CountPairs on the chosen path for one thread of a fill, which keeps what it learns of the
  // last rows it counted for their next stretches.
  class Counter {
   public:
    Counter(const WeightedScores& scores, CountsRead read) : scores_(scores), read_(read) {}
    void operator()(std::size_t i, std::size_t first, std::size_t last, PairCounts* counts);

   private:
    static constexpr std::size_t kRowsKept = 16;
    const WeightedScores& scores_;
    CountsRead read_;
    RowLoci rows_[kRowsKept];
  };

 private:
  std::size_t individualCount_;
  std::uint32_t sampleSize_;
  std::vector<std::uint32_t> weights_;  // of each word
  // Word w of individual j at WeightedWordAt(WordCount(), w, j); bits past a group's last locus
  // are zero.
  std::vector<std::uint64_t> present_;
  std::vector<std::uint64_t> scored_;

  std::vector<std::uint32_t> wordFirst_;  // position of each word's first locus among the distinct loci
  std::vector<std::uint32_t> wordSize_;   // loci of each word
  std::size_t rowLociBound_ = 0;          // entries a row's RowLoci holds at most
  std::optional<WeightedColumns> columns_;

  WeightedWords WordsOf(const WeightedColumns* columns) const;
  void Count(KernelPath path, RowLoci& row, std::size_t i, std::size_t first, std::size_t last, CountsRead read,
             PairCounts* counts) const;
  // d of the pairs counted with StandardBands that compare no band: the scored loci they share.
  void CountSharedAbsences(std::size_t i, std::size_t first, std::size_t last, PairCounts* counts) const;
};

}  // namespace vorn
