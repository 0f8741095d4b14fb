#include "pictures/support_colours.h"

#include <charconv>

namespace vorn {

std::optional<unsigned> SupportPercent(std::string_view label) {
  unsigned value = 0;
  const auto [end, error] = std::from_chars(label.data(), label.data() + label.size(), value);
  if (label.empty() || error != std::errc() || end != label.data() + label.size() || value > 100) return std::nullopt;
  return value;
}

Rgb SupportColour(unsigned percent) {
  if (percent >= 95) return GroupColour(0);       // blue
  if (percent >= 70) return GroupColour(2);       // bluish green
  if (percent >= 50) return GroupColour(4);       // orange
  return Rgb{0x99, 0x99, 0x99};                   // grey
}

}  // namespace vorn
