#include "core/number_format.h"

#include <cmath>
#include <gtest/gtest.h>

namespace vorn {
namespace {

TEST(FormatReal, NineDecimalsWithPointWhateverTheValue) {
  EXPECT_EQ(FormatReal(0.5L), "0.500000000");
  EXPECT_EQ(FormatReal(12.25L), "12.250000000");
  EXPECT_EQ(FormatReal(-0.125L), "-0.125000000");
  EXPECT_EQ(FormatReal(0), "0.000000000");
  EXPECT_EQ(FormatReal(1.0L / 3), "0.333333333");
  EXPECT_EQ(FormatReal(2.0L / 3), "0.666666667");
}

TEST(FormatReal, HugeValuesKeepEveryDigit) {
  EXPECT_EQ(FormatReal(std::ldexp(1.0L, 130)), "1361129467683753853853498429727072845824.000000000");
  EXPECT_EQ(FormatFixed(std::ldexp(1.0L, 16000), 0).size(), 4817u);
}

TEST(FormatPercent, TwoDecimalsInFiveCharactersThenPercent) {
  EXPECT_EQ(FormatPercent(0.1234L), "12.34 %");
  EXPECT_EQ(FormatPercent(0.05L), " 5.00 %");
  EXPECT_EQ(FormatPercent(0), " 0.00 %");
  EXPECT_EQ(FormatPercent(1), "100.00 %");
}

TEST(FormatFixed, PadsOnTheLeftOnly) {
  EXPECT_EQ(FormatFixed(5, 2, 4), "5.00");
  EXPECT_EQ(FormatFixed(5, 2, 6), "  5.00");
  EXPECT_EQ(FormatFixed(1, 10, 11), "1.0000000000");
}

TEST(FormatShortest, GeneralRealNotation) {
  EXPECT_EQ(FormatShortest(6.0), "6");
  EXPECT_EQ(FormatShortest(0.1), "0.1");
  EXPECT_EQ(FormatShortest(2.5), "2.5");
}

TEST(BoolText, Words) {
  EXPECT_EQ(BoolText(true), "true");
  EXPECT_EQ(BoolText(false), "false");
}

}  // namespace
}  // namespace vorn
