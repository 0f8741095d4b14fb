// Coordinates of individuals, kept beside the labels: imported with the data or read from a
// coordinates file, used by the Mantel test and shown in the Data view. Points are keyed by
// individual name, so filters and group selections never misalign them.
#pragma once

#include <map>
#include <string>

namespace vorn {

enum class CoordinateKind { Planar, LatitudeLongitude };  // x / y, or latitude / longitude in degrees

struct CoordinatePoint {
  double first = 0;   // x, or latitude
  double second = 0;  // y, or longitude
};

struct IndividualCoordinates {
  CoordinateKind kind = CoordinateKind::Planar;
  std::map<std::string, CoordinatePoint> points;  // by individual name; absent: no coordinates

  bool Empty() const { return points.empty(); }
};

}  // namespace vorn
