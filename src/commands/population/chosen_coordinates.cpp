#include "commands/population/chosen_coordinates.h"

#include <numeric>

#include "io/coordinates_file.h"
#include "population/geographic_distance.h"

namespace vorn {

std::optional<IndividualCoordinates> ChosenCoordinates(TMainPrg& app, const std::string& coordinatesFile) {
  if (!coordinatesFile.empty()) {
    auto read = ReadCoordinatesFile(coordinatesFile);
    if (!app.Check(read)) return std::nullopt;
    return std::move(*read);
  }
  if (app.ws.coordinates.Empty()) {
    app.ErrorBox("There are no coordinates: import them with the data (File > Import) or name a coordinates file "
                 "in the dialog.");
    return std::nullopt;
  }
  return app.ws.coordinates;
}

std::string CoordinatesSource(const std::string& coordinatesFile) {
  return coordinatesFile.empty() ? std::string("the coordinates imported with the data")
                                 : "the coordinates file " + coordinatesFile;
}

std::optional<std::vector<Real>> IndividualGeographicDistances(TMainPrg& app, const IndividualCoordinates& coordinates,
                                                               bool logarithm) {
  const Workspace& ws = app.ws;
  std::vector<std::uint32_t> everyone(ws.data.individualCount);
  std::iota(everyone.begin(), everyone.end(), 0u);
  const auto points = PointsOf(coordinates, ws.data.individualLabels, everyone);
  if (!app.Check(points)) return std::nullopt;
  return GeographicDistances(*points, coordinates.kind, logarithm);
}

}  // namespace vorn
