// Evanno's dK against a table worked by hand.
#include "clustering/evanno_delta.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vorn {
namespace {

TEST(EvannoTable, HandWorkedTable) {
  // Three runs of K = 1..4. K = 2: sd of {-800, -802, -804} = 2, the curvatures per run
  // |-700 + 1600 - 1000| = 100, |-704 + 1604 - 1000| = 100, |-702 + 1608 - 1000| = 94: dK = 49.
  // K = 3: sd of {-700, -704, -702} = 2, curvatures |-690 + 1400 - 800| = 90,
  // |-698 + 1408 - 802| = 92, |-694 + 1404 - 804| = 94: dK = 46.
  const std::vector<std::vector<double>> l = {
      {-1000, -1000, -1000}, {-800, -802, -804}, {-700, -704, -702}, {-690, -698, -694}};
  const std::vector<EvannoRow> rows = EvannoTable(l, 1e-4);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].mean, -1000);
  EXPECT_EQ(rows[0].sd, 0);
  EXPECT_FALSE(rows[0].deltaK);
  EXPECT_EQ(rows[0].undefinedBecause, "smallest K");
  EXPECT_NEAR(rows[1].sd, 2, 1e-12);
  EXPECT_NEAR(*rows[1].deltaK, 49, 1e-12);
  EXPECT_NEAR(*rows[2].deltaK, 46, 1e-12);
  EXPECT_EQ(rows[3].undefinedBecause, "largest K");
  EXPECT_NEAR(rows[3].sd, 4, 1e-12);
  EXPECT_EQ(LargestDelta(rows), std::optional<std::size_t>(1));
}

TEST(EvannoTable, UndefinedWhereTheRunsAgreeExactly) {
  const std::vector<EvannoRow> rows = EvannoTable({{-10, -10}, {-8, -8}, {-7, -7}}, 1e-4);
  EXPECT_EQ(rows[1].undefinedBecause, "sd = 0");
  EXPECT_FALSE(LargestDelta(rows));
}

TEST(EvannoTable, AnSdBelowTheToleranceCountsAsTheTolerance) {
  // K = 2: sd of {-8, -8 - 1e-9} about 7.1e-10, below the tolerance 1e-4; the curvatures
  // |-7 + 16 - 10| = 1 and |-7 + 16 + 2e-9 - 10| = 1 + 2e-9: dK = 1 / 1e-4, not 1 / 7.1e-10.
  const std::vector<EvannoRow> rows = EvannoTable({{-10, -10}, {-8, -8 - 1e-9}, {-7, -7}}, 1e-4);
  EXPECT_LT(rows[1].sd, 1e-9);
  EXPECT_NEAR(*rows[1].deltaK, 1e4, 1e-3);
}

}  // namespace
}  // namespace vorn
