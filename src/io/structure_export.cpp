#include "io/structure_export.h"

#include <numeric>

#include "groups/group_model.h"

namespace vorn {
namespace {

std::string Repeated(std::string_view code, std::size_t times) {
  std::string text;
  for (std::size_t i = 0; i < times; ++i) text += code;
  return text;
}

}  // namespace

ScoreCodes StructureCodes(const StructureOptions& options) {
  const std::size_t others = options.ploidy > 1 ? options.ploidy - 1u : 0u;
  return {"1 " + Repeated("-9 ", others),
          options.absenceAsUnknown ? "2 " + Repeated("-9 ", others) : Repeated("2 ", others + 1),
          Repeated("-9 ", others + 1)};
}

Status WriteStructure(const std::string& path, const DataMatrix& matrix, const GroupList& groups,
                      const StructureOptions& options) {
  if (auto checked = CheckScores(matrix, "Data Error. Could not complete structure export of data file"); !checked) {
    return checked;
  }
  if (options.populations) {
    std::vector<std::size_t> entries(groups.size() > 1 ? groups.size() - 1 : 0);
    std::iota(entries.begin(), entries.end(), std::size_t{1});
    if (auto checked = CheckMembers(matrix.individualLabels, groups, entries); !checked) return checked;
  }
  const ScoreCodes codes = StructureCodes(options);
  const bool labelled = !matrix.individualLabels.Empty();
  return ReplaceFileWhole(path, [&](TextFileWriter& file) {
    std::string line;
    for (const std::string& label : matrix.locusLabels.All()) line += label + " ";
    file.Line(line);
    for (std::size_t i = 0; i < matrix.individualCount; ++i) {
      line.clear();
      if (labelled) line += matrix.individualLabels[i] + " ";
      if (options.populations) {
        const std::size_t population = labelled ? GroupOfIndividual(groups, matrix.individualLabels[i]) : 0;
        line += std::to_string(population) + " ";
      }
      AppendIndividualCodes(line, matrix, i, codes);
      file.Line(line);
    }
    return Success();
  });
}

}  // namespace vorn
