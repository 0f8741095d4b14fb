#include "matrix/replace_missing.h"

#include <algorithm>
#include <cassert>

namespace vorn {

void ReplaceMissing(std::span<const Cell> source, std::span<Cell> destination, double q, RandomGenerator& random) {
  assert(source.size() == destination.size());
  if (q == 0.0 || q == 1.0) {
    const Cell value = q == 1.0 ? Presence : Absence;
    std::transform(source.begin(), source.end(), destination.begin(),
                   [value](Cell cell) { return cell == Missing ? value : cell; });
    return;
  }
  const Real share = q;
  for (std::size_t k = 0; k < source.size(); ++k) {
    if (source[k] != Missing) {
      destination[k] = source[k];
    } else {
      destination[k] = random.NextReal() <= share ? Presence : Absence;
    }
  }
}

}  // namespace vorn
