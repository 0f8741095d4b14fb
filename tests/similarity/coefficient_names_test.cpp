#include "similarity/coefficient_names.h"
#include "similarity/distance_transformation.h"

#include <cmath>
#include <limits>
#include <gtest/gtest.h>

namespace vorn {
namespace {

using C = SimilarityCoefficient;
using M = SimilarityMode;
using T = DistanceTransformation;

TEST(CoefficientNames, ShortNamesAndKinds) {
  EXPECT_EQ(CoefficientName(C::Jaccard), "Jaccard");
  EXPECT_EQ(CoefficientName(C::Dice), "Dice");
  EXPECT_EQ(CoefficientName(C::SMC), "SMC");
  EXPECT_EQ(CoefficientName(C::NeiLi), "NeiLi");
  EXPECT_EQ(CoefficientName(C::Euclidean), "Euclidean");
  EXPECT_EQ(CoefficientName(C::SqEuclidean), "SqEuclidean");
  EXPECT_EQ(CoefficientName(static_cast<C>(6)), "Unknown");
  EXPECT_FALSE(IsDistance(C::SMC));
  EXPECT_TRUE(IsDistance(C::NeiLi));
}

TEST(CoefficientNames, ModeNamesSwapMinimumAndMaximumForDistances) {
  EXPECT_EQ(SimilarityModeName(M::Standard, C::Jaccard, false), "Standard");
  EXPECT_EQ(SimilarityModeName(M::Minimum, C::Jaccard, false), "Minimum");
  EXPECT_EQ(SimilarityModeName(M::Minimum, C::Euclidean, false), "Maximum");
  EXPECT_EQ(SimilarityModeName(M::Maximum, C::Euclidean, true), "Min");
  EXPECT_EQ(SimilarityModeName(M::Maximum, C::Dice, true), "Max");
  EXPECT_EQ(SimilarityModeName(M::Average, C::NeiLi, true), "Avg");
  EXPECT_EQ(SimilarityModeName(static_cast<M>(4), C::Jaccard, true), "UNK");
  EXPECT_EQ(SimilarityModeName(static_cast<M>(4), C::Jaccard, false), "Unknown");
}

TEST(CoefficientNames, TransformationNames) {
  EXPECT_EQ(TransformationName(T::OneMinusS), "d=1-s");
  EXPECT_EQ(TransformationName(T::SqrtOneMinusS), "d=SQRT(1-s)");
  EXPECT_EQ(TransformationName(T::SquaredOneMinusS), "d=SQ(1-s)");
  EXPECT_EQ(TransformationName(T::D), "d'=d");
  EXPECT_EQ(TransformationName(T::SqrtD), "d'=SQRT(d)");
  EXPECT_EQ(TransformationName(T::SquaredD), "d'=SQ(d)");
  EXPECT_EQ(TransformationName(static_cast<T>(6)), "Unknown Distance Transformation");
}

TEST(DistanceTransformation, EachFormula) {
  EXPECT_EQ(ApplyTransformation(0.75L, T::OneMinusS), 0.25L);
  EXPECT_EQ(ApplyTransformation(0.75L, T::SqrtOneMinusS), 0.5L);
  EXPECT_EQ(ApplyTransformation(0.75L, T::SquaredOneMinusS), 0.0625L);
  EXPECT_EQ(ApplyTransformation(4, T::D), 4);
  EXPECT_EQ(ApplyTransformation(4, T::SqrtD), 2);
  EXPECT_EQ(ApplyTransformation(4, T::SquaredD), 16);
}

TEST(DistanceTransformation, UndefinedValuesStayUndefined) {
  // The Nei-Li mark -1 passes every distance transformation unchanged.
  EXPECT_EQ(ApplyTransformation(-1, T::D), -1);
  EXPECT_EQ(ApplyTransformation(-1, T::SqrtD), -1);
  EXPECT_EQ(ApplyTransformation(-1, T::SquaredD), -1);
  const Real nan = std::numeric_limits<Real>::quiet_NaN();
  for (const T transformation : {T::OneMinusS, T::SqrtOneMinusS, T::SquaredOneMinusS, T::D, T::SqrtD, T::SquaredD}) {
    EXPECT_TRUE(std::isnan(ApplyTransformation(nan, transformation)));
  }
}

TEST(CoefficientNames, MatrixNamesAreCutToTwentyCharacters) {
  EXPECT_EQ(MatrixName(M::Standard, C::Jaccard, 100), "StdJaccard");
  EXPECT_EQ(MatrixName(M::Minimum, C::Dice, 100), "MinDice");
  EXPECT_EQ(MatrixName(M::Minimum, C::Euclidean, 100), "MaxEuclidean");
  EXPECT_EQ(MatrixName(M::Maximum, C::Euclidean, 100), "MinEuclidean");
  EXPECT_EQ(MatrixName(M::Average, C::Jaccard, 100), "AvgJaccard100x");
  EXPECT_EQ(MatrixName(M::Average, C::SqEuclidean, 10000), "AvgSqEuclidean10000x");
  EXPECT_EQ(MatrixName(M::Average, C::SqEuclidean, 100000), "AvgSqEuclidean100000");
}

TEST(DistanceTransformation, TransformMatrixKeepsTheSourceAndTheShape) {
  DistanceMatrix source(2);
  source.entries = {1, 0.5L, 1};
  const DistanceMatrix target = TransformMatrix(source, T::OneMinusS);
  EXPECT_EQ(target.n, 2u);
  EXPECT_EQ(target.entries, (std::vector<Real>{0, 0.5L, 0}));
  EXPECT_EQ(source.entries, (std::vector<Real>{1, 0.5L, 1}));
}

}  // namespace
}  // namespace vorn
