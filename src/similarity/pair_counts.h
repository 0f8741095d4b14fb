// Counting how the scores of two individuals meet, locus by locus. Scores are packed per
// individual into 64-locus words: a presence mask and a scored mask (a missing score is a zero
// in both; an absence is scored but not present). Bits past the last locus are zero in both
// masks, so whole words can be counted with popcount, all counts of a pair in one pass.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/band_state.h"
#include "core/kernel_paths.h"
#include "core/data_matrix.h"

namespace vorn {

// The pair counts of two individuals i and j over the loci (P presence, A absence, M missing).
// The formulas need b and c only as their sum, so they are counted together.
struct PairCounts {
  std::uint32_t a = 0;       // (P, P)
  std::uint32_t bPlusC = 0;  // (P, A) and (A, P)
  std::uint32_t d = 0;       // (A, A)
  std::uint32_t p = 0;       // (P, M) and (M, P)
  std::uint32_t q = 0;       // (A, M) and (M, A)
  std::uint32_t r = 0;       // (M, M)

  bool operator==(const PairCounts&) const = default;
};

// Packed scores of some individuals of a locus-major score block.
class PackedScores {
 public:
  // Individuals first .. first + count - 1 of a block of blockIndividuals individuals by
  // locusCount loci (individual i at locus l at l * blockIndividuals + i).
  PackedScores(const Cell* cells, std::size_t blockIndividuals, std::size_t locusCount, std::size_t first,
               std::size_t count);
  // Every individual of the matrix.
  explicit PackedScores(const DataMatrix& data);
  // Every individual of the matrix at the given loci, locus loci[k] of data as locus k.
  PackedScores(const DataMatrix& data, const std::vector<std::uint32_t>& loci);

  std::size_t IndividualCount() const { return individualCount_; }
  std::size_t LocusCount() const { return locusCount_; }
  std::size_t WordCount() const { return wordCount_; }
  // The masks of individual i (0 .. count - 1): its WordCount() presence words, then its
  // WordCount() scored words.
  const std::uint64_t* Masks(std::size_t i) const { return masks_.data() + i * 2 * wordCount_; }

 private:
  PackedScores(std::size_t individualCount, std::size_t locusCount);
  // Sets the bits of locus k from the scores of every individual at that locus.
  void Pack(const Cell* locus, std::size_t k);

  std::size_t individualCount_;
  std::size_t locusCount_;
  std::size_t wordCount_;
  std::vector<std::uint64_t> masks_;
};

// All the counts of individual i of x and individual j of y, in one pass over their words.
// Both must have the same loci.
PairCounts CountPair(const PackedScores& x, std::size_t i, const PackedScores& y, std::size_t j);

// The counts of individual i of x with individuals first .. last - 1 of y, into
// counts[0 .. last - first - 1]: a stretch of a row of a matrix.
void CountPairs(const PackedScores& x, std::size_t i, const PackedScores& y, std::size_t first, std::size_t last,
                PairCounts* counts);

// The same with the body for the path asked for (it must run here), to hold the paths against
// each other.
void CountPairs(KernelPath path, const PackedScores& x, std::size_t i, const PackedScores& y, std::size_t first,
                std::size_t last, PairCounts* counts);

// The counts of individuals i and j (from 0) of the matrix.
PairCounts CountPair(const DataMatrix& data, std::size_t i, std::size_t j);

// The counts of individual i of block A (nA individuals) and individual j of block B (nB),
// over locusCount loci, both blocks locus-major.
PairCounts CountPair(const Cell* blockA, std::size_t nA, std::size_t i, const Cell* blockB, std::size_t nB,
                     std::size_t j, std::size_t locusCount);

}  // namespace vorn
