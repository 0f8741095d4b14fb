// The rarefied band richness curves of the last Analysis > Band Rarity and Richness, kept for
// their picture: per population its name, and Br(g) and private Br(g) for g = 2 .. the largest g.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorn {

struct RarefactionCurves {
  std::vector<std::string> populations;
  // richness[g − 2][j] and privateRichness[g − 2][j], j indexing populations
  std::vector<std::vector<double>> richness, privateRichness;
  std::uint64_t dataFingerprint = 0;  // of the working data when the analysis ended
};

}  // namespace vorn
