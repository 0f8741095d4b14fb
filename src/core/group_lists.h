// Groups of individuals and locus sets as the workspace holds them, with the active selection.
// Group names are paths joined by "/" under "AllData"; entry 0 of each list is the implicit
// whole set (AllData, AllLoci) once the lists are built. A member count is always the size of
// the member list, so it is not stored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/band_state.h"
#include "core/label_table.h"
#include "core/locus_metrics.h"

namespace vorn {

struct GroupEntry {
  std::string name;
  std::vector<std::string> members;
  bool testSelected = false;  // ticked in the t-test dialog

  std::size_t MemberCount() const { return members.size(); }
  bool operator==(const GroupEntry&) const = default;
};

using GroupList = std::vector<GroupEntry>;

// The entries a list may hold after its implicit first one: the active index of each list is
// 16-bit and entry 0 is the whole set, so 65535 groups and 65535 locus sets. The block reader
// and the Group Manager refuse more; selection and profiles refuse an index or a count beyond.
inline constexpr std::size_t kMaxListEntries = std::numeric_limits<std::uint16_t>::max();

// The full individuals, put aside while a group is the working data. The loci they were parked
// with are kept too, so the slot always describes its own cells, even after the working loci
// changed while the group was active.
struct ParkedIndividuals {
  std::vector<Cell> cells;
  std::uint16_t individualCount = 0;
  LabelTable labels;
  std::uint16_t locusCount = 0;
  LabelTable locusLabels{};
  LocusMetrics locusMetrics{};
};

// The full loci, put aside while a locus set is the working data, with the individuals they were
// parked with (for the same reason).
struct ParkedLoci {
  std::vector<Cell> cells;
  std::uint16_t locusCount = 0;
  LabelTable labels;
  std::uint16_t individualCount = 0;
  LabelTable individualLabels{};
  LocusMetrics locusMetrics{};
};

struct GroupState {
  GroupList groups;
  GroupList locusSets;
  bool showFullPath = true;
  std::uint16_t activeGroup = 0;      // 0 = AllData
  std::uint16_t activeLocusSet = 0;   // 0 = AllLoci
  std::optional<ParkedIndividuals> parkedIndividuals;
  std::optional<ParkedLoci> parkedLoci;
  // The loaded individuals each merged individual stands for, so that restoring the loaded
  // matrix gives the groups back the replicates the merge replaced by their merged name.
  std::map<std::string, std::vector<std::string>> mergedFrom;
  // Per group name, the loaded individuals of the group that a merge replaced by their merged name.
  std::map<std::string, std::vector<std::string>> mergedAway;

  // Back to the whole data set; whatever was parked belongs to data that are being replaced.
  void DropSelection() {
    activeGroup = 0;
    activeLocusSet = 0;
    parkedIndividuals.reset();
    parkedLoci.reset();
  }

  void ForgetMerges() {
    mergedFrom.clear();
    mergedAway.clear();
  }
};

}  // namespace vorn
