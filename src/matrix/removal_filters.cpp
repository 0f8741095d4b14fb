#include "matrix/removal_filters.h"

#include <algorithm>
#include <vector>

namespace vorn {
namespace {

LabelTable KeptLabels(const LabelTable& labels, const std::vector<bool>& kept) {
  if (labels.Empty()) return labels;
  std::vector<std::string> keptLabels;
  for (std::size_t row = 0; row < kept.size(); ++row) {
    if (kept[row]) keptLabels.push_back(labels[row]);
  }
  return LabelTable(std::move(keptLabels));
}

// keptCount counts kept rows of matrix (here and in KeepIndividuals), so it fits its 16-bit counts.
DataMatrix KeepLoci(const DataMatrix& matrix, const std::vector<bool>& kept, std::size_t keptCount) {
  DataMatrix result;
  result.individualCount = matrix.individualCount;
  result.locusCount = static_cast<std::uint16_t>(keptCount);
  result.cells.reserve(result.CellCount());
  for (std::size_t locus = 0; locus < matrix.locusCount; ++locus) {
    if (kept[locus]) result.cells.insert(result.cells.end(), matrix.Locus(locus), matrix.Locus(locus) + matrix.individualCount);
  }
  result.individualLabels = matrix.individualLabels;
  result.locusLabels = KeptLabels(matrix.locusLabels, kept);
  result.locusMetrics = matrix.locusMetrics.Kept(kept);
  return result;
}

DataMatrix KeepIndividuals(const DataMatrix& matrix, const std::vector<bool>& kept, std::size_t keptCount) {
  DataMatrix result;
  result.individualCount = static_cast<std::uint16_t>(keptCount);
  result.locusCount = matrix.locusCount;
  result.cells.reserve(result.CellCount());
  for (std::size_t locus = 0; locus < matrix.locusCount; ++locus) {
    const Cell* scores = matrix.Locus(locus);
    for (std::size_t i = 0; i < matrix.individualCount; ++i) {
      if (kept[i]) result.cells.push_back(scores[i]);
    }
  }
  result.individualLabels = KeptLabels(matrix.individualLabels, kept);
  result.locusLabels = matrix.locusLabels;
  result.locusMetrics = matrix.locusMetrics;
  return result;
}

enum class Side { Below, Above };

// Removes a row whose share of one kind of score lies strictly beyond the threshold.
RemovalCriterion ShareBeyond(std::size_t BandCounts::*kind, Side side, double threshold) {
  return [=](const BandCounts& counts, std::size_t length) {
    const double share = Share(counts.*kind, length);
    return side == Side::Above ? share > threshold : share < threshold;
  };
}

}  // namespace

Result<Removal> RemoveRows(const DataMatrix& matrix, RowKind rows, const RemovalCriterion& removes) {
  const std::vector<BandCounts> counts = CountRows(matrix, rows);
  const std::size_t length = rows == RowKind::Loci ? matrix.individualCount : matrix.locusCount;

  std::vector<bool> removed(counts.size());
  for (std::size_t row = 0; row < counts.size(); ++row) {
    if (counts[row].Scored() != length) return Failure{kDataMatrixError};
    removed[row] = removes(counts[row], length);
  }
  return RemoveMarkedRows(matrix, rows, removed);
}

Result<Removal> RemoveMarkedRows(const DataMatrix& matrix, RowKind rows, const std::vector<bool>& removed) {
  const bool loci = rows == RowKind::Loci;
  const std::size_t count = std::count(removed.begin(), removed.end(), true);
  if (count > 0 && count == removed.size()) return Failure{loci ? kEveryLocusRemoved : kEveryIndividualRemoved};
  std::vector<bool> kept(removed.size());
  for (std::size_t row = 0; row < removed.size(); ++row) kept[row] = !removed[row];
  const std::size_t keptCount = removed.size() - count;
  return Removal{count, loci ? KeepLoci(matrix, kept, keptCount) : KeepIndividuals(matrix, kept, keptCount)};
}

Result<Removal> RemoveIndividualsWithMissingData(const DataMatrix& matrix, double threshold) {
  return RemoveRows(matrix, RowKind::Individuals, ShareBeyond(&BandCounts::missing, Side::Above, threshold));
}

Result<Removal> RemoveIndividualsWithFrequencyBelow(const DataMatrix& matrix, double threshold) {
  return RemoveRows(matrix, RowKind::Individuals, ShareBeyond(&BandCounts::presences, Side::Below, threshold));
}

Result<Removal> RemoveIndividualsWithFrequencyAbove(const DataMatrix& matrix, double threshold) {
  return RemoveRows(matrix, RowKind::Individuals, ShareBeyond(&BandCounts::presences, Side::Above, threshold));
}

Result<Removal> RemoveLociWithMissingData(const DataMatrix& matrix, double threshold) {
  return RemoveRows(matrix, RowKind::Loci, ShareBeyond(&BandCounts::missing, Side::Above, threshold));
}

Result<Removal> RemoveLociWithFrequencyBelow(const DataMatrix& matrix, double threshold) {
  return RemoveRows(matrix, RowKind::Loci, ShareBeyond(&BandCounts::presences, Side::Below, threshold));
}

Result<Removal> RemoveLociWithFrequencyAbove(const DataMatrix& matrix, double threshold) {
  return RemoveRows(matrix, RowKind::Loci, ShareBeyond(&BandCounts::presences, Side::Above, threshold));
}

Result<Removal> RemoveLociByMetric(const DataMatrix& matrix, std::size_t metric, bool above, Real threshold) {
  std::vector<bool> removed(matrix.locusCount);
  for (std::size_t l = 0; l < matrix.locusCount; ++l) {
    const Real value = matrix.locusMetrics.Value(l, metric);
    removed[l] = above ? value > threshold : value < threshold;
  }
  return RemoveMarkedRows(matrix, RowKind::Loci, removed);
}

Result<Removal> RemoveLociWithMoreMissingThanPresences(const DataMatrix& matrix) {
  return RemoveRows(matrix, RowKind::Loci, [](const BandCounts& c, std::size_t) { return c.missing > c.presences; });
}

}  // namespace vorn
