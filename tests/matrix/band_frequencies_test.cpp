#include "matrix/band_frequencies.h"

#include <gtest/gtest.h>

#include <numeric>

#include "support/test_matrix.h"

namespace vorn {
namespace {

using testing::MatrixFromRows;

TEST(BandFrequencies, RelativeToAllPresencesSumToOne) {
  // Presences per locus: 2, 1, 0, 3 of 6.
  const DataMatrix m = MatrixFromRows({"1?01", "1001", "0101"});
  const auto p = LocusBandFrequencies(m, FrequencyBasis::RelativeToAllPresences);
  ASSERT_TRUE(p.ok());
  EXPECT_EQ(*p, (std::vector<Real>{2.0L / 6, 1.0L / 6, 0, 3.0L / 6}));
  EXPECT_NEAR(static_cast<double>(std::accumulate(p->begin(), p->end(), 0.0L)), 1.0, 1e-18);
}

TEST(BandFrequencies, PerIndividualCountsMissingScoresAsNonPresences) {
  const DataMatrix m = MatrixFromRows({"1?", "1?", "?1", "01"});
  EXPECT_EQ(*LocusBandFrequencies(m, FrequencyBasis::PerIndividual), (std::vector<Real>{0.5L, 0.5L}));
}

TEST(BandFrequencies, IndividualsDivideByAllLoci) {
  const DataMatrix m = MatrixFromRows({"1?01", "????", "1111"});
  EXPECT_EQ(*IndividualBandFrequencies(m), (std::vector<Real>{0.5L, 0, 1}));
}

TEST(BandFrequencies, WithoutAnyPresenceEveryFrequencyIsZero) {
  const DataMatrix m = MatrixFromRows({"0?", "00"});
  EXPECT_EQ(*LocusBandFrequencies(m, FrequencyBasis::RelativeToAllPresences), (std::vector<Real>{0, 0}));
}

TEST(BandFrequencies, ACodeOutsideZeroOneNineFailsTheWholeArray) {
  const DataMatrix m = MatrixFromRows({"10", "1x"});
  const auto loci = LocusBandFrequencies(m, FrequencyBasis::PerIndividual);
  ASSERT_FALSE(loci.ok());
  EXPECT_EQ(loci.error(), "Frequencies: Data Matrix Error");
  const auto individuals = IndividualBandFrequencies(m);
  ASSERT_FALSE(individuals.ok());
  EXPECT_EQ(individuals.error(), "Frequencies (indiv): Data Matrix Error");
}

}  // namespace
}  // namespace vorn
