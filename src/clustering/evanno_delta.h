// Evanno, Regnaut & Goudet's (2005) choice of K from the runs' log-likelihoods:
// dK(K) = mean_r |L_r(K + 1) - 2 L_r(K) + L_r(K - 1)| / sd_r L(K), run r of each K paired with
// run r of its neighbours, sd the sample standard deviation over the runs. Undefined at the
// smallest and largest K and where sd = 0. A positive sd below the fit's tolerance counts as the
// tolerance: runs that converged to one optimum differ only by what the fit does not resolve,
// and dividing by that difference would make dK a measure of rounding.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace vorn {

struct EvannoRow {
  double mean = 0;
  double sd = 0;                  // 0 with one run
  std::optional<double> deltaK;  // nothing where undefined
  std::string undefinedBecause;  // "smallest K", "largest K", "sd = 0"
};

// logLikelihoods[j][r]: run r of the j-th K of consecutive Ks, every K with the same runs.
// tolerance: the convergence tolerance of the runs' fits.
std::vector<EvannoRow> EvannoTable(const std::vector<std::vector<double>>& logLikelihoods, double tolerance);

// The row of the largest dK (the first on a tie); nothing when none is defined.
std::optional<std::size_t> LargestDelta(const std::vector<EvannoRow>& rows);

}  // namespace vorn
