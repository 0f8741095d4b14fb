#include "core/number_input.h"

#include <charconv>
#include <string>

namespace vorn {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The text without surrounding blanks and without a leading "+", split into its mantissa and
// its exponent; nothing when it is not a number of the accepted form.
struct NumberParts {
  std::string mantissa;  // sign, digits and point
  long exponent = 0;
};

std::optional<NumberParts> Split(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  NumberParts parts;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') parts.mantissa += '-';
    ++i;
  }
  std::size_t digits = 0;
  bool point = false;
  for (; i < text.size(); ++i) {
    if (IsDigit(text[i])) {
      ++digits;
    } else if (text[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
    parts.mantissa += text[i];
  }
  if (digits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return std::nullopt;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
      // Beyond any representable magnitude the exact value no longer matters.
      if (parts.exponent < 100000) parts.exponent = parts.exponent * 10 + (text[i] - '0');
    }
    if (negative) parts.exponent = -parts.exponent;
  }
  if (i != text.size()) return std::nullopt;
  return parts;
}

template <typename T>
std::optional<T> Convert(const NumberParts& parts) {
  const std::string text = parts.mantissa + "e" + std::to_string(parts.exponent);
  T value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

std::optional<Real> ParseReal(std::string_view text) {
  const auto parts = Split(text);
  if (!parts) return std::nullopt;
  return Convert<Real>(*parts);
}

std::optional<double> ParsePercentAsFraction(std::string_view text) {
  auto parts = Split(text);
  if (!parts) return std::nullopt;
  parts->exponent -= 2;
  return Convert<double>(*parts);
}

}  // namespace vorn
