// Workbooks in the GenAlEx layout, saved as CSV, with binary (dominant) data:
//
//   row 1: loci, samples, populations, then the size of each population; optionally an empty
//          cell, the number of regions and the number of populations in each region
//   row 2: a title, two cells left free, then the name of each population (and of each region
//          above its count)
//   row 3: the column titles: sample, population, one name per locus; optionally an empty
//          column and two coordinate titles (X, Y or Latitude, Longitude)
//   then one row per sample: its name, its population, one score per locus (and coordinates)
//
// The counts of rows 1 and 2 are checked against the data. Populations become the groups, under
// their regions when the regions are given; coordinates are kept by sample name.
#pragma once

#include <string_view>

#include "io/imported_table.h"

namespace vorn {

enum class GenalexMissing { MinusOne, Zero, Empty };

struct GenalexOptions {
  char separator = 0;  // ',', ';' or '\t'; 0: detected from the first row
  std::string presence = "1";
  std::string absence = "0";
  GenalexMissing missing = GenalexMissing::MinusOne;
  // 0: the whole table; otherwise the rows up to this one only, for a preview, without the
  // checks of the header's totals that the rows beyond would complete.
  std::size_t rowLimit = 0;
};

// The score values the options give.
ScoreValues GenalexScores(const GenalexOptions& options);

// Reads the workbook from text (the whole file). Refuses, naming the cell: a count of rows 1 or
// 2 that the data contradict, a population or region named otherwise than in the data, a locus
// without a name, a value after the loci that is not a coordinate behind an empty column, a
// coordinate that is not a number (or not a latitude or longitude), and everything the table
// imports refuse (ragged rows, unknown scores, empty or repeated names).
Result<ImportedTable> ReadGenalex(std::string_view text, const GenalexOptions& options);

}  // namespace vorn
