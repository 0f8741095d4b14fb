// Merging replicate samples into one profile per sample. At each locus the merged score is the
// score the scored replicates agree on (a replicate without a score does not disagree); where
// none is scored it is missing; where they disagree it is missing or, as chosen, the first
// replicate's score (missing when the first has none). The merged individual takes the first
// replicate's place and its name or the sample's stem; the other replicates are dropped, every
// other individual keeps its place.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/data_matrix.h"
#include "core/group_lists.h"
#include "core/result.h"
#include "quality/replicate_samples.h"

namespace vorn {

enum class Disagreement { Missing, FirstReplicate };
enum class MergedName { FirstReplicate, Stem };

struct MergedReplicates {
  DataMatrix matrix;
  std::size_t dropped = 0;        // replicates merged into their sample's first
  std::size_t disagreements = 0;  // sample-locus cells where scored replicates disagree
  std::size_t madeMissing = 0;    // of them, those whose merged score is missing
  std::vector<std::string> names;  // the merged individual's name, per sample
};

// Fails with kDataMatrixError when a replicate's cell holds a code other than 0, 1, 9, and names
// a merged name that another individual of the data already carries.
Result<MergedReplicates> MergeReplicates(const DataMatrix& matrix, const std::vector<ReplicateSample>& samples,
                                         Disagreement disagreement, MergedName naming);

// The group members follow the merge: every replicate's name becomes its merged individual's
// name, each member kept once in its group. Groups are lists of names, so this keeps each
// merged individual in the groups of all its replicates. state.mergedFrom records the loaded
// individuals behind each merged name (through earlier merges too), each group's mergedAway the
// loaded individuals it held among them.
void MergeGroupMembers(GroupState& state, const LabelTable& labels, const std::vector<ReplicateSample>& samples,
                       const std::vector<std::string>& mergedNames);

// The reverse once the loaded matrix is back: each merged name in a group becomes the loaded
// individuals it stands for that the group held (all of them in a group it joined after the
// merge), and the record is cleared.
void RestoreMergedMembers(GroupState& state);

}  // namespace vorn
