#include "distributions/corrected_p.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace vorn {
namespace {

// The positions of the defined values, ordered by value (ties in the order of the entries).
std::vector<std::size_t> DefinedByValue(const std::vector<Real>& p) {
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < p.size(); ++i) {
    if (!std::isnan(p[i])) order.push_back(i);
  }
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return p[a] < p[b]; });
  return order;
}

}  // namespace

std::size_t FamilySize(const std::vector<Real>& p) {
  return static_cast<std::size_t>(std::count_if(p.begin(), p.end(), [](Real x) { return !std::isnan(x); }));
}

std::vector<Real> HolmCorrected(const std::vector<Real>& p) {
  std::vector<Real> corrected = p;
  const std::vector<std::size_t> order = DefinedByValue(p);
  const Real m = static_cast<Real>(order.size());
  Real running = 0;
  for (std::size_t j = 0; j < order.size(); ++j) {
    running = std::max(running, std::min<Real>(1, (m - Real(j)) * p[order[j]]));
    corrected[order[j]] = running;
  }
  return corrected;
}

std::vector<Real> BenjaminiHochbergCorrected(const std::vector<Real>& p) {
  std::vector<Real> corrected = p;
  const std::vector<std::size_t> order = DefinedByValue(p);
  const Real m = static_cast<Real>(order.size());
  Real running = 1;
  for (std::size_t j = order.size(); j-- > 0;) {
    running = std::min(running, m * p[order[j]] / Real(j + 1));
    corrected[order[j]] = running;
  }
  return corrected;
}

}  // namespace vorn
