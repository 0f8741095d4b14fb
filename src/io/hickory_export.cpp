#include "io/hickory_export.h"

#include "groups/group_model.h"
#include "io/export_common.h"
#include "io/nexus_export.h"
#include "io/written_names.h"

namespace vorn {

Status WriteHickory(const std::string& path, const DataMatrix& matrix, const GroupList& groups, char missing) {
  if (auto checked = CheckNexusTaxa(matrix, "Data Error. Could not complete saving of nex data file"); !checked) {
    return checked;
  }
  const std::vector<std::size_t> populations = EntriesAtDepth(groups, 2);
  std::vector<std::vector<std::size_t>> members;
  for (std::size_t entry : populations) {
    if (groups[entry].members.empty()) {
      return Failure{"The population " + QuotedName(groups[entry].name) + " has no members. Nothing was exported."};
    }
    auto positions = MemberPositions(matrix.individualLabels, groups[entry]);
    if (!positions) return Failure{positions.error()};
    members.push_back(std::move(*positions));
  }
  const ScoreCodes codes{"1 ", "0 ", std::string{missing, ' '}};
  return ReplaceFileWhole(path, [&](TextFileWriter& file) {
    file.Line("#NEXUS");
    file.Line("[VORN exported data]");
    WriteTaxaBlock(file, matrix);
    file.Line();
    file.Line("BEGIN ALLELES;");
    file.Line("DIMENSIONS NEWPOPS NLOCI= " + std::to_string(matrix.locusCount) +
              " NPOPS= " + std::to_string(populations.size()) + ";");
    file.Line("DOMINANT;");
    file.Line(std::string("FORMAT LABELS MISSING=") + missing + ";");
    file.Line("MATRIX");
    std::string line;
    for (std::size_t p = 0; p < populations.size(); ++p) {
      const GroupEntry& population = groups[populations[p]];
      file.Line(NexusWord(LastNameComponent(population.name)) + ":");
      for (std::size_t k = 0; k < members[p].size(); ++k) {
        line = NexusWord(population.members[k]) + " ";
        AppendIndividualCodes(line, matrix, members[p][k], codes);
        const bool last = k + 1 == members[p].size();
        if (!last) file.Line(line);
        else file.Line(line + (p + 1 == populations.size() ? ";" : ","));
      }
    }
    file.Line("END;");
    return Success();
  });
}

}  // namespace vorn
