#include "clustering/evanno_delta.h"

#include <algorithm>
#include <cmath>

namespace vorn {

std::vector<EvannoRow> EvannoTable(const std::vector<std::vector<double>>& logLikelihoods, double tolerance) {
  std::vector<EvannoRow> rows(logLikelihoods.size());
  for (std::size_t j = 0; j < rows.size(); ++j) {
    const auto& runs = logLikelihoods[j];
    EvannoRow& row = rows[j];
    for (double l : runs) row.mean += l;
    row.mean /= double(runs.size());
    if (runs.size() > 1) {
      double squares = 0;
      for (double l : runs) squares += (l - row.mean) * (l - row.mean);
      row.sd = std::sqrt(squares / double(runs.size() - 1));
    }
    if (j == 0) row.undefinedBecause = "smallest K";
    else if (j + 1 == rows.size()) row.undefinedBecause = "largest K";
    else if (!(row.sd > 0)) row.undefinedBecause = "sd = 0";
    if (!row.undefinedBecause.empty()) continue;
    double curvature = 0;
    for (std::size_t r = 0; r < runs.size(); ++r) {
      curvature += std::fabs(logLikelihoods[j + 1][r] - 2 * runs[r] + logLikelihoods[j - 1][r]);
    }
    row.deltaK = curvature / double(runs.size()) / std::max(row.sd, tolerance);
  }
  return rows;
}

std::optional<std::size_t> LargestDelta(const std::vector<EvannoRow>& rows) {
  std::optional<std::size_t> best;
  for (std::size_t j = 0; j < rows.size(); ++j) {
    if (rows[j].deltaK && (!best || *rows[j].deltaK > *rows[*best].deltaK)) best = j;
  }
  return best;
}

}  // namespace vorn
