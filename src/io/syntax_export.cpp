#include "io/syntax_export.h"

#include "io/export_common.h"
#include "io/label_list_export.h"

namespace vorn {

std::string SyntaxIndividualLabelFile(const std::string& path) { return InsertIntoFileName(path, "_indivlabels"); }
std::string SyntaxLocusLabelFile(const std::string& path) { return InsertIntoFileName(path, "_rowlabels"); }

Status WriteSyntax(const std::string& path, const DataMatrix& matrix) {
  if (auto checked = CheckScores(matrix, "Data Error. Could not complete saving of data file"); !checked) {
    return checked;
  }
  if (matrix.individualLabels.Empty()) return Failure{"No individual names. Could not export indiv labels"};
  if (matrix.locusLabels.Empty()) return Failure{"No locus names. Could not export  locus labels"};
  const ScoreCodes codes{"1 ", "0 ", "-1 "};
  auto written = ReplaceFileWhole(path, [&](TextFileWriter& file) {
    file.Line("VORN_Data");
    file.Line(std::to_string(matrix.locusCount) + " " + std::to_string(matrix.individualCount));
    std::string line;
    for (std::size_t l = 0; l < matrix.locusCount; ++l) {
      line.clear();
      AppendLocusCodes(line, matrix, l, codes);
      file.Line(line);
    }
    file.Line();
    return Success();
  });
  if (!written) return written;
  for (const auto& labelFile : {std::pair{SyntaxIndividualLabelFile(path), &matrix.individualLabels},
                                 std::pair{SyntaxLocusLabelFile(path), &matrix.locusLabels}}) {
    const LabelTable* labels = labelFile.second;  // a plain variable: clang 14 cannot capture bindings
    written = ReplaceFileWhole(labelFile.first, [&](TextFileWriter& file) {
      WriteLabelLines(file, *labels, true);
      return Success();
    });
    if (!written) return written;
  }
  return Success();
}

}  // namespace vorn
