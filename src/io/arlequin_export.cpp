#include "io/arlequin_export.h"

#include <set>

#include "groups/group_model.h"
#include "io/export_common.h"
#include "io/written_names.h"

namespace vorn {
namespace {

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

Status CheckSamples(const DataMatrix& matrix, const GroupList& groups, const std::vector<std::size_t>& samples) {
  std::set<std::string_view> names;
  std::vector<std::string> written = matrix.individualLabels.All();
  for (std::size_t entry : samples) {
    const GroupEntry& sample = groups[entry];
    if (sample.members.empty()) {
      return Failure{"The sample " + QuotedName(sample.name) + " has no members. Nothing was exported."};
    }
    if (!names.insert(LastNameComponent(sample.name)).second) {
      return Failure{"Two samples are called " + QuotedName(LastNameComponent(sample.name)) +
                     " (the last part of their group names). Nothing was exported."};
    }
    written.push_back(sample.name);
    if (auto positions = MemberPositions(matrix.individualLabels, sample); !positions) {
      return Failure{positions.error()};
    }
  }
  return CheckNameCharacters(written, "\"", "The name", "an Arlequin project");
}

}  // namespace

Status WriteArlequin(const std::string& path, const DataMatrix& matrix, const GroupList& groups, bool twoLevels,
                     char missing) {
  if (matrix.individualLabels.Empty()) {
    return Failure{"Cannot write Arlequin Project file: No individual names defined"};
  }
  if (auto checked = CheckScores(matrix, "Data Error. Could not complete saving of data file (ARP)"); !checked) {
    return checked;
  }
  const std::vector<std::size_t> samples = EntriesAtDepth(groups, twoLevels ? 3 : 2);
  if (auto checked = CheckSamples(matrix, groups, samples); !checked) return checked;
  const ScoreCodes codes{"1 ", "0 ", std::string{missing, ' '}};
  return ReplaceFileWhole(path, [&](TextFileWriter& file) {
    file.Line("[Profile]");
    file.Line(" Title=" + Quoted("VORN Data"));
    file.Line(" NbSamples=" + std::to_string(samples.size()));
    file.Line(" GenotypicData=0");
    file.Line(" DataType=RFLP");
    file.Line(" LocusSeparator=NONE");
    file.Line(" MissingData=" + Quoted(std::string(1, missing)));
    file.Line(" CompDistMatrix=1");
    file.Line();
    file.Line("[Data]");
    file.Line(" [[HaplotypeDefinition]]");
    file.Line("  HaplListName=" + Quoted("List of fingerprint phenotypes"));
    file.Line("  HaplList={");
    std::string line;
    for (std::size_t i = 0; i < matrix.individualCount; ++i) {
      line = "  " + matrix.individualLabels[i] + " ";
      AppendIndividualCodes(line, matrix, i, codes);
      file.Line(line);
    }
    file.Line("  }");
    file.Line();
    file.Line(" [[Samples]]");
    file.Line();
    for (std::size_t entry : samples) {
      const GroupEntry& sample = groups[entry];
      file.Line("  SampleName=" + Quoted(LastNameComponent(sample.name)));
      file.Line("  SampleSize=" + std::to_string(sample.MemberCount()));
      file.Line("  SampleData={");
      for (const std::string& member : sample.members) file.Line("  " + member + " 1");
      file.Line("  }");
      file.Line();
    }
    file.Line(" [[Structure]]");
    file.Line("  StructureName=" + Quoted("AllData"));
    if (!twoLevels) {
      file.Line("  NbGroups=1");
      file.Line("  Group={");
      for (std::size_t entry : samples) file.Line("  " + Quoted(LastNameComponent(groups[entry].name)));
      file.Line("  }");
      file.Line();
      return Success();
    }
    const std::vector<std::size_t> structureGroups = EntriesAtDepth(groups, 2);
    file.Line("  NbGroups=" + std::to_string(structureGroups.size()));
    for (std::size_t parent : structureGroups) {
      const std::string prefix = groups[parent].name + "/";
      file.Line("  Group={");
      for (std::size_t entry : samples) {
        if (groups[entry].name.starts_with(prefix)) file.Line("  " + Quoted(LastNameComponent(groups[entry].name)));
      }
      file.Line("  }");
      file.Line();
    }
    return Success();
  });
}

}  // namespace vorn
