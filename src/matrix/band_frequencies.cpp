#include "matrix/band_frequencies.h"

#include "matrix/band_counts.h"

namespace vorn {
namespace {

// presences / divisor for each row, or the failure when a row does not add up to length.
Result<std::vector<Real>> Frequencies(const std::vector<BandCounts>& counts, std::size_t length, std::size_t divisor,
                                      const char* error) {
  std::vector<Real> frequencies(counts.size());
  for (std::size_t row = 0; row < counts.size(); ++row) {
    if (counts[row].Scored() != length) return Failure{error};
    frequencies[row] = divisor == 0 ? 0.0L : static_cast<Real>(counts[row].presences) / static_cast<Real>(divisor);
  }
  return frequencies;
}

}  // namespace

Result<std::vector<Real>> LocusBandFrequencies(const DataMatrix& matrix, FrequencyBasis basis) {
  const std::vector<BandCounts> counts = CountRows(matrix, RowKind::Loci);
  std::size_t divisor = matrix.individualCount;
  if (basis == FrequencyBasis::RelativeToAllPresences) {
    divisor = 0;
    for (const BandCounts& locus : counts) divisor += locus.presences;
  }
  return Frequencies(counts, matrix.individualCount, divisor, kLocusFrequencyError);
}

Result<std::vector<Real>> IndividualBandFrequencies(const DataMatrix& matrix) {
  return Frequencies(CountRows(matrix, RowKind::Individuals), matrix.locusCount, matrix.locusCount, kIndividualFrequencyError);
}

}  // namespace vorn
