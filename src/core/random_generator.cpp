#include "core/random_generator.h"

#include <chrono>

namespace vorn {
std::uint32_t SeedFromClock() {
  const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  return static_cast<std::uint32_t>(ticks);
}

}  // namespace vorn
