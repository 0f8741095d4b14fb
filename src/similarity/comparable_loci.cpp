#include "similarity/comparable_loci.h"

#include <algorithm>

#include "core/distance_matrix.h"
#include "core/number_format.h"
#include "core/text_file.h"
#include "core/undefined_pairs.h"

namespace vorn {

ComparableSummary SummariseComparable(const std::vector<std::uint32_t>& comparable, std::size_t n) {
  ComparableSummary summary;
  summary.minimum = comparable[TriangleIndex(1, 0)];
  // Counts are at most the number of loci, so one tally of them gives the median exactly.
  std::vector<std::size_t> tally;
  for (std::size_t i = 1; i < n; ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      const std::uint32_t count = comparable[TriangleIndex(i, j)];
      if (count >= tally.size()) tally.resize(std::size_t{count} + 1, 0);
      ++tally[count];
      summary.maximum = std::max(summary.maximum, count);
      if (count < summary.minimum) {
        summary.minimum = count;
        summary.fewest.clear();
        summary.fewestCount = 0;
      }
      if (count == summary.minimum) {
        if (summary.fewest.size() < kFewestPairsNamed) summary.fewest.emplace_back(i, j);
        ++summary.fewestCount;
      }
    }
  }
  const std::size_t pairs = n * (n - 1) / 2;
  // The values at the sorted positions (pairs - 1) / 2 and pairs / 2.
  const auto valueAt = [&](std::size_t position) {
    std::size_t below = 0;
    for (std::size_t value = 0;; ++value) {
      below += tally[value];
      if (below > position) return static_cast<Real>(value);
    }
  };
  summary.median = (valueAt((pairs - 1) / 2) + valueAt(pairs / 2)) / 2;
  return summary;
}

std::string ComparableLociLine(const ComparableSummary& summary, const LabelTable& labels) {
  std::string line = "Loci scored in both of a pair: minimum " + std::to_string(summary.minimum) + ", median " +
                     FormatFixed(summary.median, 1) + ", maximum " + std::to_string(summary.maximum) + "; fewest: ";
  for (std::size_t k = 0; k < summary.fewest.size(); ++k) {
    const auto [row, column] = summary.fewest[k];
    if (k > 0) line += ", ";
    line += IndividualName(labels, column) + " and " + IndividualName(labels, row) + " (" +
            std::to_string(summary.minimum) + ")";
  }
  if (const std::size_t more = summary.fewestCount - summary.fewest.size(); more > 0) {
    line += " and " + std::to_string(more) + (more == 1 ? " more pair" : " more pairs");
  }
  return line;
}

Status WriteComparableLoci(const std::string& path, const std::vector<std::uint32_t>& comparable, std::size_t n,
                           const LabelTable& labels) {
  return ReplaceFileWhole(path, [&](TextFileWriter& file) {
    std::string line = "Loci scored in both";
    for (std::size_t j = 0; j < n; ++j) line += "\t" + IndividualName(labels, j);
    file.Line(line);
    for (std::size_t i = 0; i < n; ++i) {
      line = IndividualName(labels, i);
      for (std::size_t j = 0; j < n; ++j) line += "\t" + std::to_string(comparable[TriangleIndex(i, j)]);
      file.Line(line);
    }
    return Status(Success());
  });
}

}  // namespace vorn
