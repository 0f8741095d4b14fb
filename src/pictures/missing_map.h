// What the missing data map shows, without any display: the individuals in rows, ordered by
// their group at one level (groups in list order, individuals in no group last, data order
// within each), the loci in columns (in data order, or from the least to the most missing), and
// the missing scores aggregated into a grid of pixels, each the share of missing scores among
// the cells it covers. Cells are aggregated in one pass over the matrix, so that a matrix of
// 5000 individuals by 20000 loci is drawn as fast as a small one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/data_matrix.h"
#include "core/group_lists.h"

namespace vorn {

struct MissingMap {
  std::vector<std::uint32_t> rows;      // individuals, top to bottom
  std::vector<int> rowGroups;           // each row's group (index into groupNames), -1 for none
  std::vector<std::string> groupNames;  // the groups of the level, in list order
  std::vector<std::uint32_t> columns;   // loci, left to right
  std::vector<double> individualShares;  // missing scores over loci, in data order
  std::vector<double> locusShares;       // missing scores over individuals, in data order
  std::size_t missingCells = 0;
};

MissingMap MakeMissingMap(const DataMatrix& data, const GroupList& groups, std::size_t level, bool sortLoci);

// width x height pixels (each at most the columns and rows there are, and at least 1): pixel
// (x, y) covers the columns [x L / width, (x + 1) L / width) and the rows likewise, and holds
// the share of missing scores among those cells, row by row (y * width + x).
struct MissingPixels {
  std::size_t width = 0, height = 0;
  std::vector<float> shares;
};

MissingPixels AggregateMissing(const DataMatrix& data, const MissingMap& map, std::size_t width, std::size_t height);

// How many shares (in [0, 1]) fall into each of bins equal bins, the last one closed.
std::vector<std::size_t> ShareHistogram(const std::vector<double>& shares, std::size_t bins);

}  // namespace vorn
