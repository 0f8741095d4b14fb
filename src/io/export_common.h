// What the exports share: the score codes a format writes for each band state, the checks that
// run before any file exists (every cell holds a score, group members are individuals, names
// the format cannot hold), the lines of codes, and the file-name rule of companion files.
// Every export writes through ReplaceFileWhole, so a refused or failed export leaves the target
// as it was.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/data_matrix.h"
#include "core/group_lists.h"
#include "core/result.h"
#include "core/text_file.h"

namespace vorn {

// The text a format writes for a presence, an absence and a missing score (each with its
// trailing separator).
struct ScoreCodes {
  std::string presence;
  std::string absence;
  std::string missing;

  const std::string& Of(Cell cell) const {
    return cell == Presence ? presence : cell == Absence ? absence : missing;
  }
};

// Fails with badCell when a cell holds no band state.
Status CheckScores(const DataMatrix& matrix, std::string_view badCell);

// Appends the codes of one individual at every locus, or of every individual at one locus.
void AppendIndividualCodes(std::string& line, const DataMatrix& matrix, std::size_t individual,
                           const ScoreCodes& codes);
void AppendLocusCodes(std::string& line, const DataMatrix& matrix, std::size_t locus, const ScoreCodes& codes);

// For each member of group, the position of the first individual with that label. Fails naming
// the first member that no individual has, so no export reads a column that is not there.
Result<std::vector<std::size_t>> MemberPositions(const LabelTable& labels, const GroupEntry& group);
// MemberPositions of every listed entry, or the first failure.
Status CheckMembers(const LabelTable& labels, const GroupList& groups, const std::vector<std::size_t>& entries);

// Fails with "NAME cannot be written to a KIND file: it contains C" for the first name holding a
// character of forbidden (what names the failure: "The individual name", "The group name" ...).
Status CheckNameCharacters(const std::vector<std::string>& names, std::string_view forbidden, std::string_view what,
                           std::string_view kind);

// path with suffix put into its file name before the last "." (at its start when the name has
// no "."); folder names are never changed: "/d/my.dir/data" -> "/d/my.dir/<suffix>data".
std::string InsertIntoFileName(std::string_view path, std::string_view suffix);

// The entries of a group list at depth, as positions in the list, in list order.
std::vector<std::size_t> EntriesAtDepth(const GroupList& groups, std::size_t depth);

}  // namespace vorn
