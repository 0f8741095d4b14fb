#include "clustering/assignment_frequencies.h"

namespace vorn {

Real AbsenceProbability(std::uint32_t absent, std::uint32_t scored) {
  const Real n = scored;
  if (absent == 0) return 1 / (n + 1);
  if (absent == scored) return n / (n + 1);
  return Real(absent) / n;
}

}  // namespace vorn
