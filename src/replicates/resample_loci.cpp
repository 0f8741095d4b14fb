#include "replicates/resample_loci.h"

#include <algorithm>
#include <cstdint>

namespace vorn {

void ResampleLoci(const Cell* source, Cell* target, std::size_t individualCount, std::size_t locusCount,
                  RandomGenerator& random) {
  for (std::size_t locus = 0; locus < locusCount; ++locus) {
    const std::size_t drawn = random.NextBelow(static_cast<std::uint32_t>(locusCount));
    std::copy_n(source + drawn * individualCount, individualCount, target + locus * individualCount);
  }
}

}  // namespace vorn
