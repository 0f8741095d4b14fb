#include "stats/band_counts.h"

namespace vorn {
namespace {

void Add(Cell cell, BandCounts& counts) {
  switch (cell) {
    case Presence: ++counts.presences; break;
    case Absence: ++counts.absences; break;
    case Missing: ++counts.missing; break;
    default: break;  // left out, so the row no longer adds up
  }
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
