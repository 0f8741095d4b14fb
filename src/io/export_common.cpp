#include "io/export_common.h"

#include <unordered_map>

#include "groups/group_model.h"
#include "io/written_names.h"

namespace vorn {

Status CheckScores(const DataMatrix& matrix, std::string_view badCell) {
  for (Cell cell : matrix.cells) {
    if (!IsBandState(cell)) return Failure{std::string(badCell)};
  }
  return Success();
}

void AppendIndividualCodes(std::string& line, const DataMatrix& matrix, std::size_t individual,
                           const ScoreCodes& codes) {
  for (std::size_t locus = 0; locus < matrix.locusCount; ++locus) line += codes.Of(matrix.At(individual, locus));
}

void AppendLocusCodes(std::string& line, const DataMatrix& matrix, std::size_t locus, const ScoreCodes& codes) {
  const Cell* cells = matrix.Locus(locus);
  for (std::size_t i = 0; i < matrix.individualCount; ++i) line += codes.Of(cells[i]);
}

Result<std::vector<std::size_t>> MemberPositions(const LabelTable& labels, const GroupEntry& group) {
  std::unordered_map<std::string_view, std::size_t> first;
  for (std::size_t i = labels.Count(); i-- > 0;) first[labels[i]] = i;
  std::vector<std::size_t> positions;
  positions.reserve(group.MemberCount());
  for (const std::string& member : group.members) {
    const auto found = first.find(member);
    if (found == first.end()) {
      return Failure{"The member " + QuotedName(member) + " of group " + QuotedName(group.name) +
                     " is not an individual of the current data. Nothing was exported."};
    }
    positions.push_back(found->second);
  }
  return positions;
}

Status CheckMembers(const LabelTable& labels, const GroupList& groups, const std::vector<std::size_t>& entries) {
  for (std::size_t entry : entries) {
    const auto positions = MemberPositions(labels, groups[entry]);
    if (!positions) return Failure{positions.error()};
  }
  return Success();
}

Status CheckNameCharacters(const std::vector<std::string>& names, std::string_view forbidden, std::string_view what,
                           std::string_view kind) {
  for (const std::string& name : names) {
    const auto at = name.find_first_of(forbidden);
    if (at == std::string::npos) continue;
    return Failure{std::string(what) + " " + QuotedName(name) + " cannot be written to " + std::string(kind) +
                   " file: it contains " + QuotedName(name.substr(at, 1)) + ". Nothing was exported."};
  }
  return Success();
}

std::string InsertIntoFileName(std::string_view path, std::string_view suffix) {
  const std::size_t nameStart = path.find_last_of('/') == std::string_view::npos ? 0 : path.find_last_of('/') + 1;
  const std::size_t dot = path.find_last_of('.');
  const std::size_t at = dot == std::string_view::npos || dot < nameStart ? nameStart : dot;
  std::string result(path.substr(0, at));
  result += suffix;
  result += path.substr(at);
  return result;
}

std::vector<std::size_t> EntriesAtDepth(const GroupList& groups, std::size_t depth) {
  std::vector<std::size_t> entries;
  for (std::size_t i = 0; i < groups.size(); ++i) {
    if (Depth(groups[i].name) == depth) entries.push_back(i);
  }
  return entries;
}

}  // namespace vorn
