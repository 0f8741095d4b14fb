#include "report/methods_text.h"

#include "similarity/coefficient_names.h"

namespace vorn {
namespace {

const char* CoefficientWork(SimilarityCoefficient coefficient) {
  switch (coefficient) {
    case SimilarityCoefficient::Jaccard: return "jaccard1908";
    case SimilarityCoefficient::Dice: return "dice1945";
    case SimilarityCoefficient::SMC: return "sokal1958";
    case SimilarityCoefficient::NeiLi: return "nei1979";
    default: return "sneath1973";
  }
}

std::string CoefficientText(SimilarityCoefficient coefficient) {
  switch (coefficient) {
    case SimilarityCoefficient::Jaccard: return "the Jaccard coefficient (Jaccard 1908)";
    case SimilarityCoefficient::Dice: return "the Dice coefficient (Dice 1945)";
    case SimilarityCoefficient::SMC: return "the simple matching coefficient (Sokal & Michener 1958)";
    case SimilarityCoefficient::NeiLi: return "the Nei & Li distance (Nei & Li 1979)";
    case SimilarityCoefficient::Euclidean: return "the Euclidean distance (Sneath & Sokal 1973)";
    default: return "the squared Euclidean distance (Sneath & Sokal 1973)";
  }
}

std::string TreatmentText(SimilarityMode mode, std::int32_t drawCount) {
  switch (mode) {
    case SimilarityMode::Standard: return "over the loci scored in both individuals";
    case SimilarityMode::Minimum: return "with every missing score given the state that makes a pair least similar";
    case SimilarityMode::Maximum: return "with every missing score given the state that makes a pair most similar";
    default:
      return "as the mean of " + std::to_string(drawCount) +
             " random values between the least and the greatest similarity the missing scores allow";
  }
}

}  // namespace

std::string CoefficientPhrase(SimilarityCoefficient coefficient, std::vector<std::string>& references) {
  references.push_back(CoefficientWork(coefficient));
  return CoefficientText(coefficient);
}

std::string SimilarityPhrase(const SimilaritySettings& settings, SimilarityMode mode, std::int32_t drawCount,
                             std::vector<std::string>& references) {
  return CoefficientPhrase(settings.coefficient, references) + " " + TreatmentText(mode, drawCount);
}

std::string DistancePhrase(const SimilaritySettings& settings, SimilarityMode mode, std::int32_t drawCount,
                           std::vector<std::string>& references) {
  return SimilarityPhrase(settings, mode, drawCount, references) + ", as distances " +
         TransformationName(settings.transformation);
}

std::string ProgramSentence(const std::string& version, const std::string& commit, std::uint32_t seed) {
  return "All computations were made with Vorn " + version + (commit.empty() ? "" : " (commit " + commit + ")") +
         " from the random seed " + std::to_string(seed) + ".";
}

}  // namespace vorn
