// Writing the band matrix as a text table that the data file reader reads back in the same
// layout: individuals in rows or columns, optional names, scores delimited by one space or
// written together, a "-" before each missing score when AmbiguityNegative is on (delimited
// files only), and the EndOfData character alone on the last line; then, with IncludeGroups, the
// [Groups] and [LocusSets] blocks. Lines end in CR LF.
//
// The promise: a file the writer accepts loads back, with the same settings, as the same scores,
// names (the numbered defaults where none are written), groups and locus sets. What would break
// it is refused before anything is written, by the reader's rules (docs/02_data_file.md,
// "Saving the data file"), and the file is replaced only when all of it is written
// (ReplaceFileWhole).
#pragma once

#include <string>
#include <vector>

#include "core/data_matrix.h"
#include "core/group_lists.h"
#include "core/result.h"
#include "core/settings.h"
#include "io/group_blocks.h"

namespace vorn {

// Refuses a layout whose files could not be read back: Presence, Absence, Ambiguity, OpenRemark
// or EndOfData blank (a space, tab or line end separates fields or is skipped); score symbols
// that coincide, or that equal the OpenRemark or EndOfData character; OpenRemark equal to
// EndOfData (the end line would read as a remark); "-" as a symbol while AmbiguityNegative puts
// it before missing scores.
Status CheckWritableLayout(const FileLayout& layout);

// Every refusal of WriteDataFile, before anything is written: the layout (above); a matrix
// without individuals or loci; a cell that holds no score; a written name that is empty, holds
// a blank, the OpenRemark or the EndOfData character; with IncludeGroups, a table line that
// would read as a block header, and the block entries CheckWritableBlock refuses.
Status CheckDataFile(const DataMatrix& matrix, const FileLayout& layout, const GroupList& groups,
                     const GroupList& locusSets);

// Writes matrix and, with IncludeGroups, the blocks of groups and locusSets to path, replacing
// the file only when all of it was written; a refusal or a failed write leaves the file as it
// was. The value lists the blocks whose member names lost a "," ";" or "=" (each to be told with
// CleanedMembersMessage).
Result<std::vector<GroupBlock>> WriteDataFile(const std::string& path, const DataMatrix& matrix,
                                              const FileLayout& layout, const GroupList& groups = {},
                                              const GroupList& locusSets = {});

}  // namespace vorn
