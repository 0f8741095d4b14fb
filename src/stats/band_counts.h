// Presences, absences and missing scores of every locus or every individual of a matrix, each
// counted in one pass over the cells. A row whose three counts do not add up to its length
// (a locus has N scores, an individual L) held a cell code other than 0, 1 and 9.
#pragma once

#include <cstddef>
#include <vector>

#include "core/data_matrix.h"

namespace vorn {

struct BandCounts {
  std::size_t presences = 0;
  std::size_t absences = 0;
  std::size_t missing = 0;

  std::size_t Scored() const { return presences + absences + missing; }
};

// One entry per locus, in locus order; each should add up to N.
std::vector<BandCounts> CountLoci(const DataMatrix& matrix);
// One entry per individual, in data order; each should add up to L.
std::vector<BandCounts> CountIndividuals(const DataMatrix& matrix);

// count / total as a double, the precision in which removal thresholds are kept.
inline double Share(std::size_t count, std::size_t total) {
  return static_cast<double>(count) / static_cast<double>(total);
}

}  // namespace vorn
