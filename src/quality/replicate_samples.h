// Replicate samples: individuals that are repeated scorings of one sample, declared by name
// (names that differ only by a replicate suffix) or by groups (each group of a level holds the
// replicates of one sample), and the pairs compared within each sample.
// Invariant of a declaration: each sample holds at least two individuals, in data order (the
// first is the sample's first replicate), and no individual belongs to two samples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/group_lists.h"
#include "core/label_table.h"
#include "core/result.h"

namespace vorn {

// A replicate suffix at the end of a name, letter case ignored: "_r", "-R", "_rep2", or a single
// letter ("S12b" beside "S12" or "S12a").
inline constexpr const char* kDefaultReplicateSuffix = "([_-](r|rep)[0-9]*|[a-z])$";

struct ReplicateSample {
  std::string name;                        // the stem, or the group's path
  std::string stem;                        // the stem, or the last part of the group's path
  std::vector<std::uint32_t> individuals;  // positions among the labels, ascending
};

struct ReplicatePair {
  std::size_t sample = 0;
  std::uint32_t first = 0;
  std::uint32_t second = 0;
};

// The individuals whose names give one stem once the suffix is cut off (a name without the
// suffix, or that would leave no stem, is its own stem), in the order of their first
// individuals. Fails naming the pattern when it is not a regular expression.
Result<std::vector<ReplicateSample>> ReplicatesByName(const LabelTable& labels, const std::string& suffixPattern);

// The groups of level (1 = below AllData) with at least two individuals, named by their paths.
// Fails as PopulationsOfLevel does, and names an individual that two of them hold.
Result<std::vector<ReplicateSample>> ReplicatesByGroups(const LabelTable& labels, const GroupList& groups,
                                                        std::size_t level);

// Every two replicates of each sample, sample by sample, in data order.
std::vector<ReplicatePair> PairsOf(const std::vector<ReplicateSample>& samples);

// "S12: S12, S12_r" per sample, for the dialogs that show what a declaration found.
std::vector<std::string> SampleLines(const std::vector<ReplicateSample>& samples, const LabelTable& labels);

}  // namespace vorn
