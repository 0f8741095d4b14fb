// The loci that can be compared in each pair of individuals, those scored in both: their least,
// median and largest number over the pairs, the pairs with the fewest, and the whole matrix as a
// tab-separated file. The counts are those the similarity fill made its entries of
// (SimilarityFill::comparable, lower triangle with the diagonal).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/conventions.h"
#include "core/label_table.h"
#include "core/result.h"

namespace vorn {

// The pairs with the fewest comparable loci that the line names.
inline constexpr std::size_t kFewestPairsNamed = 3;

struct ComparableSummary {
  std::uint32_t minimum = 0;
  Real median = 0;  // of the pairs' counts; the mean of the two middle ones for an even number of pairs
  std::uint32_t maximum = 0;
  std::vector<std::pair<std::size_t, std::size_t>> fewest;  // (row, column), row > column, in row order
  std::size_t fewestCount = 0;                               // pairs with the minimum
};

// Over the pairs (i, j), i > j, of n individuals; n must be at least 2.
ComparableSummary SummariseComparable(const std::vector<std::uint32_t>& comparable, std::size_t n);

// "Loci scored in both of a pair: minimum 3, median 5.5, maximum 8; fewest: A1 and B2 (3),
// A1 and C4 (3) and 2 more pairs".
std::string ComparableLociLine(const ComparableSummary& summary, const LabelTable& labels);

// The square matrix with the individuals' names as first row and first column, written whole
// to path (the diagonal: the loci scored in the individual).
Status WriteComparableLoci(const std::string& path, const std::vector<std::uint32_t>& comparable, std::size_t n,
                           const LabelTable& labels);

}  // namespace vorn
