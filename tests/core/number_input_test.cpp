#include "core/number_input.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

TEST(NumberInput, ReadsSignedDecimalsWithExponents) {
  EXPECT_EQ(ParseReal("12.5"), 12.5L);
  EXPECT_EQ(ParseReal("  -3 "), -3.0L);
  EXPECT_EQ(ParseReal("+.5"), 0.5L);
  EXPECT_EQ(ParseReal("5."), 5.0L);
  EXPECT_EQ(ParseReal("1e1"), 10.0L);
  EXPECT_EQ(ParseReal("2.5E-1"), 0.25L);
}

TEST(NumberInput, RefusesWhatIsNotANumber) {
  for (const char* text : {"", " ", "abc", "1..2", "1.2.3", "inf", "nan", "1e", "+", "-", ".", "1,5", "12%", "0x10", "1e99999"}) {
    EXPECT_FALSE(ParseReal(text).has_value()) << text;
    EXPECT_FALSE(ParsePercentAsFraction(text).has_value()) << text;
  }
}

TEST(NumberInput, APercentageIsTheNearestDoubleToItsFraction) {
  EXPECT_EQ(ParsePercentAsFraction("18"), 0.18);
  EXPECT_EQ(ParsePercentAsFraction("33.33"), 0.3333);
  EXPECT_EQ(ParsePercentAsFraction("5.00"), 0.05);
  EXPECT_EQ(ParsePercentAsFraction("-5"), -0.05);
  EXPECT_EQ(ParsePercentAsFraction("1e1"), 0.1);
  EXPECT_EQ(ParsePercentAsFraction("150"), 1.5);
  for (int v = 0; v <= 100; ++v) EXPECT_EQ(ParsePercentAsFraction(std::to_string(v)), v / 100.0) << v;
}

}  // namespace
}  // namespace vorn
