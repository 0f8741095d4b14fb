// Sample sheets: a CSV table keyed by individual name, one row per individual under a title row,
// whose chosen columns give the individuals' groups (population columns, top level first) and
// coordinates (x and y, or latitude and longitude). The sheet is matched with the individuals of
// the data by name, cleaned and cut as every imported name is (ImportedName, CutLabel), so that
// a sheet names the individuals of an imported table or report as their import named them; the
// names found on one side only are listed, never dropped in silence.
#pragma once

#include <cstddef>
#include <string>
#include <optional>
#include <string_view>
#include <vector>

#include "core/coordinates.h"
#include "core/group_lists.h"
#include "core/label_table.h"
#include "core/result.h"
#include "io/csv_tokenizer.h"

namespace vorn {

struct SampleSheetOptions {
  char separator = 0;                      // 0: detected from the title row
  std::size_t nameColumn = 1;              // from 1
  std::vector<std::size_t> groupColumns;   // top level first
  std::vector<std::size_t> coordinateColumns;  // none or two
  CoordinateKind coordinateKind = CoordinateKind::Planar;
};

// One row of the sheet: the individual's name as a label, its group names and coordinates.
struct SheetRow {
  std::string name;
  std::vector<std::string> groups;
  std::vector<CellPosition> groupCells;
  std::optional<CoordinatePoint> point;
};

struct SampleSheet {
  std::vector<SheetRow> rows;
  std::size_t levels = 0;
  CoordinateKind coordinateKind = CoordinateKind::Planar;
};

// Refuses, naming the cell: columns beyond the title row or chosen twice, not two coordinate
// columns, a ragged row, an empty or repeated name, an empty group name, a coordinate that is no
// number or out of its range; an empty file, and a sheet without rows.
Result<SampleSheet> ReadSampleSheet(std::string_view fileText, const SampleSheetOptions& options);

// The sheet for the individuals of the data (in data order): the groups below AllData built as
// a table import builds them, the coordinates, and the names found on one side only.
struct SheetMatch {
  GroupList groups;
  IndividualCoordinates coordinates;
  std::size_t matched = 0;
  std::vector<std::string> onlyInSheet;  // in sheet order
  std::vector<std::string> onlyInData;   // in data order
};
Result<SheetMatch> MatchSampleSheet(const SampleSheet& sheet, const LabelTable& individuals);

// "2 names of the sample sheet are not individuals of the data: X, Y" and "1 individual of the
// data is not in the sample sheet: Z", the lines that apply; "" when every name matched.
std::string SheetMismatchText(const SheetMatch& match);

}  // namespace vorn
