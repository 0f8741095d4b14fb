// Distances between places for the Mantel test: Euclidean on planar x / y, great-circle
// kilometres on latitude / longitude (haversine on the sphere of the mean Earth radius), the
// places of the individuals looked up by name, and the centroid of a population's places.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/conventions.h"
#include "core/coordinates.h"
#include "core/label_table.h"
#include "core/result.h"

namespace vorn {

// The mean Earth radius (IUGG, R1) in kilometres.
inline constexpr Real kEarthRadiusKm = 6371.0088L;

// Great-circle distance in km between two points given in degrees (first latitude, second
// longitude): 2R asin(sqrt(sin²(Δφ/2) + cos φ1 cos φ2 sin²(Δλ/2))).
Real HaversineKm(const CoordinatePoint& a, const CoordinatePoint& b);

// Euclidean for planar points, haversine km for latitude / longitude.
Real GeographicDistance(const CoordinatePoint& a, const CoordinatePoint& b, CoordinateKind kind);

// "Euclidean distance" or "great-circle distance (km)", for captions.
std::string GeographicDistanceName(CoordinateKind kind);

// The points of the individuals at positions among labels, in that order. Fails naming the first
// few individuals without coordinates and how many there are in all.
Result<std::vector<CoordinatePoint>> PointsOf(const IndividualCoordinates& coordinates, const LabelTable& labels,
                                              const std::vector<std::uint32_t>& positions);

// The centroid of points (at least one). Planar: the mean of x and of y. Latitude / longitude:
// the mean of the points as unit vectors, projected back onto the sphere, so that a population
// spread across the 180th meridian or around a pole has its centre among its members (the plain
// mean of longitudes +179 and -179 would be 0). Fails when that mean vector vanishes (members
// spread evenly round the globe), naming the population.
Result<CoordinatePoint> Centroid(const std::vector<CoordinatePoint>& points, CoordinateKind kind,
                                 const std::string& population);

// The distances between all pairs of points, strict lower triangle row by row ((i, j), i > j, at
// i (i - 1) / 2 + j); each d taken as ln(1 + d) when logarithm is set.
std::vector<Real> GeographicDistances(const std::vector<CoordinatePoint>& points, CoordinateKind kind, bool logarithm);

}  // namespace vorn
