// The names of coefficients, similarity modes and distance transformations used in result
// headers, report lines and tree labels.
#pragma once

#include <string>

#include "core/settings.h"

namespace vorn {

// Nei-Li, Euclidean and squared Euclidean are distances; the others are similarities.
inline bool IsDistance(SimilarityCoefficient coefficient) { return static_cast<int>(coefficient) >= 3; }

// "Jaccard", "Dice", "SMC", "NeiLi", "Euclidean", "SqEuclidean"; "Unknown" otherwise.
std::string CoefficientName(SimilarityCoefficient coefficient);

// "Standard", "Minimum", "Maximum", "Average" (short: "Std", "Min", "Max", "Avg"). For a distance
// coefficient the Minimum and Maximum similarities are the Maximum and Minimum distances, and
// are named so.
std::string SimilarityModeName(SimilarityMode mode, SimilarityCoefficient coefficient, bool shortForm);

// "d=1-s", "d=SQRT(1-s)", "d=SQ(1-s)", "d'=d", "d'=SQRT(d)", "d'=SQ(d)".
std::string TransformationName(DistanceTransformation transformation);

}  // namespace vorn
