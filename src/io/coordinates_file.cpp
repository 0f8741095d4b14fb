#include "io/coordinates_file.h"

#include <cctype>

#include "core/number_format.h"
#include "core/text_file.h"
#include "io/imported_table.h"

namespace vorn {
namespace {

std::string Lower(std::string_view text) {
  std::string lower(TrimBlanks(text));
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

bool IsLatitude(std::string_view title) { return title == "latitude" || title == "lat"; }
bool IsLongitude(std::string_view title) { return title == "longitude" || title == "lon" || title == "long"; }

}  // namespace

Result<IndividualCoordinates> ReadCoordinatesText(std::string_view fileText) {
  if (auto checked = CheckTableText(fileText); !checked) return Failure{checked.error()};
  const std::string_view text = TableText(fileText);
  const char separator = DetectSeparator(fileText);
  CsvTokenizer records(text, separator);
  auto more = records.NextFilled();
  if (!more) return Failure{more.error()};
  if (!*more) return Failure{"The file is empty."};

  const std::size_t titleRow = records.Row();
  if (auto checked = CheckRowWidth(records, 3, titleRow); !checked) return Failure{checked.error()};
  IndividualCoordinates coordinates;
  const std::string first = Lower(records.Field(1)), second = Lower(records.Field(2));
  bool swapped = false;
  if (IsLatitude(first) && IsLongitude(second)) {
    coordinates.kind = CoordinateKind::LatitudeLongitude;
  } else if (IsLongitude(first) && IsLatitude(second)) {
    coordinates.kind = CoordinateKind::LatitudeLongitude;
    swapped = true;
  } else if (first != "x" || second != "y") {
    return CellFailure({titleRow, 2}, "the titles must be name, x, y or name, latitude, longitude");
  }

  IndividualNames names;
  for (more = records.NextFilled(); more && *more; more = records.NextFilled()) {
    if (auto checked = CheckRowWidth(records, 3, titleRow); !checked) return Failure{checked.error()};
    if (auto added = names.Add(records.Field(0), {records.Row(), 1}); !added) return Failure{added.error()};
    auto point = ReadCoordinatePair(records, 1, coordinates.kind, swapped, separator);
    if (!point) return Failure{point.error()};
    if (*point) coordinates.points[CutLabel(CleanImportedName(records.Field(0)))] = **point;
  }
  if (!more) return Failure{more.error()};
  return coordinates;
}

Result<IndividualCoordinates> ReadCoordinatesFile(const std::string& path) {
  auto text = ReadFileText(path);
  if (!text) return Failure{text.error()};
  auto coordinates = ReadCoordinatesText(*text);
  if (!coordinates) return Failure{path + ": " + coordinates.error()};
  return coordinates;
}

std::string CoordinatesText(const IndividualCoordinates& coordinates, const LabelTable& individuals) {
  std::string text =
      coordinates.kind == CoordinateKind::LatitudeLongitude ? "name,latitude,longitude\r\n" : "name,x,y\r\n";
  for (const std::string& name : individuals.All()) {
    const auto point = coordinates.points.find(name);
    if (point == coordinates.points.end()) continue;
    text += CsvField(name) + "," + FormatShortest(point->second.first) + "," + FormatShortest(point->second.second) + "\r\n";
  }
  return text;
}

Status WriteCoordinatesFile(const std::string& path, const IndividualCoordinates& coordinates,
                            const LabelTable& individuals) {
  bool any = false;
  for (const std::string& name : individuals.All()) any = any || coordinates.points.count(name) > 0;
  if (!any) return Failure{"None of the individuals of the current data matrix has coordinates."};
  const std::string text = CoordinatesText(coordinates, individuals);
  return ReplaceFileWithText(path, text);
}

}  // namespace vorn
