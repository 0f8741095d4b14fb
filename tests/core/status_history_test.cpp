#include "core/status_history.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

TEST(StatusHistory, StartsWithPlaceholdersThatCountAsEmpty) {
  StatusHistory history;
  EXPECT_EQ(history.Lines()[0], "Label1");
  EXPECT_EQ(history.Lines()[5], "Label6");
  for (std::size_t i = 0; i < 6; ++i) EXPECT_TRUE(history.IsEmpty(i));
  EXPECT_EQ(history.Shown(2), "");
}

TEST(StatusHistory, FillsFromTheTopThenScrolls) {
  StatusHistory history;
  for (int n = 1; n <= 7; ++n) history.Add("report " + std::to_string(n));
  for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(history.Lines()[i], "report " + std::to_string(i + 2));
}

TEST(StatusHistory, ThreeReportsLeaveThreePlaceholders) {
  StatusHistory history;
  history.Add("a");
  history.Add("b");
  history.Add("c");
  EXPECT_EQ(history.Lines()[2], "c");
  EXPECT_EQ(history.Lines()[3], "Label4");
}

}  // namespace
}  // namespace vorn
