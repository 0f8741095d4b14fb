#include "diversity/shannon.h"

#include <cmath>

#include "core/number_format.h"

namespace vorn {
namespace {

const Real kLn2 = std::log(2.0L);

Real Log2(Real x) { return std::log(x) / kLn2; }

}  // namespace

Real ShannonTerm(Real p) { return p * Log2(p); }

Real ShannonIndex(std::span<const Real> frequencies) {
  Real sum = 0;
  for (Real p : frequencies) {
    if (p > 0) sum += ShannonTerm(p);
  }
  return -sum;
}

Result<ShannonVariance> ShannonBowman(std::size_t individualCount, std::span<const Real> frequencies) {
  if (individualCount == 0) return Failure{"Shannon's index needs at least one individual."};
  if (frequencies.empty()) return Failure{"Shannon's index needs at least one locus."};
  Real s1 = 0;
  Real s2 = 0;
  for (Real p : frequencies) {
    if (p <= 0) continue;
    const Real log2p = Log2(p);
    s1 += p * log2p;
    s2 += p * log2p * log2p;
  }
  const Real n = static_cast<Real>(individualCount);
  const Real l = static_cast<Real>(frequencies.size());
  const Real index = -s1;
  return ShannonVariance{index, (s2 - index * index) / n + (l - 1) / (2 * n * n)};
}

Result<Real> ToLogBase(Real x, const ShannonScaling& scaling) {
  switch (scaling.logBase) {
    case LogBase::Two: return x;
    case LogBase::E: return x * kLn2;
    case LogBase::Ten: return x * (kLn2 / std::log(10.0L));
    case LogBase::Other: break;
  }
  if (!(scaling.baseValue > 0) || scaling.baseValue == 1) {
    return Failure{"Logarithms to base A = " + FormatReal(scaling.baseValue) +
                   " do not exist. Please choose another base under Options > Shannon Scaling."};
  }
  return x * (kLn2 / std::log(scaling.baseValue));
}

Result<ShannonVariance> ToLogBase(const ShannonVariance& bits, const ShannonScaling& scaling) {
  const auto factor = ToLogBase(1, scaling);
  if (!factor) return Failure{factor.error()};
  return ShannonVariance{bits.index * *factor, bits.variance * *factor * *factor};
}

Real StandardDeviation(Real variance) { return variance > 0 ? std::sqrt(variance) : 0; }

}  // namespace vorn
