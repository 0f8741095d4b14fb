// Presences, absences and missing scores of every locus or every individual of a matrix, each
// counted in one pass over the cells. A row whose three counts do not add up to its length
// (a locus has N scores, an individual L) held a cell code other than 0, 1 and 9.
#pragma once

#include <cstddef>
#include <vector>

#include "core/data_matrix.h"

namespace vorn {

enum class RowKind { Individuals, Loci };

struct BandCounts {
  std::size_t presences = 0;
  std::size_t absences = 0;
  std::size_t missing = 0;

  std::size_t Scored() const { return presences + absences + missing; }
};

// One entry per locus (each should add up to N) or per individual (each should add up to L),
// in data order.
std::vector<BandCounts> CountRows(const DataMatrix& matrix, RowKind rows);

// count / total as a double, the precision in which removal thresholds are kept.
inline double Share(std::size_t count, std::size_t total) {
  return static_cast<double>(count) / static_cast<double>(total);
}

}  // namespace vorn
