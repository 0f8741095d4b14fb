#include "matrix/band_counts.h"

namespace vorn {
namespace {

// Branch-free, so that the loops over a locus vectorize; any other code adds to none of the
// three, and the row no longer adds up.
void Add(Cell cell, BandCounts& counts) {
  counts.presences += cell == Presence;
  counts.absences += cell == Absence;
  counts.missing += cell == Missing;
}

}  // namespace

std::vector<BandCounts> CountRows(const DataMatrix& matrix, RowKind rows) {
  const bool loci = rows == RowKind::Loci;
  std::vector<BandCounts> counts(loci ? matrix.locusCount : matrix.individualCount);
  for (std::size_t locus = 0; locus < matrix.locusCount; ++locus) {
    const Cell* scores = matrix.Locus(locus);
    for (std::size_t i = 0; i < matrix.individualCount; ++i) Add(scores[i], counts[loci ? locus : i]);
  }
  return counts;
}

}  // namespace vorn
