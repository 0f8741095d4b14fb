// Distance classes of the pairs of individuals for the spatial autocorrelation: classes of even
// width from 0 to the largest distance, classes of (as near as ties allow) even pair counts, or
// upper bounds the user gives. Class h holds the pairs with b(h-1) < d <= b(h), the first class
// from d = 0; with bounds given, pairs beyond the last bound belong to no class.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/conventions.h"
#include "core/result.h"

namespace vorn {

enum class ClassRule { EvenWidths, EvenPairs, Bounds };

inline constexpr std::size_t kMaxDistanceClasses = 100;
// The class of a pair beyond the last bound.
inline constexpr std::uint8_t kNoClass = 0xff;

struct ClassChoice {
  ClassRule rule = ClassRule::EvenWidths;
  std::size_t count = 10;     // classes of the even rules, 1 to kMaxDistanceClasses
  std::vector<Real> bounds;   // upper bounds of the Bounds rule, rising
};

struct DistanceClasses {
  std::vector<Real> upper;               // the upper bound of each class
  std::vector<std::uint8_t> classOf;     // per pair of the strict lower triangle, or kNoClass
  std::vector<std::size_t> pairs;        // pairs in each class
  std::vector<Real> meanDistance;        // the mean geographic distance of each class's pairs
  std::size_t leftOut = 0;               // pairs beyond the last bound

  std::size_t Count() const { return upper.size(); }
};

// The classes of the pairs' geographic distances (strict lower triangle). Fails when every
// distance is 0 (all individuals at one place), when a distance is not a finite number, on bounds
// that do not rise or are negative, and when a class holds no pair, naming it and its bounds.
Result<DistanceClasses> MakeDistanceClasses(const std::vector<Real>& geographic, const ClassChoice& choice);

// "class 3 (10 < d <= 20)", "class 1 (d <= 10)": a class named in messages.
std::string ClassName(const DistanceClasses& classes, std::size_t h);

}  // namespace vorn
