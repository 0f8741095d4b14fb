#include "clustering/score_table.h"

namespace vorn {

Result<FittedScores> ScoresToFit(const DataMatrix& data) {
  FittedScores fitted;
  const std::size_t n = data.individualCount, loci = data.locusCount;
  for (std::size_t i = 0; i < n; ++i) {
    if (data.IndividualStateCount(i, Missing) == loci) fitted.leftOut.push_back(data.individualLabels[i]);
    else fitted.kept.push_back(static_cast<std::uint32_t>(i));
  }
  if (fitted.kept.size() < 2) {
    return Failure{"Population structure needs at least two individuals with a score; " +
                   std::to_string(fitted.kept.size()) + " of " + std::to_string(n) + " have one."};
  }
  ScoreTable& table = fitted.table;
  table.individuals = fitted.kept.size();
  table.loci = loci;
  table.scores.resize(table.individuals * loci);
  for (std::size_t l = 0; l < loci; ++l) {
    const Cell* column = data.Locus(l);
    bool band = false, noBand = false;
    for (std::size_t row = 0; row < fitted.kept.size(); ++row) {
      const Cell cell = column[fitted.kept[row]];
      band = band || cell == Presence;
      noBand = noBand || cell == Absence;
      table.scores[row * loci + l] = cell == Presence ? kBand : cell == Absence ? kNoBand : kUnscored;
    }
    fitted.polymorphicLoci += band && noBand;
  }
  if (fitted.polymorphicLoci < 2) {
    return Failure{"Population structure needs at least two polymorphic loci (scored with and without the band); "
                   "there " + std::string(fitted.polymorphicLoci == 1 ? "is 1" : "are 0") + "."};
  }
  return fitted;
}

}  // namespace vorn
