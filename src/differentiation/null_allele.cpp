#include "differentiation/null_allele.h"

#include <cmath>

#include "distributions/gamma_functions.h"

namespace vorn {

BetaPrior EstimatePrior(const std::vector<std::uint32_t>& scored, const std::vector<std::uint32_t>& absent) {
  Real sum = 0, sumN = 0;
  std::size_t loci = 0;
  for (std::size_t l = 0; l < scored.size(); ++l) {
    if (scored[l] == 0) continue;
    sum += Real(absent[l]) / Real(scored[l]);
    sumN += Real(scored[l]);
    ++loci;
  }
  const BetaPrior uniform;
  if (loci < 2) return uniform;
  const Real L = Real(loci), m = sum / L, meanN = sumN / L;
  Real squares = 0;
  for (std::size_t l = 0; l < scored.size(); ++l) {
    if (scored[l] == 0) continue;
    const Real d = Real(absent[l]) / Real(scored[l]) - m;
    squares += d * d;
  }
  if (m <= 0 || m >= 1 || meanN <= 1) return uniform;
  const Real s2 = squares / (L - 1);
  const Real rho = (s2 / (m * (1 - m)) - 1 / meanN) / (1 - 1 / meanN);
  if (!(rho > 0 && rho < 1)) return uniform;
  const Real total = 1 / rho - 1;
  return {m * total, (1 - m) * total, true};
}

bool Estimable(const NullAlleleSettings& settings, std::uint32_t n, std::uint32_t k) {
  if (n == 0) return false;
  return settings.method != NullAlleleMethod::LynchMilligan || Real(k) > settings.absences;
}

NullAlleleEstimate EstimateNullAllele(const NullAlleleSettings& settings, const BetaPrior& prior, std::uint32_t n,
                                      std::uint32_t k) {
  const Real N = Real(n), x = Real(k) / N;
  switch (settings.method) {
    case NullAlleleMethod::LynchMilligan: return LynchMilliganNullAllele(x, N);
    case NullAlleleMethod::Bayesian: {
      const Real a = Real(k) + prior.a, b = Real(n - k) + prior.b;
      const Real q = std::exp(LogGamma(a + 0.5L) + LogGamma(a + b) - LogGamma(a) - LogGamma(a + b + 0.5L));
      return {q, a / (a + b) - q * q};
    }
    case NullAlleleMethod::SquareRoot: break;
  }
  const Real F = settings.inbreeding;
  if (F == 0) return {std::sqrt(x), (1 - x) / (4 * N)};
  const Real root = std::sqrt(F * F + 4 * (1 - F) * x);
  return {(root - F) / (2 * (1 - F)), x * (1 - x) / (N * root * root)};
}

NullAlleleTable::NullAlleleTable(const NullAlleleSettings& settings, const BetaPrior& prior, std::uint32_t size,
                                 bool missingScores)
    : allRows_(missingScores) {
  const auto fill = [&](std::uint32_t n) {
    for (std::uint32_t k = 0; k <= n; ++k) {
      Entry entry;
      entry.estimable = Estimable(settings, n, k);
      if (entry.estimable) {
        const NullAlleleEstimate e = EstimateNullAllele(settings, prior, n, k);
        entry.q = e.q;
        entry.variance = e.variance;
        entry.hj = 2 * e.q * (1 - e.q) + 2 * e.variance;
      }
      entries_.push_back(entry);
      rounded_.push_back({double(entry.q), double(entry.variance), double(entry.hj), entry.estimable});
    }
  };
  if (!allRows_) {
    fill(size);
    return;
  }
  for (std::uint32_t n = 0; n <= size; ++n) fill(n);
}

std::string NullAlleleMethodName(NullAlleleMethod method) {
  switch (method) {
    case NullAlleleMethod::LynchMilligan: return "Lynch & Milligan";
    case NullAlleleMethod::Bayesian: return "Bayesian (Zhivotovsky)";
    case NullAlleleMethod::SquareRoot: break;
  }
  return "square root";
}

}  // namespace vorn
