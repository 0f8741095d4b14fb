#include "core/number_format.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace vorn {
namespace {

// The exact text of the binary value, by the standard library (slow for extended reals).
void AppendExactFixed(std::string& text, Real x, int decimals) {
  // Fixed notation of the largest extended reals runs to almost 5000 digits.
  std::string digits(128, '\0');
  for (;;) {
    auto [end, error] =
        std::to_chars(digits.data(), digits.data() + digits.size(), x, std::chars_format::fixed, decimals);
    if (error == std::errc()) {
      text.append(digits.data(), end);
      return;
    }
    digits.resize(digits.size() * 8);
  }
}

constexpr int kMaxQuickDecimals = 18;

constexpr std::array<std::uint64_t, kMaxQuickDecimals + 1> kPowersOfTen = [] {
  std::array<std::uint64_t, kMaxQuickDecimals + 1> powers{};
  powers[0] = 1;
  for (std::size_t k = 1; k < powers.size(); ++k) powers[k] = powers[k - 1] * 10;
  return powers;
}();

// "00" "01" ... "99": two digits per table look-up.
constexpr std::array<char, 200> kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (int k = 0; k < 100; ++k) {
    pairs[static_cast<std::size_t>(2 * k)] = static_cast<char>('0' + k / 10);
    pairs[static_cast<std::size_t>(2 * k + 1)] = static_cast<char>('0' + k % 10);
  }
  return pairs;
}();

// Writes exactly digitCount decimal digits of value (zeros in front) ending just before end;
// gives the position of the first.
char* PutDigits(char* end, std::uint64_t value, int digitCount) {
  for (; digitCount >= 2; digitCount -= 2) {
    end -= 2;
    std::memcpy(end, &kDigitPairs[static_cast<std::size_t>(2 * (value % 100))], 2);
    value /= 100;
  }
  if (digitCount == 1) *--end = static_cast<char>('0' + value % 10);
  return end;
}

int DigitCount(std::uint64_t value) {
  int count = 1;
  while (value >= 10) {
    value /= 10;
    ++count;
  }
  return count;
}

}  // namespace

void AppendFixed(std::string& text, Real x, int decimals) {
  // |x| * 10^decimals is rounded to an integer in extended precision. The product carries an
  // error below 2^-63 of itself, which can change the rounding only when the exact product lies
  // that close to a half; those values, and those too large for 64 bits, take the exact path.
  const Real magnitude = std::fabs(x);
  if (decimals < 0 || decimals > kMaxQuickDecimals || !(magnitude < 1e18L)) {
    AppendExactFixed(text, x, decimals);
    return;
  }
  const std::uint64_t unit = kPowersOfTen[static_cast<std::size_t>(decimals)];
  const Real scaled = magnitude * static_cast<Real>(unit);
  if (!(scaled < 1.8e19L)) {
    AppendExactFixed(text, x, decimals);
    return;
  }
  const auto whole = static_cast<std::uint64_t>(scaled);
  const Real fraction = scaled - static_cast<Real>(whole);
  if (std::fabs(fraction - 0.5L) <= scaled * 0x1p-62L) {
    AppendExactFixed(text, x, decimals);
    return;
  }
  const std::uint64_t rounded = whole + (fraction > 0.5L ? 1 : 0);
  const std::uint64_t integerPart = rounded / unit;
  char buffer[48];
  char* const end = buffer + sizeof buffer;
  char* start = PutDigits(end, rounded % unit, decimals);
  if (decimals > 0) *--start = '.';
  start = PutDigits(start, integerPart, DigitCount(integerPart));
  if (std::signbit(x)) *--start = '-';
  text.append(start, end);
}

std::string FormatFixed(Real x, int decimals, int width) {
  std::string text;
  AppendFixed(text, x, decimals);
  if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
  return text;
}

std::string FormatShortest(double x) {
  std::array<char, 64> digits;
  auto [end, error] = std::to_chars(digits.data(), digits.data() + digits.size(), x);
  return error == std::errc() ? std::string(digits.data(), end) : std::string();
}

}  // namespace vorn
