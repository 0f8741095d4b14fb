#include "core/number_format.h"

#include <array>
#include <charconv>

namespace vorn {

std::string FormatFixed(Real x, int decimals, int width) {
  // Fixed notation of the largest extended reals runs to almost 5000 digits.
  std::string text(128, '\0');
  for (;;) {
    auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), x, std::chars_format::fixed, decimals);
    if (error == std::errc()) {
      text.resize(static_cast<std::size_t>(end - text.data()));
      break;
    }
    text.resize(text.size() * 8);
  }
  if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
  return text;
}

std::string FormatShortest(double x) {
  std::array<char, 64> digits;
  auto [end, error] = std::to_chars(digits.data(), digits.data() + digits.size(), x);
  return error == std::errc() ? std::string(digits.data(), end) : std::string();
}

}  // namespace vorn
