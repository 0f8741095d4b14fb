#include "core/filter_log.h"

#include <algorithm>

namespace vorn {

MatrixCounts CountsOf(const DataMatrix& matrix) {
  const auto missing = std::count(matrix.cells.begin(), matrix.cells.end(), Cell{Missing});
  return {matrix.individualCount, matrix.locusCount, static_cast<std::size_t>(missing)};
}

void FilterLog::Start(const DataMatrix& matrix) {
  *this = FilterLog();
  loaded = CountsOf(matrix);
}

}  // namespace vorn
