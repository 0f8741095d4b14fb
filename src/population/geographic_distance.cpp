#include "population/geographic_distance.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vorn {
namespace {

constexpr Real kRadiansPerDegree = std::numbers::pi_v<Real> / 180;
constexpr std::size_t kNamesShown = 5;

}  // namespace

Real HaversineKm(const CoordinatePoint& a, const CoordinatePoint& b) {
  const Real phi1 = a.first * kRadiansPerDegree, phi2 = b.first * kRadiansPerDegree;
  const Real halfLatitude = std::sin((phi2 - phi1) / 2);
  const Real halfLongitude = std::sin((static_cast<Real>(b.second) - a.second) * kRadiansPerDegree / 2);
  const Real h = halfLatitude * halfLatitude + std::cos(phi1) * std::cos(phi2) * halfLongitude * halfLongitude;
  return 2 * kEarthRadiusKm * std::asin(std::sqrt(std::clamp<Real>(h, 0, 1)));
}

Real GeographicDistance(const CoordinatePoint& a, const CoordinatePoint& b, CoordinateKind kind) {
  if (kind == CoordinateKind::LatitudeLongitude) return HaversineKm(a, b);
  return std::hypot(static_cast<Real>(a.first) - b.first, static_cast<Real>(a.second) - b.second);
}

std::string GeographicDistanceName(CoordinateKind kind) {
  return kind == CoordinateKind::LatitudeLongitude ? "great-circle distance (km)" : "Euclidean distance";
}

Result<std::vector<CoordinatePoint>> PointsOf(const IndividualCoordinates& coordinates, const LabelTable& labels,
                                              const std::vector<std::uint32_t>& positions) {
  std::vector<CoordinatePoint> points;
  std::vector<std::string> missing;
  for (std::uint32_t i : positions) {
    const auto found = coordinates.points.find(labels[i]);
    if (found == coordinates.points.end()) missing.push_back(labels[i]);
    else points.push_back(found->second);
  }
  if (missing.empty()) return points;
  std::string names;
  for (std::size_t k = 0; k < std::min(missing.size(), kNamesShown); ++k) names += (k > 0 ? ", " : "") + missing[k];
  if (missing.size() > kNamesShown) names += ", ...";
  return Failure{std::to_string(missing.size()) + " of " + std::to_string(positions.size()) +
                 " individuals have no coordinates: " + names + "."};
}

Result<CoordinatePoint> Centroid(const std::vector<CoordinatePoint>& points, CoordinateKind kind,
                                 const std::string& population) {
  const auto n = static_cast<Real>(points.size());
  if (kind == CoordinateKind::Planar) {
    Real x = 0, y = 0;
    for (const auto& point : points) x += point.first, y += point.second;
    return CoordinatePoint{static_cast<double>(x / n), static_cast<double>(y / n)};
  }
  Real x = 0, y = 0, z = 0;
  for (const auto& point : points) {
    const Real phi = point.first * kRadiansPerDegree, lambda = point.second * kRadiansPerDegree;
    x += std::cos(phi) * std::cos(lambda), y += std::cos(phi) * std::sin(lambda), z += std::sin(phi);
  }
  const Real horizontal = std::hypot(x, y);
  if (std::hypot(horizontal, z) < 1e-9L * n) {
    return Failure{"The members of " + population + " lie evenly round the globe; their centre is undefined."};
  }
  return CoordinatePoint{static_cast<double>(std::atan2(z, horizontal) / kRadiansPerDegree),
                         static_cast<double>(std::atan2(y, x) / kRadiansPerDegree)};
}

std::vector<Real> GeographicDistances(const std::vector<CoordinatePoint>& points, CoordinateKind kind, bool logarithm) {
  std::vector<Real> distances;
  distances.reserve(points.size() * (points.size() - std::min<std::size_t>(points.size(), 1)) / 2);
  for (std::size_t i = 1; i < points.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      const Real d = GeographicDistance(points[i], points[j], kind);
      distances.push_back(logarithm ? std::log1p(d) : d);
    }
  }
  return distances;
}

}  // namespace vorn
