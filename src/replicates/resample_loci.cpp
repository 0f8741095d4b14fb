#include "replicates/resample_loci.h"

#include <algorithm>

namespace vorn {

void DrawLoci(std::size_t locusCount, RandomGenerator& random, std::vector<std::uint32_t>& drawn) {
  drawn.resize(locusCount);
  for (auto& locus : drawn) locus = random.NextBelow(static_cast<std::uint32_t>(locusCount));
}

void ResampleLoci(const Cell* source, Cell* target, std::size_t individualCount, std::size_t locusCount,
                  RandomGenerator& random) {
  std::vector<std::uint32_t> drawn;
  DrawLoci(locusCount, random, drawn);
  if (individualCount == 0) return;
  for (std::size_t locus = 0; locus < drawn.size(); ++locus) {
    std::copy_n(source + drawn[locus] * individualCount, individualCount, target + locus * individualCount);
  }
}

}  // namespace vorn
