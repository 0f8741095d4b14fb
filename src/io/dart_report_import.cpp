#include "io/dart_report_import.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <limits>

#include "core/number_input.h"
#include "io/data_file_reader.h"

namespace vorn {
namespace {

constexpr std::string_view kMark = "*";

bool IsTopRow(const CsvTokenizer& record) { return TrimBlanks(record.Field(0)) == kMark; }

// The number of leading fields that hold "*".
std::size_t MarkedColumns(const CsvTokenizer& record) {
  std::size_t count = 0;
  while (count < record.FieldCount() && TrimBlanks(record.Field(count)) == kMark) ++count;
  return count;
}

// The scores a report writes: 1, 0 and "-", nothing else (an empty cell included).
ScoreValues ReportScores() {
  ScoreValues values;
  values.presence = {"1"};
  values.absence = {"0"};
  values.missing = {"-"};
  values.emptyIsMissing = false;
  return values;
}

// The header row: the metric columns, the marker column among them and the individuals.
struct ReportHeader {
  std::size_t row = 0;
  std::size_t metricColumns = 0;
  std::size_t width = 0;  // metric and individual columns
  std::size_t markerColumn = 0;
  std::vector<std::string> metricNames;  // of every metric column, the marker column's included
  LabelTable individuals;
};

Result<ReportHeader> ReadHeader(const CsvTokenizer& record, std::size_t marked, const ReportImportOptions& options) {
  ReportHeader header;
  header.row = record.Row();
  header.metricColumns = marked;
  if (!options.lastMetric.empty()) {
    header.metricColumns = 0;
    for (std::size_t c = 0; c < record.FieldCount() && header.metricColumns == 0; ++c) {
      if (TrimBlanks(record.Field(c)) == options.lastMetric) header.metricColumns = c + 1;
    }
    if (header.metricColumns == 0) {
      return Failure{"Row " + std::to_string(header.row) + ": no column is named '" + options.lastMetric +
                     "', the last metric column"};
    }
  }
  bool markerFound = false;
  for (std::size_t c = 0; c < header.metricColumns; ++c) {
    const std::string name = ImportedName(record.Field(c));
    if (name.empty()) return CellFailure({header.row, c + 1}, "the metric column has no name");
    for (std::size_t earlier = 0; earlier < c; ++earlier) {
      if (header.metricNames[earlier] == name) {
        return CellFailure({header.row, c + 1}, "the metric '" + name + "' is already the one of column " +
                                                    std::to_string(earlier + 1));
      }
    }
    header.metricNames.push_back(name);
    if (!markerFound && TrimBlanks(record.Field(c)) == options.markerColumn) {
      header.markerColumn = c;
      markerFound = true;
    }
  }
  if (!markerFound) {
    return Failure{"Row " + std::to_string(header.row) + ": none of the " + std::to_string(header.metricColumns) +
                   " metric columns is named '" + options.markerColumn + "', the column of the marker names"};
  }
  header.width = record.UsedFieldCount();
  if (header.width <= header.metricColumns) {
    return CellFailure({header.row, header.metricColumns + 1}, "no individuals follow the " +
                                                                   std::to_string(header.metricColumns) +
                                                                   " metric columns");
  }
  if (header.width - header.metricColumns > kMaxDimension) {
    return Failure{"Row " + std::to_string(header.row) + ": more than " + std::to_string(kMaxDimension) +
                   " individuals"};
  }
  IndividualNames names;
  for (std::size_t c = header.metricColumns; c < header.width; ++c) {
    if (auto added = names.Add(record.Field(c), {header.row, c + 1}); !added) return Failure{added.error()};
  }
  header.individuals = names.TakeLabels();
  return header;
}

// The metric columns that hold a number somewhere, with their values: the others (sequences,
// the marker names) are left out.
LocusMetrics NumericMetrics(const ReportHeader& header, const std::vector<Real>& values,
                            const std::vector<bool>& numeric, std::size_t loci) {
  const std::size_t all = header.metricColumns;
  std::vector<std::size_t> kept;
  for (std::size_t c = 0; c < all; ++c) {
    if (numeric[c]) kept.push_back(c);
  }
  LocusMetrics metrics;
  for (std::size_t c : kept) metrics.names.push_back(header.metricNames[c]);
  metrics.values.reserve(kept.size() * loci);
  for (std::size_t l = 0; l < loci; ++l) {
    for (std::size_t c : kept) metrics.values.push_back(values[l * all + c]);
  }
  return metrics;
}

}  // namespace

Result<ImportedTable> ReadDartReport(CsvRecordStream& records, const ReportImportOptions& options) {
  auto more = records.NextFilled();
  if (!more) return Failure{more.error()};
  if (!*more) return Failure{"The file is empty."};

  // The top rows: each marks the same metric columns.
  std::size_t marked = 0, firstTop = 0;
  while (*more && IsTopRow(records.Record())) {
    const std::size_t count = MarkedColumns(records.Record());
    if (firstTop == 0) {
      marked = count;
      firstTop = records.Record().Row();
    } else if (options.lastMetric.empty() && count != marked) {
      const std::size_t column = std::min(count, marked) + 1;
      return CellFailure({records.Record().Row(), column},
                         "the top rows mark different metric columns: row " + std::to_string(firstTop) + " marks " +
                             std::to_string(marked) + ", this row " + std::to_string(count));
    }
    more = records.NextFilled();
    if (!more) return Failure{more.error()};
  }
  if (!*more) return Failure{"The report ends before its header row."};
  if (options.lastMetric.empty() && marked == 0) {
    return CellFailure({records.Record().Row(), 1},
                       "no top rows mark the metric columns with \"*\"; name the last metric column instead");
  }
  auto header = ReadHeader(records.Record(), marked, options);
  if (!header) return Failure{header.error()};

  const std::size_t individuals = header->individuals.Count();
  const std::size_t metricColumns = header->metricColumns;
  std::vector<Cell> cells;
  // A marker row holds at least two characters per score, so the file's size bounds the loci.
  const std::uint64_t lociBound = std::min<std::uint64_t>(records.Size() / (2 * individuals) + 1, kMaxDimension);
  cells.reserve(static_cast<std::size_t>(lociBound) * individuals);
  std::vector<Real> values;
  std::vector<bool> numeric(metricColumns, false);
  IndividualNames markers("marker");
  const ScoreReader scores(ReportScores());
  constexpr Real kNoValue = std::numeric_limits<Real>::quiet_NaN();

  std::size_t loci = 0;
  for (more = records.NextFilled(); more && *more; more = records.NextFilled()) {
    const CsvTokenizer& record = records.Record();
    if (auto width = CheckRowWidth(record, header->width, header->row); !width) return Failure{width.error()};
    if (loci == kMaxDimension) {
      return Failure{"Row " + std::to_string(record.Row()) + ": more than " + std::to_string(kMaxDimension) +
                     " markers"};
    }
    if (auto added = markers.Add(record.Field(header->markerColumn), {record.Row(), header->markerColumn + 1});
        !added) {
      return Failure{added.error()};
    }
    for (std::size_t c = 0; c < metricColumns; ++c) {
      const auto value = c == header->markerColumn ? std::optional<Real>() : ParseReal(record.Field(c));
      values.push_back(value ? *value : kNoValue);
      if (value) numeric[c] = true;
    }
    for (std::size_t c = metricColumns; c < header->width; ++c) {
      Cell state = Missing;
      if (!scores.Read(record.Field(c), state)) return ScoreReader::Refusal(record.Field(c), {record.Row(), c + 1});
      cells.push_back(state);
    }
    ++loci;
  }
  if (!more) return Failure{more.error()};
  if (loci == 0) return Failure{"The report holds no marker rows after its header row " + std::to_string(header->row) + "."};
  if (auto size = CheckMatrixSize(individuals, loci); !size) return Failure{size.error()};

  ImportedTable table;
  table.separator = records.Separator();
  DataMatrix& matrix = table.matrix;
  matrix.individualCount = static_cast<std::uint16_t>(individuals);
  matrix.locusCount = static_cast<std::uint16_t>(loci);
  matrix.cells = std::move(cells);
  // The bound on the loci counts the metric columns' text as scores; a report of few
  // individuals and long metrics leaves much room, given back here.
  if (matrix.cells.capacity() > matrix.cells.size() + matrix.cells.size() / 4) matrix.cells.shrink_to_fit();
  matrix.individualLabels = std::move(header->individuals);
  matrix.locusLabels = markers.TakeLabels();
  matrix.locusMetrics = NumericMetrics(*header, values, numeric, loci);
  return table;
}

Result<ImportedTable> ReadDartReportFile(const std::string& path, const ReportImportOptions& options) {
  auto records = CsvRecordStream::Open(path, options.separator);
  if (!records) return Failure{records.error()};
  auto table = ReadDartReport(*records, options);
  if (!table) return Failure{path + ": " + table.error()};
  return table;
}

}  // namespace vorn
