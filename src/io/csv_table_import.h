// CSV / TSV tables of band scores as spreadsheets and R write them: one individual per row (or
// per column), a column (row) of names, zero or more columns (rows) of group names, top level
// first, optionally two columns (rows) of coordinates, and one column (row) per locus,
// optionally named in the first row (column).
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "io/imported_table.h"

namespace vorn {

struct TableImportOptions {
  char separator = 0;  // ',', ';' or '\t'; 0: detected from the first row
  bool individualsInRows = true;
  bool locusNames = true;       // the first row (individuals in rows) or column names the loci
  std::size_t nameLine = 1;     // the column (row) of the individuals' names; 0: OTU1, OTU2, ...
  std::vector<std::size_t> groupLines;    // columns (rows) of group names, top level first
  std::vector<std::size_t> skippedLines;  // columns (rows) that are neither loci nor names
  // None or two columns (rows): x and y, or latitude and longitude in degrees.
  std::vector<std::size_t> coordinateLines;
  CoordinateKind coordinateKind = CoordinateKind::Planar;
  ScoreValues scores;
  // 0: the whole table; otherwise the rows up to this one only (and up to the rows chosen for
  // names, groups and coordinates), for a preview.
  std::size_t rowLimit = 0;
};

// Reads the table from text (the whole file). Refuses, naming the cell: a row with fewer
// columns than the first or with values beyond them, a value that is none of the three scores,
// an empty or repeated individual name, an empty group name, a coordinate that is not a number
// or out of its range, and what the data file reader refuses (no scores, more than 65535 individuals or loci).
Result<ImportedTable> ReadCsvTable(std::string_view text, const TableImportOptions& options);

}  // namespace vorn
