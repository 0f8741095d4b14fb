// The names of coefficients, similarity modes and distance transformations used in result
// headers, report lines and tree labels.
#pragma once

#include <cstdint>
#include <string>

#include "core/settings.h"

namespace vorn {

// Nei-Li, Euclidean and squared Euclidean are distances; the others are similarities.
inline bool IsDistance(SimilarityCoefficient coefficient) { return static_cast<int>(coefficient) >= 3; }

// False for values outside the enumerations, which only a damaged setting could hold.
inline bool IsKnown(SimilarityCoefficient coefficient) {
  return static_cast<int>(coefficient) <= static_cast<int>(SimilarityCoefficient::SqEuclidean);
}
inline bool IsKnown(DistanceTransformation transformation) {
  return static_cast<int>(transformation) <= static_cast<int>(DistanceTransformation::SquaredD);
}

// "Jaccard", "Dice", "SMC", "NeiLi", "Euclidean", "SqEuclidean"; "Unknown" otherwise.
std::string CoefficientName(SimilarityCoefficient coefficient);

// "Standard", "Minimum", "Maximum", "Average" (short: "Std", "Min", "Max", "Avg"). For a distance
// coefficient the Minimum and Maximum similarities are the Maximum and Minimum distances, and
// are named so.
std::string SimilarityModeName(SimilarityMode mode, SimilarityCoefficient coefficient, bool shortForm);

// "d=1-s", "d=SQRT(1-s)", "d=SQ(1-s)", "d'=d", "d'=SQRT(d)", "d'=SQ(d)".
std::string TransformationName(DistanceTransformation transformation);

// The name of a kept matrix, as trees are labelled with it: the short mode name and the
// coefficient's short name ("StdJaccard", "MaxEuclidean" for the Minimum similarity of a
// distance), for the Average followed by the draw count and "x" ("AvgJaccard100x"); at most
// 20 characters.
std::string MatrixName(SimilarityMode mode, SimilarityCoefficient coefficient, std::int32_t drawCount);

}  // namespace vorn
