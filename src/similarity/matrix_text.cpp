#include "similarity/matrix_text.h"

#include <cmath>

#include "core/number_format.h"

namespace vorn {
namespace {

constexpr std::size_t kEntryWidth = 11;
constexpr int kEntryDecimals = 10;
constexpr std::size_t kLabelCell = 13;

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
  if (std::isnan(x)) {
    text += "NaN";
  } else if (std::isinf(x)) {
    text += x < 0 ? "-Inf" : "Inf";
  } else {
    AppendFixed(text, x, kEntryDecimals);
  }
  const std::size_t length = text.size() - start;
  if (length < kEntryWidth) text.insert(start, kEntryWidth - length, ' ');
}

void WriteMatrixText(TextFileWriter& file, const DistanceMatrix& matrix, std::string_view title,
                     const LabelTable& labels) {
  file.Line(title);
  file.Line();
  if (!labels.Empty()) {
    std::string line;
    for (const auto& label : labels.All()) {
      const std::string_view shown = std::string_view(label).substr(0, kLabelCell - 1);
      line += shown;
      line.append(kLabelCell - shown.size(), ' ');
    }
    file.Line(line);
  }
  std::string line;
  for (std::size_t i = 0; i < matrix.n; ++i) {
    line.clear();
    const Real* row = matrix.entries.data() + TriangleIndex(i, 0);
    for (std::size_t j = 0; j <= i; ++j) {
      AppendMatrixEntry(line, row[j]);
      line += ' ';
    }
    file.Line(line);
  }
  file.Line();
}

std::string DistanceTitle(DistanceTransformation transformation, std::string_view title) {
  return std::string("Distances ") + TitleName(transformation) + " (" + std::string(title) + ")";
}

}  // namespace vorn
