#include "core/number_format.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

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

// Writes the decimal digits of value, at least minDigits of them (zeros in front).
void AppendDigits(std::string& text, std::uint64_t value, int minDigits) {
  char digits[20];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (count < minDigits) digits[count++] = '0';
  while (count > 0) text += digits[--count];
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
  const Real scaled = magnitude * static_cast<Real>(kPowersOfTen[static_cast<std::size_t>(decimals)]);
  const Real whole = std::floor(scaled);
  const Real fraction = scaled - whole;
  if (!(scaled < 1.8e19L) || std::fabs(fraction - 0.5L) <= scaled * 0x1p-62L) {
    AppendExactFixed(text, x, decimals);
    return;
  }
  const std::uint64_t rounded = static_cast<std::uint64_t>(whole) + (fraction > 0.5L ? 1 : 0);
  const std::uint64_t unit = kPowersOfTen[static_cast<std::size_t>(decimals)];
  if (std::signbit(x)) text += '-';
  AppendDigits(text, rounded / unit, 1);
  if (decimals == 0) return;
  text += '.';
  AppendDigits(text, rounded % unit, decimals);
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
