// The Structure export: a line of locus labels, then one line per individual with its label, on
// request its population number, and per locus ploidy codes (1 present, 2 absent, -9 unknown).
#pragma once

#include <cstdint>
#include <string>

#include "core/data_matrix.h"
#include "core/group_lists.h"
#include "core/result.h"
#include "io/export_common.h"

namespace vorn {

struct StructureOptions {
  std::uint8_t ploidy = 2;        // 1 to 255
  bool absenceAsUnknown = true;   // an absent band as 2 then -9s (0/?); otherwise 2s only (0/0)
  bool populations = false;       // the number of the first group holding the individual
};

// The codes of one locus for a presence, an absence and a missing score.
ScoreCodes StructureCodes(const StructureOptions& options);

// Refuses (before anything is written) a cell without a score and, with populations, a group
// member that is no individual; then writes the file anew.
Status WriteStructure(const std::string& path, const DataMatrix& matrix, const GroupList& groups,
                      const StructureOptions& options);

}  // namespace vorn
