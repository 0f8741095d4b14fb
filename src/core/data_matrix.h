// The band matrix: N individuals by L loci of BandState cells in the locus-major layout
// (individual i at locus l at l * N + i), with its two label tables.
// Invariant: cells.size() == N * L; each label table is empty or holds exactly N (or L) labels;
// the locus metrics are empty or hold each metric for each of the L loci.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/band_state.h"
#include "core/conventions.h"
#include "core/label_table.h"
#include "core/locus_metrics.h"

namespace vorn {

inline constexpr std::size_t kMaxDimension = 65535;

struct DataMatrix {
  std::uint16_t individualCount = 0;
  std::uint16_t locusCount = 0;
  std::vector<Cell> cells;
  LabelTable individualLabels;
  LabelTable locusLabels;
  LocusMetrics locusMetrics;  // empty unless the data came with a service's locus metrics

  std::size_t CellCount() const { return std::size_t{individualCount} * locusCount; }
  std::size_t Position(std::size_t individual, std::size_t locus) const {
    return locus * individualCount + individual;
  }
  Cell At(std::size_t individual, std::size_t locus) const { return cells[Position(individual, locus)]; }
  const Cell* Locus(std::size_t locus) const { return cells.data() + locus * individualCount; }

  // Number of individuals whose score at locus is state.
  std::size_t LocusStateCount(std::size_t locus, Cell state) const;
  // Number of loci at which individual scores state.
  std::size_t IndividualStateCount(std::size_t individual, Cell state) const;
  // Shares of missing scores, reals in [0, 1].
  Real IndividualMissingShare(std::size_t individual) const;
  Real LocusMissingShare(std::size_t locus) const;

  bool operator==(const DataMatrix&) const = default;
};

// 64 bits of the counts, the cells and both label tables (core/fingerprint.h): tells a result
// computed from the working data whether they are still the same.
std::uint64_t Fingerprint(const DataMatrix& matrix);

// 1-based position of the first individual labelled name, 0 when there is none.
std::size_t IndividualIndex(const DataMatrix& matrix, std::string_view name);

// One byte per label: 1 where the label is among names, 0 elsewhere; memberCount counts the 1s.
struct MembershipMaskResult {
  std::vector<std::uint8_t> mask;
  std::size_t memberCount = 0;
};
MembershipMaskResult MembershipMask(const LabelTable& labels, const std::vector<std::string>& names);

}  // namespace vorn
