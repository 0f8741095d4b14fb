#include "core/locus_metrics.h"

#include <algorithm>
#include <cmath>

#include "core/number_format.h"

namespace vorn {

long LocusMetrics::Find(std::string_view name) const {
  const auto found = std::find(names.begin(), names.end(), name);
  return found == names.end() ? -1 : static_cast<long>(found - names.begin());
}

LocusMetrics LocusMetrics::Kept(const std::vector<bool>& kept) const {
  std::vector<std::size_t> loci;
  for (std::size_t locus = 0; locus < kept.size(); ++locus) {
    if (kept[locus]) loci.push_back(locus);
  }
  return Picked(loci);
}

LocusMetrics LocusMetrics::Picked(const std::vector<std::size_t>& loci) const {
  if (Empty()) return {};
  LocusMetrics picked{names, {}};
  picked.values.reserve(loci.size() * names.size());
  for (std::size_t locus : loci) {
    const auto first = values.begin() + static_cast<std::ptrdiff_t>(locus * names.size());
    picked.values.insert(picked.values.end(), first, first + static_cast<std::ptrdiff_t>(names.size()));
  }
  return picked;
}

bool LocusMetrics::operator==(const LocusMetrics& other) const {
  if (names != other.names || values.size() != other.values.size()) return false;
  for (std::size_t i = 0; i < values.size(); ++i) {
    const Real a = values[i], b = other.values[i];
    if (!(a == b || (std::isnan(a) && std::isnan(b)))) return false;
  }
  return true;
}

std::string MetricText(Real value) { return std::isnan(value) ? "NA" : FormatShortestReal(value); }

}  // namespace vorn
