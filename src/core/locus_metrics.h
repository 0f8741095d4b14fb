// The locus metrics a genotyping service reports with its markers (call rate, PIC,
// reproducibility, ...): the metric names and, per locus, one value of each. Values are kept
// locus by locus (values[l * MetricCount() + m]); a locus without a value of a metric holds NaN.
// Invariant: either there are no metrics (no names, no values) or values.size() equals
// MetricCount() times the loci of the matrix that holds them, in the matrix's locus order; every
// routine that removes, selects or reorders loci carries the metrics along with Kept or Picked.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/conventions.h"

namespace vorn {

struct LocusMetrics {
  std::vector<std::string> names;
  std::vector<Real> values;

  bool Empty() const { return names.empty(); }
  std::size_t MetricCount() const { return names.size(); }
  Real Value(std::size_t locus, std::size_t metric) const { return values[locus * names.size() + metric]; }
  // Position of the metric named name, or -1.
  long Find(std::string_view name) const;

  // The metrics of the loci marked true, in their order.
  LocusMetrics Kept(const std::vector<bool>& kept) const;
  // The metrics of the loci at the positions given, in that order.
  LocusMetrics Picked(const std::vector<std::size_t>& loci) const;

  // A NaN equals a NaN here, so that a matrix with metrics equals itself.
  bool operator==(const LocusMetrics& other) const;
};

// "0.95" for a value, "NA" for NaN: the shortest text that reads back as the same Real.
std::string MetricText(Real value);

}  // namespace vorn
