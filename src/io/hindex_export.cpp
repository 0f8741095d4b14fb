#include "io/hindex_export.h"

#include "core/number_format.h"
#include "io/export_common.h"

namespace vorn {

std::string HindexIndividualFile(const std::string& path) { return InsertIntoFileName(path, "_indiv"); }
std::string HindexParentFile(const std::string& path) { return InsertIntoFileName(path, "_parents"); }

Status WriteHindex(const std::string& path, const HindexData& data) {
  const DataMatrix& tested = *data.tested;
  if (auto checked = CheckScores(tested, "Data Error. Could not complete hindex export of data file"); !checked) {
    return checked;
  }
  const bool locusLabels = !tested.locusLabels.Empty();
  const auto locusStart = [&](std::size_t l) { return locusLabels ? tested.locusLabels[l] + " # " : std::string(); };
  auto written = ReplaceFileWhole(HindexIndividualFile(path), [&](TextFileWriter& file) {
    file.Line("Individual");
    std::string line = data.testedName + " # ";
    for (const std::string& label : tested.individualLabels.All()) line += label + " ";
    file.Line(line);
    const ScoreCodes codes{"1 ", "0 ", "NA "};
    for (std::size_t l = 0; l < tested.locusCount; ++l) {
      line = locusStart(l);
      AppendLocusCodes(line, tested, l, codes);
      file.Line(line);
    }
    return Success();
  });
  if (!written) return written;
  return ReplaceFileWhole(HindexParentFile(path), [&](TextFileWriter& file) {
    file.Line("Parental");
    file.Line(data.parent1Name + " " + data.parent2Name + " #");
    for (std::size_t l = 0; l < tested.locusCount; ++l) {
      file.Line(locusStart(l) + "D " + FormatReal(data.parent1[l]) + " " + FormatReal(data.parent2[l]));
    }
    return Success();
  });
}

}  // namespace vorn
