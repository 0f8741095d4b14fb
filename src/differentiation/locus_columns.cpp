#include "differentiation/locus_columns.h"

#include "core/band_state.h"

namespace vorn {

LocusColumns::LocusColumns(const DataMatrix& data, const std::vector<std::uint32_t>& individuals)
    : loci_(data.locusCount), words_((individuals.size() + 63) / 64) {
  present_.assign(loci_ * words_, 0);
  scored_.assign(loci_ * words_, 0);
  for (std::size_t l = 0; l < loci_; ++l) {
    for (std::size_t s = 0; s < individuals.size(); ++s) {
      const Cell cell = data.At(individuals[s], l);
      const std::uint64_t bit = std::uint64_t{1} << (s % 64);
      if (cell == Presence) present_[l * words_ + s / 64] |= bit;
      if (cell == Presence || cell == Absence) scored_[l * words_ + s / 64] |= bit;
      else missing_ = true;
    }
  }
}

std::vector<std::uint64_t> PlaceMask(const std::uint32_t* places, std::size_t count, std::size_t words) {
  std::vector<std::uint64_t> mask(words, 0);
  for (std::size_t k = 0; k < count; ++k) mask[places[k] / 64] |= std::uint64_t{1} << (places[k] % 64);
  return mask;
}

}  // namespace vorn
