// The frequency of a dominant marker's null allele in one population from the number k of its n
// scored individuals that lack the band, by one of three estimators: the square root of k / n
// (with a given inbreeding coefficient F_IS), Lynch & Milligan's (1994) bias-corrected root, or
// Zhivotovsky's (1999) Bayesian posterior mean under a beta prior. Each estimate carries its
// variance, so that Hj = 2 q (1 − q) + 2 Var(q) serves them all. Estimates depend only on
// (n, k) and the population's prior, so a table of them serves every permutation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/conventions.h"
#include "diversity/population_diversity.h"

namespace vorn {

enum class NullAlleleMethod : std::uint8_t { SquareRoot = 0, LynchMilligan = 1, Bayesian = 2 };

struct NullAlleleSettings {
  NullAlleleMethod method = NullAlleleMethod::Bayesian;
  bool uniformPrior = false;              // Bayesian: the uniform prior instead of the estimated one
  Real inbreeding = 0;                    // F_IS, 0 for Hardy-Weinberg; 0 <= F_IS < 1
  Real absences = kLynchMilliganAbsences;  // Lynch & Milligan: a locus needs more absences than this
};

// The prior of Zhivotovsky's method: the band-absent phenotype's frequency R = q² is Beta(a, b)
// across loci; a = 1/2, b = 1 is the uniform prior of q.
struct BetaPrior {
  Real a = 0.5L;
  Real b = 1;
  bool estimated = false;  // false: uniform, chosen or because the data do not estimate one
};

// a and b by the moments of the absence shares x = k / n over the population's scored loci:
// with m their mean, s² their variance (divisor L − 1) and n̄ the mean of n, the intra-class
// correlation ρ = (s² / (m (1 − m)) − 1 / n̄) / (1 − 1 / n̄) gives a + b = 1 / ρ − 1, a = m (a + b).
// The uniform prior when fewer than two loci, m is 0 or 1, n̄ <= 1 or ρ is not in (0, 1).
BetaPrior EstimatePrior(const std::vector<std::uint32_t>& scored, const std::vector<std::uint32_t>& absent);

// Whether (n, k) gives an estimate: n >= 1, and with Lynch & Milligan k > the absence threshold.
bool Estimable(const NullAlleleSettings& settings, std::uint32_t n, std::uint32_t k);

// The estimate for k absences among n scored individuals (Estimable).
//   square root:  x = k / n, q = (−F + √(F² + 4 (1 − F) x)) / (2 (1 − F)),
//                 Var(q) = x (1 − x) / (n (F² + 4 (1 − F) x))   ((1 − x) / (4 n) for F = 0)
//   Lynch & Milligan: LynchMilliganNullAllele(k / n, n)
//   Bayesian:     R | k ~ Beta(k + a, n − k + b); q = √R:
//                 E q = B(k + a + 1/2, n − k + b) / B(k + a, n − k + b),
//                 Var q = (k + a) / (n + a + b) − (E q)²
NullAlleleEstimate EstimateNullAllele(const NullAlleleSettings& settings, const BetaPrior& prior, std::uint32_t n,
                                      std::uint32_t k);

// The estimates of one population for every n <= size that its scored counts can take (all of
// them when missing scores are possible, else only n = size) and every k <= n, with the
// per-locus values the F_ST sums need: q, Var(q) and Hj = 2 q (1 − q) + 2 Var(q).
class NullAlleleTable {
 public:
  struct Entry {
    Real q = 0, variance = 0, hj = 0;
    bool estimable = false;
  };
  // The same rounded to doubles, packed close for the permuted statistics, which are only
  // compared with the observed one within a tolerance far above a double's rounding.
  struct Rounded {
    double q = 0, variance = 0, hj = 0;
    bool estimable = false;
  };

  NullAlleleTable(const NullAlleleSettings& settings, const BetaPrior& prior, std::uint32_t size, bool missingScores);

  const Entry& At(std::uint32_t n, std::uint32_t k) const { return entries_[RowStart(n) + k]; }
  const Rounded& RoundedAt(std::uint32_t n, std::uint32_t k) const { return rounded_[RowStart(n) + k]; }

 private:
  std::size_t RowStart(std::uint32_t n) const { return allRows_ ? std::size_t{n} * (n + 1) / 2 : 0; }

  bool allRows_;
  std::vector<Entry> entries_;
  std::vector<Rounded> rounded_;
};

// "square root", "Lynch & Milligan", "Bayesian (Zhivotovsky)".
std::string NullAlleleMethodName(NullAlleleMethod method);

}  // namespace vorn
