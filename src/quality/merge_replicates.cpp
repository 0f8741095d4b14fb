#include "quality/merge_replicates.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "matrix/removal_filters.h"

namespace vorn {
namespace {

constexpr std::uint32_t kNoSample = UINT32_MAX;

// The merged score of one sample at one locus, counting a disagreement into merged.
Cell MergedScore(const Cell* scores, const std::vector<std::uint32_t>& replicates, Disagreement disagreement,
                 MergedReplicates& merged) {
  Cell agreed = Missing;
  bool differ = false;
  for (std::uint32_t i : replicates) {
    if (scores[i] == Missing) continue;
    if (agreed == Missing) agreed = scores[i];
    else if (scores[i] != agreed) differ = true;
  }
  if (!differ) return agreed;
  ++merged.disagreements;
  const Cell score = disagreement == Disagreement::FirstReplicate ? scores[replicates.front()] : Cell{Missing};
  merged.madeMissing += score == Missing;
  return score;
}

}  // namespace

Result<MergedReplicates> MergeReplicates(const DataMatrix& matrix, const std::vector<ReplicateSample>& samples,
                                         Disagreement disagreement, MergedName naming) {
  std::vector<std::uint32_t> sampleOf(matrix.individualCount, kNoSample);
  for (std::uint32_t s = 0; s < samples.size(); ++s) {
    for (std::uint32_t i : samples[s].individuals) sampleOf[i] = s;
  }
  // The kept individuals in order: every individual that is no replicate, and each sample's first.
  MergedReplicates merged;
  merged.names.resize(samples.size());
  std::vector<std::uint32_t> kept;
  LabelTable labels;
  for (std::uint32_t i = 0; i < matrix.individualCount; ++i) {
    const std::uint32_t s = sampleOf[i];
    if (s != kNoSample && samples[s].individuals.front() != i) continue;
    kept.push_back(i);
    labels.Add(s != kNoSample && naming == MergedName::Stem ? samples[s].stem : matrix.individualLabels[i]);
    if (s != kNoSample) merged.names[s] = labels[labels.Count() - 1];
  }
  std::unordered_map<std::string_view, std::size_t> carriers;
  for (const std::string& label : labels.All()) ++carriers[label];
  for (const std::string& name : merged.names) {
    if (carriers[name] > 1) {
      return Failure{"The merged individual \"" + name + "\" would carry the name of another individual of the data."};
    }
  }

  merged.dropped = matrix.individualCount - kept.size();
  DataMatrix& result = merged.matrix;
  result.individualCount = static_cast<std::uint16_t>(kept.size());
  result.locusCount = matrix.locusCount;
  result.cells.reserve(result.CellCount());
  for (std::size_t locus = 0; locus < matrix.locusCount; ++locus) {
    const Cell* scores = matrix.Locus(locus);
    for (std::uint32_t i : kept) {
      const std::uint32_t s = sampleOf[i];
      if (s == kNoSample) {
        result.cells.push_back(scores[i]);
        continue;
      }
      for (std::uint32_t r : samples[s].individuals) {
        if (!IsBandState(scores[r])) return Failure{kDataMatrixError};
      }
      result.cells.push_back(MergedScore(scores, samples[s].individuals, disagreement, merged));
    }
  }
  result.individualLabels = std::move(labels);
  result.locusLabels = matrix.locusLabels;
  result.locusMetrics = matrix.locusMetrics;
  return merged;
}

namespace {

// The loaded individuals behind a member's name.
std::vector<std::string> LoadedNames(const GroupState& state, const std::string& member) {
  const auto merged = state.mergedFrom.find(member);
  return merged == state.mergedFrom.end() ? std::vector<std::string>{member} : merged->second;
}

// Each member once, in its first place, with each name replaced through rename.
template <typename Rename>
void RenameMembers(GroupEntry& entry, Rename rename) {
  std::vector<std::string> members;
  std::unordered_set<std::string> listed;
  for (const std::string& member : entry.members) {
    for (const std::string& name : rename(member)) {
      if (listed.insert(name).second) members.push_back(name);
    }
  }
  entry.members = std::move(members);
}

}  // namespace

void MergeGroupMembers(GroupState& state, const LabelTable& labels, const std::vector<ReplicateSample>& samples,
                       const std::vector<std::string>& mergedNames) {
  std::unordered_map<std::string, std::string> mergedName;
  for (std::size_t s = 0; s < samples.size(); ++s) {
    for (std::uint32_t r : samples[s].individuals) mergedName[labels[r]] = mergedNames[s];
  }
  for (GroupEntry& entry : state.groups) {
    std::vector<std::string>& held = state.mergedAway[entry.name];
    std::unordered_set<std::string> away(held.begin(), held.end());
    RenameMembers(entry, [&](const std::string& member) {
      const auto found = mergedName.find(member);
      if (found == mergedName.end()) return std::vector<std::string>{member};
      // A merged individual whose replicates the group held is recorded already; one that
      // joined the group after its merge brings all its replicates.
      const std::vector<std::string> names = LoadedNames(state, member);
      if (std::ranges::none_of(names, [&](const std::string& name) { return away.contains(name); })) {
        for (const std::string& name : names) {
          away.insert(name);
          held.push_back(name);
        }
      }
      return std::vector<std::string>{found->second};
    });
  }
  std::vector<std::vector<std::string>> loaded(samples.size());
  for (std::size_t s = 0; s < samples.size(); ++s) {
    for (std::uint32_t r : samples[s].individuals) {
      const std::vector<std::string> names = LoadedNames(state, labels[r]);
      loaded[s].insert(loaded[s].end(), names.begin(), names.end());
      state.mergedFrom.erase(labels[r]);
    }
  }
  for (std::size_t s = 0; s < samples.size(); ++s) state.mergedFrom[mergedNames[s]] = std::move(loaded[s]);
}

void RestoreMergedMembers(GroupState& state) {
  for (GroupEntry& entry : state.groups) {
    const std::vector<std::string>& held = state.mergedAway[entry.name];
    const std::unordered_set<std::string> away(held.begin(), held.end());
    RenameMembers(entry, [&](const std::string& member) {
      std::vector<std::string> names = LoadedNames(state, member);
      std::vector<std::string> inGroup;
      for (const std::string& name : names) {
        if (away.contains(name)) inGroup.push_back(name);
      }
      return inGroup.empty() ? names : inGroup;
    });
  }
  state.ForgetMerges();
}

}  // namespace vorn
