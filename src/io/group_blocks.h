// The [Groups] and [LocusSets] blocks that follow the table in a data file, written and read.
//
//   [Groups]
//   AllData/PopA= ind1, ind2;
//   AllData/PopB= ind3;
//   *
//
// A header line opens a block; each line holds an entry's name, "=", its members separated by
// "," and ";" after the last one; "*" closes it. Spaces and tabs carry no meaning. The implicit
// first entry (AllData, AllLoci) is never written: the reader builds it from the data.
#pragma once

#include <string>
#include <string_view>

#include "core/data_matrix.h"
#include "core/group_lists.h"
#include "core/result.h"
#include "core/text_file.h"

namespace vorn {

enum class GroupBlock { Groups, LocusSets };

// "[Groups]" or "[LocusSets]".
std::string_view BlockHeader(GroupBlock block);

// The notice shown when member names lost a "," ";" or "=" on writing.
std::string_view CleanedMembersMessage(GroupBlock block);

// Writes the block of list (nothing when it holds only its implicit entry). The value is true
// when a member name lost one of the characters "," ";" "=", which the block syntax cannot hold.
Result<bool> WriteBlock(const std::string& path, const GroupList& list, GroupBlock block, WriteMode mode);

// Reads the block from the file into list. Without a header line the list keeps its entries;
// otherwise the list restarts with its implicit entry built from data and takes the block's
// entries (members cut to 20 characters). A malformed line, or an entry beyond the
// kMaxListEntries the list can hold, ends the reading with its message; the entries above it
// stay.
Status ReadBlock(const std::string& path, GroupBlock block, const DataMatrix& data, GroupList& list);

}  // namespace vorn
