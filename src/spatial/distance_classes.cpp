#include "spatial/distance_classes.h"

#include <algorithm>
#include <cmath>

#include "core/number_format.h"

namespace vorn {
namespace {

// The upper bounds of the even rules; the last is the largest distance itself.
std::vector<Real> EvenWidthBounds(Real largest, std::size_t count) {
  std::vector<Real> upper(count);
  for (std::size_t h = 0; h + 1 < count; ++h) upper[h] = largest * static_cast<Real>(h + 1) / static_cast<Real>(count);
  upper[count - 1] = largest;
  return upper;
}

// Bound h is the distance of the pair ranked round((h + 1) m / count) in ascending order, so that
// pairs tied with it join its class: classes as even as the ties allow.
std::vector<Real> EvenPairBounds(const std::vector<Real>& geographic, std::size_t count) {
  std::vector<Real> sorted(geographic);
  std::sort(sorted.begin(), sorted.end());
  const std::size_t m = sorted.size();
  std::vector<Real> upper(count);
  for (std::size_t h = 0; h < count; ++h) {
    const std::size_t rank = std::max<std::size_t>(1, ((h + 1) * m + count / 2) / count);
    upper[h] = sorted[rank - 1];
  }
  upper[count - 1] = sorted.back();
  return upper;
}

Status CheckBounds(const std::vector<Real>& bounds) {
  if (bounds.empty() || bounds.size() > kMaxDistanceClasses) {
    return Failure{"Give from 1 to " + std::to_string(kMaxDistanceClasses) + " upper bounds of the distance classes; " +
                   std::to_string(bounds.size()) + " were given."};
  }
  for (std::size_t h = 0; h < bounds.size(); ++h) {
    if (!std::isfinite(bounds[h]) || bounds[h] < 0) {
      return Failure{"The upper bound " + std::to_string(h + 1) + " of the distance classes, " + FormatShortest(double(bounds[h])) +
                     ", is not a distance (a number from 0 up)."};
    }
    if (h > 0 && !(bounds[h] > bounds[h - 1])) {
      return Failure{"The upper bounds of the distance classes must rise: " + FormatShortest(double(bounds[h])) +
                     " follows " + FormatShortest(double(bounds[h - 1])) + "."};
    }
  }
  return Success();
}

}  // namespace

std::string ClassName(const DistanceClasses& classes, std::size_t h) {
  const std::string upper = FormatShortest(double(classes.upper[h]));
  return "class " + std::to_string(h + 1) + " (" +
         (h == 0 ? "d <= " + upper : FormatShortest(double(classes.upper[h - 1])) + " < d <= " + upper) + ")";
}

Result<DistanceClasses> MakeDistanceClasses(const std::vector<Real>& geographic, const ClassChoice& choice) {
  if (std::any_of(geographic.begin(), geographic.end(), [](Real d) { return !std::isfinite(d); })) {
    return Failure{"A geographic distance is not a number."};
  }
  const Real largest = geographic.empty() ? 0 : *std::max_element(geographic.begin(), geographic.end());
  if (!(largest > 0)) {
    return Failure{"All individuals lie at one place (every geographic distance is 0): there are no distance classes."};
  }
  DistanceClasses classes;
  if (choice.rule == ClassRule::Bounds) {
    if (const Status checked = CheckBounds(choice.bounds); !checked) return Failure{checked.error()};
    classes.upper = choice.bounds;
  } else {
    if (choice.count < 1 || choice.count > kMaxDistanceClasses) {
      return Failure{"The number of distance classes must be from 1 to " + std::to_string(kMaxDistanceClasses) + "."};
    }
    classes.upper = choice.rule == ClassRule::EvenWidths ? EvenWidthBounds(largest, choice.count)
                                                         : EvenPairBounds(geographic, choice.count);
  }
  const std::size_t count = classes.upper.size();
  classes.pairs.assign(count, 0);
  classes.meanDistance.assign(count, 0);
  classes.classOf.resize(geographic.size());
  for (std::size_t k = 0; k < geographic.size(); ++k) {
    const auto h = static_cast<std::size_t>(std::lower_bound(classes.upper.begin(), classes.upper.end(), geographic[k]) -
                                            classes.upper.begin());
    if (h == count) {
      classes.classOf[k] = kNoClass;
      ++classes.leftOut;
      continue;
    }
    classes.classOf[k] = static_cast<std::uint8_t>(h);
    ++classes.pairs[h];
    classes.meanDistance[h] += geographic[k];
  }
  for (std::size_t h = 0; h < count; ++h) {
    if (classes.pairs[h] == 0) {
      return Failure{"Distance " + ClassName(classes, h) + " holds no pair of individuals; choose " +
                     (choice.rule == ClassRule::Bounds ? "other bounds." : "fewer classes.")};
    }
    classes.meanDistance[h] /= static_cast<Real>(classes.pairs[h]);
  }
  return classes;
}

}  // namespace vorn
