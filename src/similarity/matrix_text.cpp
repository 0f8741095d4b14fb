#include "similarity/matrix_text.h"

#include <algorithm>
#include <vector>

#include "core/number_format.h"
#include "core/progress.h"
#include "core/text_encoding.h"

namespace vorn {
namespace {

constexpr std::size_t kEntryWidth = 11;
constexpr int kEntryDecimals = 10;
constexpr std::size_t kLabelCell = 13;
constexpr std::size_t kRowsPerBlock = 256;
constexpr std::size_t kParallelEntries = std::size_t{1} << 18;

// The transformation as distance titles name it; the identity reads "untranformed" there.
const char* TitleName(DistanceTransformation transformation) {
  switch (transformation) {
    case DistanceTransformation::OneMinusS: return "d=1-s";
    case DistanceTransformation::SqrtOneMinusS: return "d=SQRT(1-s)";
    case DistanceTransformation::SquaredOneMinusS: return "d=SQ(1-s)";
    case DistanceTransformation::D: return "untranformed";
    case DistanceTransformation::SqrtD: return "d'=SQRT(d)";
    case DistanceTransformation::SquaredD: return "d'= SQ(d)";
  }
  return "Unknown";
}

}  // namespace

void AppendMatrixEntry(std::string& text, Real x) {
  const std::size_t start = text.size();
  AppendFixed(text, x, kEntryDecimals);
  const std::size_t length = text.size() - start;
  if (length < kEntryWidth) text.insert(start, kEntryWidth - length, ' ');
}

namespace {

// One row of entries, each followed by a space. Entries are written straight into the line;
// a row holding a value that needs the exact path (not a number, infinite, or huge) is written
// entry by entry through AppendMatrixEntry instead.
void FormatMatrixRow(const Real* row, std::size_t count, std::string& line) {
  constexpr std::size_t kRoom = kPutFixedRoom + kEntryDecimals + 1;
  line.resize(count * kRoom);
  char* out = line.data();
  for (std::size_t j = 0; j < count; ++j) {
    out = PutFixed(out, row[j], kEntryDecimals, kEntryWidth);
    if (!out) break;
    *out++ = ' ';
  }
  if (out) {
    line.resize(static_cast<std::size_t>(out - line.data()));
    return;
  }
  line.clear();
  for (std::size_t j = 0; j < count; ++j) {
    AppendMatrixEntry(line, row[j]);
    line += ' ';
  }
}

}  // namespace

void WriteMatrixText(TextFileWriter& file, const DistanceMatrix& matrix, std::string_view title,
                     const LabelTable& labels) {
  file.Line(title);
  file.Line();
  if (!labels.Empty()) {
    std::string line;
    for (const auto& label : labels.All()) {
      const std::string_view shown = FirstCharacters(label, kLabelCell - 1);
      line += shown;
      line.append(kLabelCell - CharacterCount(shown), ' ');
    }
    file.Line(line);
  }
  // Rows are formatted on all cores a block at a time and written in order; small matrices
  // are done before threads would meet.
  const std::size_t blockRows = std::min<std::size_t>(matrix.n, kRowsPerBlock);
  const bool parallel = matrix.entries.size() >= kParallelEntries;
  std::vector<std::string> lines(blockRows);
  for (std::size_t first = 0; first < matrix.n; first += blockRows) {
    KeepResponsive();
    const std::size_t last = std::min(matrix.n, first + blockRows);
#pragma omp parallel for if (parallel) schedule(dynamic, 1)
    for (std::size_t i = first; i < last; ++i) {
      FormatMatrixRow(matrix.entries.data() + TriangleIndex(i, 0), i + 1, lines[i - first]);
    }
    for (std::size_t i = first; i < last; ++i) file.Line(lines[i - first]);
  }
  file.Line();
}

std::string MatrixRowText(const DistanceMatrix& matrix, std::size_t i) {
  std::string line;
  FormatMatrixRow(matrix.entries.data() + TriangleIndex(i, 0), i + 1, line);
  return line;
}

ResultTable MatrixTable(const DistanceMatrix& matrix, const LabelTable& labels) {
  const auto name = [&](std::size_t i) { return labels.Empty() ? std::to_string(i + 1) : labels[i]; };
  ResultTable table;
  table.rows.assign(matrix.n + 1, std::vector<std::string>(matrix.n + 1));
  for (std::size_t i = 0; i < matrix.n; ++i) {
    table.rows[0][i + 1] = name(i);
    std::vector<std::string>& row = table.rows[i + 1];
    row[0] = name(i);
    const std::string text = MatrixRowText(matrix, i);
    std::size_t column = 1;
    for (std::size_t at = text.find_first_not_of(' '); at != std::string::npos && column <= i + 1;
         at = text.find_first_not_of(' ', at)) {
      const std::size_t end = text.find(' ', at);
      row[column++] = text.substr(at, end - at);
      at = end;
    }
  }
  return table;
}

std::string DistanceTitle(DistanceTransformation transformation, std::string_view title) {
  return std::string("Distances ") + TitleName(transformation) + " (" + std::string(title) + ")";
}

}  // namespace vorn
