#include "differentiation/locus_columns.h"

#include "core/band_state.h"

namespace vorn {

LocusColumns::LocusColumns(const DataMatrix& data, const std::vector<std::uint32_t>& individuals)
    : loci_(data.locusCount), words_((individuals.size() + 63) / 64) {
  present_.assign(loci_ * words_, 0);
  scored_.assign(loci_ * words_, 0);
  presentTotal_.assign(loci_, 0);
  scoredTotal_.assign(loci_, 0);
  for (std::size_t l = 0; l < loci_; ++l) {
    for (std::size_t s = 0; s < individuals.size(); ++s) {
      const Cell cell = data.At(individuals[s], l);
      const std::uint64_t bit = std::uint64_t{1} << (s % 64);
      if (cell == Presence) present_[l * words_ + s / 64] |= bit, ++presentTotal_[l];
      if (cell == Presence || cell == Absence) scored_[l * words_ + s / 64] |= bit, ++scoredTotal_[l];
      else missing_ = true;
    }
  }
}

std::vector<std::uint64_t> PlaceMask(const std::uint32_t* places, std::size_t count, std::size_t words) {
  std::vector<std::uint64_t> mask(words, 0);
  for (std::size_t k = 0; k < count; ++k) mask[places[k] / 64] |= std::uint64_t{1} << (places[k] % 64);
  return mask;
}

namespace {

template <typename Count>
inline void CountColumns(const LocusColumns& columns, const std::uint64_t* masks, std::size_t populations,
                         std::uint32_t* presentCounts, std::uint32_t* scoredCounts, Count count) {
  const std::size_t words = columns.Words(), P = populations;
  for (std::size_t l = 0; l < columns.Loci(); ++l) {
    const std::uint64_t* present = columns.Present(l);
    const std::uint64_t* scored = columns.Scored(l);
    std::uint32_t* presentOut = presentCounts + l * P;
    std::uint32_t presentRest = columns.PresentTotal(l), scoredRest = columns.ScoredTotal(l);
    for (std::size_t j = 0; j + 1 < P; ++j) {
      const std::uint64_t* mask = masks + j * words;
      std::uint32_t p = 0;
      for (std::size_t w = 0; w < words; ++w) p += count(present[w] & mask[w]);
      presentOut[j] = p;
      presentRest -= p;
      if (!scoredCounts) continue;
      std::uint32_t n = 0;
      for (std::size_t w = 0; w < words; ++w) n += count(scored[w] & mask[w]);
      scoredCounts[l * P + j] = n;
      scoredRest -= n;
    }
    presentOut[P - 1] = presentRest;
    if (scoredCounts) scoredCounts[l * P + P - 1] = scoredRest;
  }
}

void PlainCount(const LocusColumns& columns, const std::uint64_t* masks, std::size_t populations,
                std::uint32_t* presentCounts, std::uint32_t* scoredCounts) {
  CountColumns(columns, masks, populations, presentCounts, scoredCounts,
               [](std::uint64_t x) { return static_cast<std::uint32_t>(std::popcount(x)); });
}

// The same body: inlined here, std::popcount becomes the popcnt instruction.
[[gnu::target("popcnt")]] void PopcntCount(const LocusColumns& columns, const std::uint64_t* masks,
                                           std::size_t populations, std::uint32_t* presentCounts,
                                           std::uint32_t* scoredCounts) {
  CountColumns(columns, masks, populations, presentCounts, scoredCounts,
               [](std::uint64_t x) { return static_cast<std::uint32_t>(std::popcount(x)); });
}

}  // namespace

LocusCounter PlainLocusCounter() { return PlainCount; }

LocusCounter PopcntLocusCounter() { return __builtin_cpu_supports("popcnt") ? PopcntCount : nullptr; }

LocusCounter ChosenLocusCounter() {
  static const LocusCounter chosen = PopcntLocusCounter() ? PopcntLocusCounter() : PlainLocusCounter();
  return chosen;
}

}  // namespace vorn
