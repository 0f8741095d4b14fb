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
#include "groups/repeated_members.h"

namespace vorn {

enum class GroupBlock { Groups, LocusSets };

// "[Groups]" or "[LocusSets]".
std::string_view BlockHeader(GroupBlock block);

// The notice shown when member names lost a "," ";" or "=" on writing.
std::string_view CleanedMembersMessage(GroupBlock block);

// Refuses a list whose block would not read back as the same entries: an entry name that is
// empty or holds a blank (the reader drops spaces and tabs) or "=" (the reader splits there); an
// entry without members (the reader stops at "name= ;"); a member name that, once "," ";" and
// "=" are removed, is empty, holds a blank or is longer than 20 characters; a member that holds
// "," ";" or "=" and is one of the labels written in the table (its individual or locus would
// lose the entry once loaded). The message names the entry and member, and where the member is
// one of labels, its place there.
Status CheckWritableBlock(const GroupList& list, GroupBlock block, const LabelTable& labels = {});

// Writes the block of list to file: an empty line, the header, one line per entry from the
// second on, and "*" (nothing when the list holds only its implicit entry). True when a member
// name lost one of the characters "," ";" "=", which the block syntax cannot hold.
bool WriteBlock(TextFileWriter& file, const GroupList& list, GroupBlock block);

// Reads the block from the file into list. Without a header line the list keeps its entries;
// otherwise the list restarts with its implicit entry built from data and takes the block's
// entries (members cut to 20 characters, each kept once: a member listed again is added to
// repeated when given). A malformed line, or an entry beyond the kMaxListEntries the list can
// hold, ends the reading with its message; the entries above it stay.
Status ReadBlock(const std::string& path, GroupBlock block, const DataMatrix& data, GroupList& list,
                 std::vector<RepeatedMember>* repeated = nullptr);

}  // namespace vorn
