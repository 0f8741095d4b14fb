#include "io/locus_metrics_block.h"

#include <limits>

#include "core/number_input.h"
#include "io/csv_tokenizer.h"

namespace vorn {
namespace {

// The line's fields split at ",", without the spaces and tabs in them.
std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields(1);
  for (char c : line) {
    if (c == ',') fields.emplace_back();
    else if (c != ' ' && c != '\t') fields.back() += c;
  }
  return fields;
}

Failure LineFailure(std::size_t line, const std::string& text) {
  return Failure{"The " + std::string(kLocusMetricsHeader) + " block, line " + std::to_string(line) + ": " + text};
}

}  // namespace

Status CheckWritableMetrics(const LocusMetrics& metrics, const std::vector<std::string>& locusNames) {
  if (metrics.Empty()) return Success();
  for (std::size_t l = 0; l < locusNames.size(); ++l) {
    if (locusNames[l].find(',') != std::string::npos) {
      return Failure{"The locus '" + locusNames[l] + "' (locus " + std::to_string(l + 1) +
                     ") holds \",\", which the " + std::string(kLocusMetricsHeader) +
                     " block cannot hold; its locus metrics could not be read again."};
    }
  }
  return Success();
}

void WriteMetricsBlock(TextFileWriter& file, const LocusMetrics& metrics, const std::vector<std::string>& locusNames) {
  if (metrics.Empty()) return;
  file.Line();
  file.Line(kLocusMetricsHeader);
  std::string titles = "Locus";
  for (const std::string& name : metrics.names) titles += ", " + name;
  file.Line(titles);
  for (std::size_t l = 0; l < locusNames.size(); ++l) {
    std::string line = locusNames[l];
    for (std::size_t m = 0; m < metrics.MetricCount(); ++m) line += ", " + MetricText(metrics.Value(l, m));
    file.Line(line);
  }
  file.Line("*");
}

Result<LocusMetrics> ReadMetricsBlock(const std::string& path, const DataMatrix& data) {
  auto reader = LineReader::Open(path);
  if (!reader) return Failure{"Input file error"};
  std::string line;
  std::size_t number = 0;
  bool found = false;
  while (!found && reader->Next(line)) {
    ++number;
    found = Fields(line).front() == kLocusMetricsHeader;
  }
  if (reader->Failed()) return Failure{"Input file error"};
  if (!found) return LocusMetrics{};

  LocusMetrics metrics;
  if (!reader->Next(line)) return LineFailure(number + 1, "the block ends before its title line");
  ++number;
  std::vector<std::string> titles = Fields(line);
  if (titles.front() != "Locus" || titles.size() < 2) {
    return LineFailure(number, "the title line must be \"Locus\" and the names of the metrics");
  }
  for (std::size_t t = 1; t < titles.size(); ++t) {
    if (titles[t].empty()) return LineFailure(number, "metric " + std::to_string(t) + " has no name");
    if (metrics.Find(titles[t]) >= 0) return LineFailure(number, "the metric '" + titles[t] + "' is named twice");
    metrics.names.push_back(titles[t]);
  }
  metrics.values.reserve(metrics.names.size() * data.locusCount);
  std::size_t locus = 0;
  while (reader->Next(line)) {
    ++number;
    const std::vector<std::string> fields = Fields(line);
    if (fields.size() == 1 && fields.front() == "*") {
      if (locus != data.locusCount) {
        return LineFailure(number, "the block holds " + std::to_string(locus) + " loci, the data " +
                                       std::to_string(data.locusCount));
      }
      return metrics;
    }
    if (fields.size() == 1 && fields.front().empty()) continue;
    if (locus == data.locusCount) {
      return LineFailure(number, "the block holds more loci than the data (" + std::to_string(data.locusCount) + ")");
    }
    const std::string& expected = locus < data.locusLabels.Count() ? data.locusLabels[locus] : std::string();
    if (fields.front() != expected) {
      return LineFailure(number, "the locus '" + fields.front() + "' is not locus " + std::to_string(locus + 1) +
                                     " of the data, '" + expected + "'");
    }
    if (fields.size() != titles.size()) {
      return LineFailure(number, std::to_string(fields.size() - 1) + " values, where the title line names " +
                                     std::to_string(metrics.MetricCount()) + " metrics");
    }
    for (std::size_t f = 1; f < fields.size(); ++f) {
      const auto value = fields[f] == "NA" ? std::optional<Real>(std::numeric_limits<Real>::quiet_NaN())
                                           : ParseReal(fields[f]);
      if (!value) return LineFailure(number, "'" + fields[f] + "' is neither a number nor NA");
      metrics.values.push_back(*value);
    }
    ++locus;
  }
  if (reader->Failed()) return Failure{"Input file error"};
  return LineFailure(number, "the block is not closed by \"*\"");
}

}  // namespace vorn
