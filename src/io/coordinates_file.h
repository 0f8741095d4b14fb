// The coordinates file: a CSV table with a title row "name,x,y" (planar coordinates) or
// "name,latitude,longitude" (degrees), then one row per individual. File > Export > Coordinates
// writes it; the Mantel test reads it. The reader takes what the table imports take: comma,
// semicolon or tab, quotes, a byte-order mark, "," as the decimal separator where the separator
// is not a comma.
#pragma once

#include <string>
#include <string_view>

#include "core/coordinates.h"
#include "core/label_table.h"
#include "core/result.h"

namespace vorn {

// The coordinates of the file, by individual name (cut to 20 characters); a row whose two
// coordinates are empty gives none. The failure names the row and column at fault: titles other
// than x, y or latitude, longitude (longitude, latitude is taken too), a ragged row, an empty or
// repeated name, a value that is not a number, a latitude or longitude out of its range; the
// file's failures begin with its path.
Result<IndividualCoordinates> ReadCoordinatesText(std::string_view text);
Result<IndividualCoordinates> ReadCoordinatesFile(const std::string& path);

// The file's text: the title row and the coordinates of the individuals, in their order, that
// have coordinates; fields that hold a separator, a quote or a line break quoted. Lines end in
// CR LF; numbers are written in their shortest exact form.
std::string CoordinatesText(const IndividualCoordinates& coordinates, const LabelTable& individuals);

// Writes that text through the all-or-nothing writer; refuses individuals none of which has
// coordinates.
Status WriteCoordinatesFile(const std::string& path, const IndividualCoordinates& coordinates,
                            const LabelTable& individuals);

}  // namespace vorn
