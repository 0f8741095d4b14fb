// The removal filters: one routine per criterion, all over one scheme. A first pass counts each
// candidate row and decides; a second copies the kept rows, in their former order, with their
// labels, into a new matrix. The matrix given is never changed, so a failure leaves it as it was.
// Shares are compared with the threshold in doubles, the precision the threshold is kept in, and
// strictly: a row exactly at the threshold is kept.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "core/data_matrix.h"
#include "core/result.h"
#include "matrix/band_counts.h"

namespace vorn {

inline constexpr const char* kDataMatrixError = "Data matrix error.";
// A removal that would take every row is refused: an empty matrix cannot be analysed.
inline constexpr const char* kEveryIndividualRemoved =
    "Every individual would be removed, leaving an empty data matrix. Nothing was removed.";
inline constexpr const char* kEveryLocusRemoved =
    "Every locus would be removed, leaving an empty data matrix. Nothing was removed.";

struct Removal {
  std::size_t removedCount = 0;
  DataMatrix matrix;  // the kept rows with their labels
};

// True when a row with these counts goes; length is the row's number of scores.
using RemovalCriterion = std::function<bool(const BandCounts& counts, std::size_t length)>;

// The common scheme. Fails with kDataMatrixError when a row holds a code other than 0, 1, 9,
// and with kEveryIndividualRemoved / kEveryLocusRemoved when no row would stay.
Result<Removal> RemoveRows(const DataMatrix& matrix, RowKind rows, const RemovalCriterion& removes);

// The rows marked true removed (one mark per locus or per individual), for criteria that are not
// a row's own counts (a locus's error rate between replicate samples). Fails as RemoveRows does
// when no row would stay.
Result<Removal> RemoveMarkedRows(const DataMatrix& matrix, RowKind rows, const std::vector<bool>& removed);

// Individuals i with M(i)/L > threshold, P(i)/L < threshold, P(i)/L > threshold.
Result<Removal> RemoveIndividualsWithMissingData(const DataMatrix& matrix, double threshold);
Result<Removal> RemoveIndividualsWithFrequencyBelow(const DataMatrix& matrix, double threshold);
Result<Removal> RemoveIndividualsWithFrequencyAbove(const DataMatrix& matrix, double threshold);

// Loci l with M(l)/N > threshold, P(l)/N < threshold, P(l)/N > threshold, M(l) > P(l).
Result<Removal> RemoveLociWithMissingData(const DataMatrix& matrix, double threshold);
Result<Removal> RemoveLociWithFrequencyBelow(const DataMatrix& matrix, double threshold);
Result<Removal> RemoveLociWithFrequencyAbove(const DataMatrix& matrix, double threshold);
Result<Removal> RemoveLociWithMoreMissingThanPresences(const DataMatrix& matrix);

// Loci whose value of locus metric metric is below (above: beyond) threshold, strictly; a locus
// without a value of the metric (NaN) stays.
Result<Removal> RemoveLociByMetric(const DataMatrix& matrix, std::size_t metric, bool above, Real threshold);

}  // namespace vorn
