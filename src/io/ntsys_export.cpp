#include "io/ntsys_export.h"

#include "io/export_common.h"

namespace vorn {

Status WriteNtsys(const std::string& path, const DataMatrix& matrix) {
  if (auto checked = CheckScores(matrix, "Data Error. Could not complete genepop export of data file"); !checked) {
    return checked;
  }
  const ScoreCodes codes{"1  ", "0  ", "-9 "};
  return ReplaceFileWhole(path, [&](TextFileWriter& file) {
    file.Line("\"VORN exported data");
    file.Line("1 " + std::to_string(matrix.locusCount) + "L " + std::to_string(matrix.individualCount) + "L 1 -9");
    std::string line;
    for (const std::string& label : matrix.locusLabels.All()) line += label + " ";
    file.Line(line);
    line.clear();
    for (const std::string& label : matrix.individualLabels.All()) line += label + " ";
    file.Line(line);
    for (std::size_t l = 0; l < matrix.locusCount; ++l) {
      line.clear();
      AppendLocusCodes(line, matrix, l, codes);
      file.Line(line);
    }
    return Success();
  });
}

}  // namespace vorn
