#include "core/number_format.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>

namespace vorn {
namespace {

static_assert(std::numeric_limits<Real>::digits == 64 && sizeof(Real) >= 10,
              "the quick fixed notation reads the x87 extended format");

// The exact text of the finite binary value, by the standard library (slow for extended reals),
// without the sign of a zero.
void AppendExactFixed(std::string& text, Real x, int decimals) {
  // Fixed notation of the largest extended reals runs to almost 5000 digits.
  std::string digits(128, '\0');
  for (;;) {
    auto [end, error] =
        std::to_chars(digits.data(), digits.data() + digits.size(), x, std::chars_format::fixed, decimals);
    if (error == std::errc()) {
      const std::string_view written(digits.data(), static_cast<std::size_t>(end - digits.data()));
      const bool zero = written.find_first_not_of("-0.") == std::string_view::npos;
      text += zero && written.front() == '-' ? written.substr(1) : written;
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

// The quick path for a given number of decimals: with the decimals known when compiling, the
// divisions by powers of ten become multiplications. An extended real is
// significand * 2^(exponent - 63); its product with 10^decimals is formed exactly in 128 bits and
// rounded half to even, as the exact text rounds.
template <int Decimals>
char* PutQuickFixed(char* out, Real x, int width) {
  std::uint64_t significand;
  std::uint16_t signAndExponent;
  std::memcpy(&significand, &x, sizeof significand);
  std::memcpy(&signAndExponent, reinterpret_cast<const char*>(&x) + sizeof significand, sizeof signAndExponent);
  const int shift = 63 - ((signAndExponent & 0x7FFF) - 16383);
  if (shift < 1) return nullptr;
  constexpr std::uint64_t unit = kPowersOfTen[Decimals];
  const unsigned __int128 product = static_cast<unsigned __int128>(significand) * unit;  // below 2^124
  std::uint64_t rounded = 0;  // what is left for shifts of 125 and more: less than a half
  if (shift < 125) {
    const unsigned __int128 quotient = product >> shift;
    if (quotient >> 63 != 0) return nullptr;
    const unsigned __int128 remainder = product - (quotient << shift);
    const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
    rounded = static_cast<std::uint64_t>(quotient);
    if (remainder > half || (remainder == half && (rounded & 1) != 0)) ++rounded;
  }
  const std::uint64_t integerPart = rounded / unit;
  const bool negative = (signAndExponent & 0x8000) != 0 && rounded != 0;
  const int integerDigits = DigitCount(integerPart);
  const int length = (negative ? 1 : 0) + integerDigits + (Decimals > 0 ? 1 + Decimals : 0);
  for (int pad = length; pad < width; ++pad) *out++ = ' ';
  char* const end = out + length;
  char* start = PutDigits(end, rounded % unit, Decimals);
  if (Decimals > 0) *--start = '.';
  start = PutDigits(start, integerPart, integerDigits);
  if (negative) *--start = '-';
  return end;
}

using QuickFixed = char* (*)(char*, Real, int);

template <std::size_t... Decimals>
constexpr std::array<QuickFixed, sizeof...(Decimals)> QuickFixedTable(std::index_sequence<Decimals...>) {
  return {&PutQuickFixed<static_cast<int>(Decimals)>...};
}

constexpr auto kQuickFixed = QuickFixedTable(std::make_index_sequence<kMaxQuickDecimals + 1>());

}  // namespace

char* PutFixed(char* out, Real x, int decimals, int width) {
  if (decimals < 0 || decimals > kMaxQuickDecimals) return nullptr;
  return kQuickFixed[static_cast<std::size_t>(decimals)](out, x, width);
}

void AppendFixed(std::string& text, Real x, int decimals) {
  char buffer[kPutFixedRoom + kMaxQuickDecimals];
  if (char* end = PutFixed(buffer, x, decimals, 0)) {
    text.append(buffer, static_cast<std::size_t>(end - buffer));
  } else if (std::isnan(x)) {
    text += "NaN";
  } else if (std::isinf(x)) {
    text += x < 0 ? "-Inf" : "Inf";
  } else {
    AppendExactFixed(text, x, decimals);
  }
}

std::string FormatFixed(Real x, int decimals, int width) {
  std::string text;
  AppendFixed(text, x, decimals);
  if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
  return text;
}

std::string FormatShortestReal(Real x) {
  std::array<char, 64> digits;
  auto [end, error] = std::to_chars(digits.data(), digits.data() + digits.size(), x);
  return error == std::errc() ? std::string(digits.data(), end) : std::string();
}

std::string FormatShortest(double x) {
  std::array<char, 64> digits;
  auto [end, error] = std::to_chars(digits.data(), digits.data() + digits.size(), x);
  return error == std::errc() ? std::string(digits.data(), end) : std::string();
}

}  // namespace vorn
