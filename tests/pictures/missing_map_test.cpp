#include "pictures/missing_map.h"

#include <gtest/gtest.h>

#include <random>

#include "support/test_matrix.h"

namespace vorn {
namespace {

using testing::MatrixFromRows;

const GroupList kGroups = {{"AllData", {}, false}, {"AllData/Q", {"i3", "i4"}, false}, {"AllData/P", {"i1"}, false}};

TEST(MissingMap, OrdersIndividualsByTheirGroupAndLociByTheirMissingShare) {
  const DataMatrix data = MatrixFromRows({"1??0", "0?10", "1111", "??1?", "0000"});
  const MissingMap map = MakeMissingMap(data, kGroups, 1, true);
  EXPECT_EQ(map.rows, (std::vector<std::uint32_t>{2, 3, 0, 1, 4}));  // Q, then P, then no group
  EXPECT_EQ(map.rowGroups, (std::vector<int>{0, 0, 1, -1, -1}));
  EXPECT_EQ(map.groupNames, (std::vector<std::string>{"Q", "P"}));
  EXPECT_EQ(map.locusShares, (std::vector<double>{0.2, 0.6, 0.2, 0.2}));
  EXPECT_EQ(map.columns, (std::vector<std::uint32_t>{0, 2, 3, 1}));
  EXPECT_EQ(map.individualShares, (std::vector<double>{0.5, 0.25, 0, 0.75, 0}));
  EXPECT_EQ(map.missingCells, 6u);
  EXPECT_EQ(MakeMissingMap(data, kGroups, 0, false).rows, (std::vector<std::uint32_t>{0, 1, 2, 3, 4}));
}

TEST(MissingMap, EachPixelHoldsTheShareOfMissingScoresAmongTheCellsItCovers) {
  const DataMatrix data = MatrixFromRows({"1??0", "0?10", "1111", "??1?", "0000"});
  const MissingMap map = MakeMissingMap(data, {}, 0, false);
  const struct {
    std::size_t width, height;
    std::vector<float> shares;
  } cases[] = {
      {4, 5, {0, 1, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1, 1, 0, 1, 0, 0, 0, 0}},
      // Rows {0, 1, 2} and {3, 4} (k * 2 / 5), columns {0, 1} and {2, 3}.
      {2, 2, {2.0f / 6, 1.0f / 6, 2.0f / 4, 1.0f / 4}},
      {1, 1, {6.0f / 20}},
      {100, 100, {0, 1, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1, 1, 0, 1, 0, 0, 0, 0}},  // never more pixels than cells
  };
  for (const auto& c : cases) {
    const MissingPixels pixels = AggregateMissing(data, map, c.width, c.height);
    EXPECT_EQ(pixels.shares, c.shares) << c.width << " x " << c.height;
  }
}

// Against the plain count of the cells of each pixel, on random data in a shuffled order.
TEST(MissingMap, AggregatesLikeAPlainCountOnRandomDataInAnyOrder) {
  std::mt19937 engine(13);
  const DataMatrix data = testing::RandomMatrix(37, 129, 0.3, 0.5, engine);
  MissingMap map = MakeMissingMap(data, {}, 0, false);
  std::shuffle(map.rows.begin(), map.rows.end(), engine);
  std::shuffle(map.columns.begin(), map.columns.end(), engine);
  const MissingPixels pixels = AggregateMissing(data, map, 10, 7);
  for (std::size_t y = 0; y < 7; ++y) {
    for (std::size_t x = 0; x < 10; ++x) {
      std::size_t missing = 0, cells = 0;
      for (std::size_t r = 0; r < 37; ++r) {
        for (std::size_t c = 0; c < 129; ++c) {
          if (r * 7 / 37 != y || c * 10 / 129 != x) continue;
          ++cells;
          missing += data.At(map.rows[r], map.columns[c]) == Missing;
        }
      }
      EXPECT_FLOAT_EQ(pixels.shares[y * 10 + x], float(double(missing) / double(cells))) << x << ", " << y;
    }
  }
}

TEST(MissingMap, HistogramBinsAreEqualAndTheLastIsClosed) {
  EXPECT_EQ(ShareHistogram({0, 0.04, 0.05, 0.5, 0.99, 1}, 20),
            (std::vector<std::size_t>{2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 2}));
}

}  // namespace
}  // namespace vorn
