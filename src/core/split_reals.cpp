#include "core/split_reals.h"

#include <cmath>
#include <mutex>

namespace vorn {
namespace {

// Guards the values kept whole of every store. They are rare (no coefficient's distance needs
// one), so one lock serves all stores and the common path takes none.
std::mutex wholeValues;

}  // namespace

void SplitReals::Set(std::size_t index, Real value) {
  const double nearest = static_cast<double>(value);
  nearest_[index] = nearest;
  const std::uint64_t exponent = (std::bit_cast<std::uint64_t>(nearest) & kExponentBits) >> 52;
  if (value == 0 || (exponent > 64 && exponent < 0x7FF)) {
    const Real unit = value == 0 ? 1 : static_cast<Real>(std::bit_cast<double>((exponent - 64) << 52));
    const Real count = (value - nearest) / unit;
    if (std::fabs(count) < -Real(kWhole) && count == std::trunc(count)) {
      remainder_[index] = static_cast<std::int16_t>(count);
      if (At(index) == value) return;
    }
  }
  // Never reached by the distances of the coefficients: kept whole.
  const std::lock_guard lock(wholeValues);
  whole_[index] = value;
  remainder_[index] = kWhole;
}

Real SplitReals::WholeAt(std::size_t index) const {
  const std::lock_guard lock(wholeValues);
  return whole_.at(index);
}

}  // namespace vorn
