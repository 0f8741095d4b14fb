#include "core/number_format.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <iostream>
#include <random>
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

// Zero has no sign, whatever rounded to it; values that are no numbers are named, unpadded.
TEST(FormatReal, ZeroWithoutSignAndNamedNonNumbers) {
  constexpr Real inf = std::numeric_limits<Real>::infinity();
  const Real nan = std::numeric_limits<Real>::quiet_NaN();
  const struct {
    Real x;
    const char* text;
  } cases[] = {
      {0.0L, "0.000000000"},          {-0.0L, "0.000000000"},         {-1e-12L, "0.000000000"},
      {-4.9e-10L, "0.000000000"},     {-5.1e-10L, "-0.000000001"},    {-0.125L, "-0.125000000"},
      {nan, "NaN"},                   {-nan, "NaN"},                  {inf, "Inf"},
      {-inf, "-Inf"},                 {-1e-30L, "0.000000000"},       {0.5L, "0.500000000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatReal(c.x), c.text) << static_cast<double>(c.x);
  }
  EXPECT_EQ(FormatFixed(-1e-30L, 20), "0.00000000000000000000");  // beyond the quick decimals
  EXPECT_EQ(FormatFixed(-1e-30L, 2, 6), "  0.00");
  EXPECT_EQ(FormatFixed(nan, 2, 6), "   NaN");
  EXPECT_EQ(FormatPercent(-0.0L), " 0.00 %");
}

TEST(FormatReal, HugeValuesKeepEveryDigit) {
  EXPECT_EQ(FormatReal(std::ldexp(1.0L, 130)), "1361129467683753853853498429727072845824.000000000");
  EXPECT_EQ(FormatFixed(std::ldexp(1.0L, 16000), 0).size(), 4817u);
}

// The quick path must give exactly the standard library's text, halves included, but for the sign
// of a zero.
TEST(AppendFixed, EqualsTheExactTextOfTheStandardLibrary) {
  const auto exact = [](Real x, int decimals) {
    std::array<char, 128> digits;
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), x, std::chars_format::fixed, decimals);
    std::string text(digits.data(), result.ptr);
    if (text.find_first_not_of("-0.") == std::string::npos && text.front() == '-') text.erase(0, 1);
    return text;
  };
  const auto check = [&](Real x, int decimals) {
    std::string text = "|";  // appended to what is there
    AppendFixed(text, x, decimals);
    ASSERT_EQ(text.front(), '|');
    ASSERT_EQ(text.substr(1), exact(x, decimals)) << static_cast<double>(x) << " with " << decimals << " decimals";
  };
  const std::uint32_t seed = std::random_device()();
  std::cout << "[ seed     ] " << seed << "\n";
  std::mt19937_64 random(seed);
  std::uniform_real_distribution<double> unit(0, 1);
  for (int k = 0; k < 20000; ++k) {
    const Real x = static_cast<Real>(unit(random)) * std::pow(10.0L, static_cast<int>(random() % 24) - 6) *
                   (random() % 2 ? 1 : -1);
    check(x, static_cast<int>(random() % 19));
    check(x, 10);
    // Ratios of small integers, as similarity matrices hold them.
    check(static_cast<Real>(random() % 1000) / static_cast<Real>(random() % 1000 + 1), 10);
  }
  for (const Real x : {0.5L, 1.5L, 2.5L, 0.125L, 0.00048828125L, -0.0L, -1e-12L, 1e17L, 9.99999999995e7L, 1e30L}) {
    for (int decimals = 0; decimals <= 18; ++decimals) check(x, decimals);
  }
}

TEST(PutFixed, WritesIntoABufferOrHandsOver) {
  char buffer[64];
  char* end = PutFixed(buffer, 0.25L, 10, 13);
  ASSERT_NE(end, nullptr);
  EXPECT_EQ(std::string(buffer, end), " 0.2500000000");
  end = PutFixed(buffer, -3, 2, 0);
  EXPECT_EQ(std::string(buffer, end), "-3.00");
  EXPECT_EQ(PutFixed(buffer, std::numeric_limits<Real>::quiet_NaN(), 10, 11), nullptr);
  EXPECT_EQ(PutFixed(buffer, std::ldexp(1.0L, 64), 2, 0), nullptr);
  EXPECT_EQ(PutFixed(buffer, 1, 19, 0), nullptr);
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
