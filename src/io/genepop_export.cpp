#include "io/genepop_export.h"

#include "io/export_common.h"

namespace vorn {

Status WriteGenePop(const std::string& path, const DataMatrix& matrix, bool absenceAsUnknown) {
  if (auto checked = CheckScores(matrix, "Data Error. Could not complete genepop export of data file"); !checked) {
    return checked;
  }
  if (auto checked = CheckNameCharacters(matrix.individualLabels.All(), ",", "The individual name", "a GenePop");
      !checked) {
    return checked;
  }
  if (auto checked = CheckNameCharacters(matrix.locusLabels.All(), ",", "The locus name", "a GenePop"); !checked) {
    return checked;
  }
  const ScoreCodes codes{"0100 ", absenceAsUnknown ? "0200 " : "0202 ", "0000 "};
  const bool labelled = !matrix.individualLabels.Empty();
  return ReplaceFileWhole(path, [&](TextFileWriter& file) {
    file.Line("VORN exported data");
    std::string line;
    for (std::size_t l = 0; l < matrix.locusLabels.Count(); ++l) {
      if (l) line += ", ";
      line += matrix.locusLabels[l];
    }
    file.Line(line);
    file.Line("POP");
    for (std::size_t i = 0; i < matrix.individualCount; ++i) {
      line.clear();
      if (labelled) line += matrix.individualLabels[i] + ", ";
      AppendIndividualCodes(line, matrix, i, codes);
      file.Line(line);
    }
    return Success();
  });
}

}  // namespace vorn
