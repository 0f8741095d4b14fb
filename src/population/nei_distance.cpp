#include "population/nei_distance.h"

#include <cmath>
#include <limits>

namespace vorn {
namespace {

// Nei's unbiased homozygosity of one locus: (2n Σ x² − 1) / (2n − 1).
Real Homozygosity(Real q, Real n) { return (2 * n * (q * q + (1 - q) * (1 - q)) - 1) / (2 * n - 1); }

}  // namespace

NeiValues NeiUnbiased(const BandTally& x, const BandTally& y) {
  NeiValues values;
  Real jx = 0, jy = 0, jxy = 0;
  for (std::size_t l = 0; l < x.Loci(); ++l) {
    if (x.scored[l] == 0 || y.scored[l] == 0) continue;
    const Real qx = x.NullAllele(l), qy = y.NullAllele(l);
    jx += Homozygosity(qx, x.scored[l]);
    jy += Homozygosity(qy, y.scored[l]);
    jxy += qx * qy + (1 - qx) * (1 - qy);
    ++values.loci;
  }
  if (values.loci == 0) {
    values.identity = values.distance = std::numeric_limits<Real>::quiet_NaN();
    return values;
  }
  // The means' common divisor cancels in the ratio.
  values.identity = jxy / std::sqrt(jx * jy);
  values.distance = -std::log(values.identity);
  return values;
}

std::string NeiUndefinedCause(const NeiValues& values) {
  if (values.loci == 0) return "no locus is scored in both";
  if (!std::isfinite(values.distance)) return "their identity is 0";
  return "";
}

}  // namespace vorn
