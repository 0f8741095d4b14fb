// The group and locus-set lists: building their implicit first entries, the lookups every
// hierarchical analysis uses, and the edits of the Group Manager.
//
// A group's name is its path: "AllData", "AllData/PopA", "AllData/PopA/Sub1". Its depth is the
// number of "/" plus one (AllData 1, populations 2, their sub-groups 3); the user's "levels of
// hierarchy" are the depths below AllData. Locus-set names are plain names under "AllLoci".
// Members are labels of at most 20 characters. Index 0 of a built list is AllData / AllLoci.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/data_matrix.h"
#include "core/group_lists.h"
#include "core/result.h"

namespace vorn {

inline constexpr std::string_view kAllData = "AllData";
inline constexpr std::string_view kAllLoci = "AllLoci";

// groups := one entry "AllData" holding every individual label in data order. When the label
// count differs from the individual count the entry is left without members and the failure
// says so (the list is replaced either way).
Status BuildAllData(const DataMatrix& data, GroupList& groups);
// locusSets := one entry "AllLoci" holding every locus label in data order. When the label
// count differs from the locus count the list is left unchanged and the failure says so.
Status BuildAllLoci(const DataMatrix& data, GroupList& locusSets);
// AllData and AllLoci made anew from freshly loaded data, the user's entries after them kept
// (an empty list gets its first entry), so the whole set always lists the loaded individuals
// and loci, whatever groups the previous data left. Fails as the two builders do.
Status RenewImplicitEntries(const DataMatrix& data, GroupState& state);

// Depth of a group name: the number of "/" plus one.
std::size_t Depth(std::string_view name);
// Depth of entry index, 0 when there is no such entry.
std::size_t GroupDepth(const GroupList& groups, std::size_t index);

// 0 for an empty list, 1 for AllData alone; otherwise 1 plus one for every entry, in list order,
// deeper than the running value. With parents listed before their sub-groups (as the Group
// Manager and the block writer produce them) this is the greatest depth.
std::size_t LevelCount(const GroupList& groups);

// Number of entries of depth d. A list holding only AllData counts 1 at depth 0 and nothing
// elsewhere (callers ask depth 0 for "no hierarchy").
std::size_t CountAtDepth(const GroupList& groups, std::size_t depth);
// Names of the entries of depth d, in list order.
std::vector<std::string> NamesAtDepth(const GroupList& groups, std::size_t depth);

// Index of the first entry from 1 on that has name among its members; 0 when none has.
std::size_t GroupOfIndividual(const GroupList& groups, std::string_view name);

// The text after the last "/" (the whole name when there is none).
std::string_view LastNameComponent(std::string_view name);
// The whole path when showFullPath, otherwise its last component.
std::string DisplayName(std::string_view name, bool showFullPath);
// DisplayName of every entry, in list order: the captions of "Select Group Only".
std::vector<std::string> DisplayNames(const GroupList& list, bool showFullPath);

// An independent copy: names and member lists (member counts follow the lists).
GroupList CopyList(const GroupList& source);
void ClearList(GroupList& list);
// Deletes entry index and closes the gap; later entries move up one place. False when there
// is no such entry.
bool RemoveEntry(GroupList& list, std::size_t index);

// A name typed for a new group or locus set, without every space, tab, CR, LF and each of the
// characters . : , ; = * / \ < >, in UTF-8 as every name is kept (DisplayText).
std::string CleanName(std::string_view typed);

}  // namespace vorn
