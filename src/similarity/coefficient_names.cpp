#include "similarity/coefficient_names.h"

#include "core/label_table.h"

namespace vorn {

std::string CoefficientName(SimilarityCoefficient coefficient) {
  switch (coefficient) {
    case SimilarityCoefficient::Jaccard: return "Jaccard";
    case SimilarityCoefficient::Dice: return "Dice";
    case SimilarityCoefficient::SMC: return "SMC";
    case SimilarityCoefficient::NeiLi: return "NeiLi";
    case SimilarityCoefficient::Euclidean: return "Euclidean";
    case SimilarityCoefficient::SqEuclidean: return "SqEuclidean";
  }
  return "Unknown";
}

std::string SimilarityModeName(SimilarityMode mode, SimilarityCoefficient coefficient, bool shortForm) {
  const bool distance = IsDistance(coefficient);
  switch (mode) {
    case SimilarityMode::Standard: return shortForm ? "Std" : "Standard";
    case SimilarityMode::Average: return shortForm ? "Avg" : "Average";
    case SimilarityMode::Minimum:
      if (distance) return shortForm ? "Max" : "Maximum";
      return shortForm ? "Min" : "Minimum";
    case SimilarityMode::Maximum:
      if (distance) return shortForm ? "Min" : "Minimum";
      return shortForm ? "Max" : "Maximum";
  }
  return shortForm ? "UNK" : "Unknown";
}

std::string TransformationName(DistanceTransformation transformation) {
  switch (transformation) {
    case DistanceTransformation::OneMinusS: return "d=1-s";
    case DistanceTransformation::SqrtOneMinusS: return "d=SQRT(1-s)";
    case DistanceTransformation::SquaredOneMinusS: return "d=SQ(1-s)";
    case DistanceTransformation::D: return "d'=d";
    case DistanceTransformation::SqrtD: return "d'=SQRT(d)";
    case DistanceTransformation::SquaredD: return "d'=SQ(d)";
  }
  return "Unknown Distance Transformation";
}

std::string MatrixName(SimilarityMode mode, SimilarityCoefficient coefficient, std::int32_t drawCount) {
  std::string name = SimilarityModeName(mode, coefficient, true) + CoefficientName(coefficient);
  if (mode == SimilarityMode::Average) name += std::to_string(drawCount) + "x";
  return CutLabel(name);
}

}  // namespace vorn
