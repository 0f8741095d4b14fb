#include "similarity/pair_distance.h"

#include <gtest/gtest.h>

#include "similarity/average_similarity.h"
#include "similarity/coefficient_names.h"
#include "similarity/distance_transformation.h"
#include "similarity/reference_coefficients.h"

namespace vorn {
namespace {

using C = SimilarityCoefficient;
using M = SimilarityMode;
using T = DistanceTransformation;
using testing::kAllCoefficients;
using testing::RandomMatrix;
using testing::ReferenceCoefficient;
using testing::SameValue;
using testing::TestSeed;

class PairDistanceTest : public ::testing::Test {
 protected:
  PairDistanceTest() {
    ws.data = RandomMatrix(6, 70, 0.2, TestSeed());
    ws.dataLoaded = true;
    ws.random.Seed(21);
  }
  Real Reference(std::size_t i, std::size_t j, M variant) const {
    const auto& s = ws.settings.similarity;
    return ReferenceCoefficient(ws.data.cells.data(), 6, i, ws.data.cells.data(), 6, j, 70, s.coefficient, variant,
                                s.neiLiR);
  }
  Workspace ws;
  PairNotes notes;
};

TEST_F(PairDistanceTest, TheChosenTreatmentThroughTheTransformation) {
  for (const C coefficient : kAllCoefficients) {
    for (const M mode : {M::Standard, M::Minimum, M::Maximum}) {
      for (const int choice : {0, 1, 2}) {
        ws.settings.similarity.coefficient = coefficient;
        ws.settings.similarity.amovaSimilarity = mode;
        ws.settings.similarity.transformation = static_cast<T>(choice + (IsDistance(coefficient) ? 3 : 0));
        for (std::size_t i = 0; i < 6; ++i) {
          for (std::size_t j = 0; j < 6; ++j) {
            const Real expected = ApplyTransformation(Reference(i, j, mode), ws.settings.similarity.transformation);
            const auto direct = SDist(ws, i, j, notes);
            const auto blocks = SDist_mem(ws, ws.data.cells.data(), ws.data.cells.data(), 6, 6, i, j, notes);
            ASSERT_TRUE(direct.ok() && blocks.ok());
            EXPECT_TRUE(SameValue(*direct, expected)) << CoefficientName(coefficient) << " " << i << "," << j;
            EXPECT_TRUE(SameValue(*blocks, expected));
          }
        }
      }
    }
  }
  EXPECT_EQ(ws.random.State(), 21u);
}

TEST_F(PairDistanceTest, TheAverageDrawsBetweenTheBounds) {
  ws.settings.similarity.amovaSimilarity = M::Average;
  ws.settings.replicates.JC = 30;
  for (const C coefficient : kAllCoefficients) {
    ws.settings.similarity.coefficient = coefficient;
    ws.settings.similarity.transformation = IsDistance(coefficient) ? T::D : T::OneMinusS;
    RandomGenerator twin = ws.random;
    const auto distance = SDist(ws, 1, 4, notes);
    ASSERT_TRUE(distance.ok());
    const AverageDraw draw = AverageOfBounds(Reference(1, 4, M::Minimum), Reference(1, 4, M::Maximum), coefficient, 30, twin);
    EXPECT_TRUE(SameValue(*distance, ApplyTransformation(draw.mean, ws.settings.similarity.transformation)));
    EXPECT_EQ(ws.random.State(), twin.State());
  }
}

TEST_F(PairDistanceTest, UndefinedNeiLiPairsAreCountedNotShown) {
  ws.data.cells.assign(ws.data.cells.size(), Absence);
  for (std::size_t l = 0; l < 70; ++l) ws.data.cells[l * 6 + 0] = Presence;  // individual 0 has every band
  ws.settings.similarity.coefficient = C::NeiLi;
  ws.settings.similarity.transformation = T::SqrtD;
  const auto distance = SDist(ws, 0, 1, notes);
  EXPECT_EQ(*distance, -1);  // the undefined mark survives the square root
  EXPECT_EQ(notes.undefinedNeiLiPairs, 1u);
}

TEST_F(PairDistanceTest, DamagedSettingsAndNoDrawsAreRefused) {
  ws.settings.similarity.coefficient = static_cast<C>(7);
  EXPECT_EQ(SDist(ws, 0, 1, notes).error(), "Vorncore: SDist: Unknown distance coefficient");
  EXPECT_EQ(SDist_mem(ws, ws.data.cells.data(), ws.data.cells.data(), 6, 6, 0, 1, notes).error(),
            "Vorncore: SDist_mem: Unknown distance coefficient");
  ws.settings.similarity.coefficient = C::Jaccard;
  ws.settings.similarity.transformation = static_cast<T>(6);
  EXPECT_EQ(SDist(ws, 0, 1, notes).error(), "DistXF: Unknown option.");
  ws.settings.similarity.transformation = T::OneMinusS;
  ws.settings.similarity.amovaSimilarity = M::Average;
  ws.settings.replicates.JC = 0;
  EXPECT_FALSE(SDist(ws, 0, 1, notes).ok());
}

}  // namespace
}  // namespace vorn
