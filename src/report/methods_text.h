// The methods paragraph of a report, as a researcher writes it: what was measured with which
// coefficient and treatment of missing scores, which tests with how many permutations, and with
// which program and seed; each work cited by author and year, its key added to the references.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/settings.h"

namespace vorn {

// "the Jaccard coefficient (Jaccard 1908)", the work it cites added to references.
std::string CoefficientPhrase(SimilarityCoefficient coefficient, std::vector<std::string>& references);

// "the Jaccard coefficient (Jaccard 1908) over the loci scored in both individuals": the
// similarity a matrix holds.
std::string SimilarityPhrase(const SimilaritySettings& settings, SimilarityMode mode, std::int32_t drawCount,
                             std::vector<std::string>& references);

// "the Jaccard coefficient (Jaccard 1908) over the loci scored in both individuals, as distances
// d=1-s": the similarity and the distance a distance-based analysis used.
std::string DistancePhrase(const SimilaritySettings& settings, SimilarityMode mode, std::int32_t drawCount,
                           std::vector<std::string>& references);

// The closing sentence: "All computations were made with Vorn 1.10 beta (commit 1a2b3c4) from the
// random seed 7." A commit "" is left out.
std::string ProgramSentence(const std::string& version, const std::string& commit, std::uint32_t seed);

}  // namespace vorn
