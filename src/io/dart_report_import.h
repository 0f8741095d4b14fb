// Presence/absence reports of genotyping services: one row per marker, wide. A few top rows
// hold "*" in the locus-metric columns (as many as there are metric columns); then the header
// row names the metric columns (the marker's identifier CloneID, CallRate, PIC, ...) and one
// column per individual; then each marker row holds its metrics and one score per individual,
// 1 (present), 0 (absent) or "-" (missing). The file is read as a stream of records, each marker
// row straight into its locus of the matrix.
#pragma once

#include <string>
#include <vector>

#include "io/csv_record_stream.h"
#include "io/imported_table.h"

namespace vorn {

struct ReportImportOptions {
  char separator = 0;                  // 0: detected from the first row
  std::string markerColumn = "CloneID";  // the metric column that names the markers
  // "": the metric columns are those the top rows mark with "*"; otherwise every column up to
  // and including the one of this name.
  std::string lastMetric;
};

// The report's matrix (the individuals' names from the header row, the markers' from the marker
// column) with its numeric locus metrics: each metric column other than the marker column that
// holds at least one number; a cell that is blank or no number holds NaN. A table without groups
// or coordinates.
//
// Refused, naming the row and column and loading nothing: top rows that disagree on their
// metric columns, no top rows (without a last metric), a last metric or marker column that the
// header lacks, an empty or repeated metric name, an empty or repeated individual or marker name
// (after the cut to 20 characters too), a marker row with fewer or more score columns than the
// header, a score other than 0, 1 or "-", a report without marker rows, and more than 65535
// individuals or markers.
Result<ImportedTable> ReadDartReport(CsvRecordStream& records, const ReportImportOptions& options);
// The same for a file; its failures begin with its path.
Result<ImportedTable> ReadDartReportFile(const std::string& path, const ReportImportOptions& options);

}  // namespace vorn
