#include "quality/replicate_samples.h"

#include <regex>
#include <unordered_map>

#include "groups/group_members.h"
#include "groups/group_model.h"

namespace vorn {

Result<std::vector<ReplicateSample>> ReplicatesByName(const LabelTable& labels, const std::string& suffixPattern) {
  std::regex suffix;
  try {
    suffix = std::regex(suffixPattern, std::regex::ECMAScript | std::regex::icase);
  } catch (const std::regex_error&) {
    return Failure{"The replicate suffix \"" + suffixPattern + "\" is not a regular expression."};
  }
  std::vector<ReplicateSample> stems;
  std::unordered_map<std::string, std::size_t> stemIndex;
  for (std::uint32_t i = 0; i < labels.Count(); ++i) {
    const std::string& name = labels[i];
    std::smatch found;
    std::string stem = name;
    if (std::regex_search(name, found, suffix) && found.position(0) > 0) stem = name.substr(0, found.position(0));
    const auto [entry, added] = stemIndex.emplace(stem, stems.size());
    if (added) stems.push_back(ReplicateSample{stem, stem, {}});
    stems[entry->second].individuals.push_back(i);
  }
  std::vector<ReplicateSample> samples;
  for (auto& stem : stems) {
    if (stem.individuals.size() > 1) samples.push_back(std::move(stem));
  }
  return samples;
}

Result<std::vector<ReplicateSample>> ReplicatesByGroups(const LabelTable& labels, const GroupList& groups,
                                                        std::size_t level) {
  auto populations = PopulationsOfLevel(labels, groups, level);
  if (!populations) return Failure{populations.error()};
  std::vector<ReplicateSample> samples;
  std::unordered_map<std::uint32_t, std::string> sampleOf;
  for (auto& population : *populations) {
    if (population.individuals.size() < 2) continue;
    for (std::uint32_t i : population.individuals) {
      const auto [entry, added] = sampleOf.emplace(i, population.name);
      if (!added) {
        return Failure{"\"" + labels[i] + "\" is a replicate in both " + entry->second + " and " + population.name +
                       "; each individual can be a replicate of one sample only."};
      }
    }
    samples.push_back(ReplicateSample{population.name, std::string(LastNameComponent(population.name)),
                                      std::move(population.individuals)});
  }
  return samples;
}

std::vector<ReplicatePair> PairsOf(const std::vector<ReplicateSample>& samples) {
  std::vector<ReplicatePair> pairs;
  for (std::size_t s = 0; s < samples.size(); ++s) {
    const auto& members = samples[s].individuals;
    for (std::size_t a = 0; a < members.size(); ++a) {
      for (std::size_t b = a + 1; b < members.size(); ++b) pairs.push_back({s, members[a], members[b]});
    }
  }
  return pairs;
}

std::vector<std::string> SampleLines(const std::vector<ReplicateSample>& samples, const LabelTable& labels) {
  std::vector<std::string> lines;
  for (const auto& sample : samples) {
    std::string line = sample.name + ":";
    for (std::size_t k = 0; k < sample.individuals.size(); ++k) {
      line += (k == 0 ? " " : ", ") + labels[sample.individuals[k]];
    }
    lines.push_back(line);
  }
  return lines;
}

}  // namespace vorn
