#include "io/genepop_export.h"

#include <algorithm>

#include "io/export_common.h"
#include "io/written_names.h"

namespace vorn {
namespace {

// The individuals of each group of the first level, in data order; every individual in exactly
// one of them.
Result<std::vector<std::vector<std::size_t>>> Populations(const DataMatrix& matrix, const GroupList& groups) {
  const std::vector<std::size_t> entries = EntriesAtDepth(groups, 2);
  if (entries.empty()) {
    return Failure{"No groups are defined below AllData: one population per group needs them. Nothing was exported."};
  }
  std::vector<std::size_t> populationOf(matrix.individualCount, entries.size());
  std::vector<std::vector<std::size_t>> populations;
  for (std::size_t entry : entries) {
    auto members = MemberPositions(matrix.individualLabels, groups[entry]);
    if (!members) return Failure{members.error()};
    for (std::size_t i : *members) {
      if (populationOf[i] != entries.size()) {
        return Failure{"The individual " + QuotedName(matrix.individualLabels[i]) + " is a member of both " +
                       QuotedName(groups[entries[populationOf[i]]].name) + " and " + QuotedName(groups[entry].name) +
                       "; GenePop takes each individual in one population. Nothing was exported."};
      }
      populationOf[i] = populations.size();
    }
    std::sort(members->begin(), members->end());
    populations.push_back(std::move(*members));
  }
  for (std::size_t i = 0; i < matrix.individualCount; ++i) {
    if (populationOf[i] == entries.size()) {
      return Failure{"The individual " + QuotedName(matrix.individualLabels[i]) +
                     " is in no group below AllData; GenePop takes each individual in one population. Nothing was "
                     "exported."};
    }
  }
  return populations;
}

}  // namespace

Status WriteGenePop(const std::string& path, const DataMatrix& matrix, bool absenceAsUnknown,
                    const GroupList* populations) {
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
  std::vector<std::vector<std::size_t>> pops;
  if (populations) {
    auto grouped = Populations(matrix, *populations);
    if (!grouped) return Failure{grouped.error()};
    pops = std::move(*grouped);
  } else {
    pops.emplace_back(matrix.individualCount);
    for (std::size_t i = 0; i < matrix.individualCount; ++i) pops[0][i] = i;
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
    for (const auto& population : pops) {
      file.Line("POP");
      for (std::size_t i : population) {
        line.clear();
        if (labelled) line += matrix.individualLabels[i] + ", ";
        AppendIndividualCodes(line, matrix, i, codes);
        file.Line(line);
      }
    }
    return Success();
  });
}

}  // namespace vorn
