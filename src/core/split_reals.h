// Extended reals kept in 10 bytes each rather than 16, for the large triangles of pair values:
// the nearest double, which fast scans read in place, and the remainder, exact.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "core/conventions.h"

namespace vorn {

// Each value is its nearest double plus the remainder, which has at most 12 significant bits and
// is kept as an integer count of 2^(E - 64), E the double's binary exponent. Every finite value
// between 2^-958 and the largest double splits so; any other value is kept whole beside them.
class SplitReals {
 public:
  SplitReals() = default;
  explicit SplitReals(std::size_t count) : nearest_(count), remainder_(count) {}

  std::size_t Count() const { return nearest_.size(); }
  // Stores the value at index. Distinct indices may be stored and read from several threads at
  // once (the caller's threads, whatever the library was compiled with).
  void Set(std::size_t index, Real value);
  Real At(std::size_t index) const {
    if (remainder_[index] == kWhole) return WholeAt(index);
    const auto bits = std::bit_cast<std::uint64_t>(nearest_[index]) & kExponentBits;
    const Real unit = std::bit_cast<double>(bits - (std::uint64_t{64} << 52));
    return static_cast<Real>(nearest_[index]) + static_cast<Real>(remainder_[index]) * unit;
  }
  // Every value rounded to the nearest double, in index order.
  const double* Nearest() const { return nearest_.data(); }

 private:
  static constexpr std::int16_t kWhole = INT16_MIN;  // the value is in whole_
  static constexpr std::uint64_t kExponentBits = std::uint64_t{0x7FF} << 52;

  Real WholeAt(std::size_t index) const;

  std::vector<double> nearest_;
  std::vector<std::int16_t> remainder_;
  std::unordered_map<std::size_t, Real> whole_;
};

}  // namespace vorn
