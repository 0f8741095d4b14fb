// A presence/absence report written from a known matrix, as a genotyping service writes it:
// top rows of "*" over the metric columns, the header (CloneID, AlleleSequence, then the
// matrix's metrics, then the individuals), one row per locus.
#pragma once

#include <string>

#include "core/data_matrix.h"

namespace vorn::testing {

inline std::string ReportText(const DataMatrix& matrix, std::size_t topRows = 2, const std::string& lineEnd = "\r\n") {
  const std::size_t metricColumns = 2 + matrix.locusMetrics.MetricCount();
  std::string text;
  for (std::size_t r = 0; r < topRows; ++r) {
    for (std::size_t c = 0; c < metricColumns; ++c) text += "*,";
    for (std::size_t i = 0; i < matrix.individualCount; ++i) text += (i ? "," : "") + std::string(r == 0 ? "plate1" : "");
    text += lineEnd;
  }
  text += "CloneID,AlleleSequence";
  for (const std::string& name : matrix.locusMetrics.names) text += "," + name;
  for (const std::string& name : matrix.individualLabels.All()) text += "," + name;
  text += lineEnd;
  for (std::size_t l = 0; l < matrix.locusCount; ++l) {
    text += matrix.locusLabels[l] + ",TGCAGGACT";
    for (std::size_t m = 0; m < matrix.locusMetrics.MetricCount(); ++m) {
      text += "," + MetricText(matrix.locusMetrics.Value(l, m));
    }
    for (std::size_t i = 0; i < matrix.individualCount; ++i) {
      const Cell score = matrix.At(i, l);
      text += score == Presence ? ",1" : score == Absence ? ",0" : ",-";
    }
    text += lineEnd;
  }
  return text;
}

}  // namespace vorn::testing
