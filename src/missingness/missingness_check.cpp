#include "missingness/missingness_check.h"

#include <algorithm>
#include <cmath>

#include "core/number_format.h"
#include "matrix/band_counts.h"

namespace vorn {
namespace {

constexpr const char* kAdvice = ": consider removing individuals or loci with most missing scores";

std::string Verdict(const std::string& subject, const std::string& follow, const std::string& name, Real value,
                    Real p, std::int32_t permutations) {
  if (permutations == 0) return subject + ": " + name + " = " + FormatFixed(value, 2) + " (no permutation test)";
  const std::string statistic = "(" + name + " = " + FormatFixed(value, 2) + ", p = " + FormatFixed(p, 3) + ")";
  if (FollowsMissingData(p, permutations)) return subject + " " + follow + " missing data " + statistic + kAdvice;
  return subject + " " + (follow == "follows" ? "does not follow" : "do not follow") + " missing data " + statistic;
}

}  // namespace

std::vector<Real> IndividualMissingShares(const DataMatrix& data) {
  const std::vector<BandCounts> counts = CountRows(data, RowKind::Individuals);
  std::vector<Real> shares(counts.size());
  for (std::size_t i = 0; i < counts.size(); ++i) {
    shares[i] = static_cast<Real>(counts[i].missing) / static_cast<Real>(data.locusCount);
  }
  return shares;
}

bool FollowsMissingData(Real p, std::int32_t permutations) { return permutations > 0 && p <= kMissingnessLevel; }

Result<MissingnessCheck> CheckMissingness(const std::vector<Real>& shares, const Ordination& ordination,
                                          const std::vector<Real>& distances, std::int32_t permutations,
                                          RandomGenerator& random, const StepProgress& progress) {
  const std::size_t n = shares.size();
  if (ordination.AxisCount() == 0) return Failure{"The principal coordinate analysis has no axis."};
  if (ordination.coordinates.size() != n * ordination.AxisCount() || distances.size() != n * (n - 1) / 2) {
    return Failure{"The principal coordinate analysis has other individuals than the data."};
  }
  const std::size_t axes = std::min(kMissingnessAxes, ordination.AxisCount());
  std::vector<std::vector<Real>> coordinates(axes, std::vector<Real>(n));
  std::vector<std::string> names;
  for (std::size_t k = 0; k < axes; ++k) {
    for (std::size_t i = 0; i < n; ++i) coordinates[k][i] = ordination.Coordinate(i, k);
    names.push_back("coordinate on axis " + std::to_string(k + 1));
  }
  MissingnessCheck check;
  check.shares = shares;
  check.permutations = permutations;
  auto axesTest = SpearmanTest(shares, coordinates, "share of missing scores", names, permutations, random);
  if (!axesTest) return Failure{axesTest.error()};
  check.axes = std::move(*axesTest);
  std::vector<Real> differences;
  differences.reserve(distances.size());
  for (std::size_t i = 1; i < n; ++i) {
    for (std::size_t j = 0; j < i; ++j) differences.push_back(std::fabs(shares[i] - shares[j]));
  }
  auto mantel = MantelTest(distances, differences, n, "distance between individuals",
                           "difference of missing shares", permutations, random, progress);
  if (!mantel) return Failure{mantel.error()};
  check.distances = *mantel;
  return check;
}

std::string AxisVerdict(std::size_t axis, const RankCorrelation& correlation, std::int32_t permutations) {
  return Verdict("Axis " + std::to_string(axis), "follows", "rho", correlation.rho, correlation.p, permutations);
}

std::string DistanceVerdict(const MantelResult& mantel) {
  return Verdict("The distances", "follow", "r", mantel.r, mantel.p, mantel.permutations);
}

}  // namespace vorn
