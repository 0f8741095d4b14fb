#include "io/locus_metrics_file.h"

#include "core/text_file.h"
#include "io/csv_tokenizer.h"

namespace vorn {

std::string LocusMetricsText(const DataMatrix& matrix) {
  const LocusMetrics& metrics = matrix.locusMetrics;
  std::string text = "Locus";
  for (const std::string& name : metrics.names) text += "," + CsvField(name);
  text += "\r\n";
  const LabelTable names = matrix.locusLabels.Count() == matrix.locusCount ? matrix.locusLabels
                                                                           : MakeDefaultLocusLabels(matrix.locusCount);
  for (std::size_t l = 0; l < matrix.locusCount; ++l) {
    text += CsvField(names[l]);
    for (std::size_t m = 0; m < metrics.MetricCount(); ++m) text += "," + MetricText(metrics.Value(l, m));
    text += "\r\n";
  }
  return text;
}

Status WriteLocusMetricsFile(const std::string& path, const DataMatrix& matrix) {
  if (matrix.locusMetrics.Empty()) {
    return Failure{"The loci of the current data matrix have no locus metrics; they come with a presence/absence "
                   "report (File > Import > DArT Presence/Absence Report)."};
  }
  const std::string text = LocusMetricsText(matrix);
  return ReplaceFileWithText(path, text);
}

}  // namespace vorn
