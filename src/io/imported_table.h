// What the table imports (CSV / TSV tables and GenAlEx workbooks) share: the values that stand
// for present, absent and missing scores, the names as a data file can hold them, the group
// hierarchy built from one group name per level and individual, and the matrix built from rows
// of scores with every count checked. A table is read whole or refused with the cell at fault.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/coordinates.h"
#include "core/data_matrix.h"
#include "core/group_lists.h"
#include "core/result.h"
#include "io/csv_tokenizer.h"

namespace vorn {

// The values of a cell (blanks around it ignored) for each score. A value listed for two
// states reads as the first of absent, missing, present, as a data file's symbols do; the
// import dialog refuses such lists (CheckDistinctValues).
struct ScoreValues {
  std::vector<std::string> presence{"1"};
  std::vector<std::string> absence{"0"};
  std::vector<std::string> missing{"NA", "?", "-1", "-9"};
  bool emptyIsMissing = true;
};

// Refuses a value listed for two scores, which would read as one of them only ("presence=1,
// absence=1" makes every band absent): "Present and absent need different values: '1' is in
// both."
Status CheckDistinctValues(const ScoreValues& values);

// Values separated by blanks: "NA ? -1" -> {"NA", "?", "-1"}.
std::vector<std::string> SplitValues(std::string_view text);
std::string JoinValues(const std::vector<std::string>& values);

class ScoreReader {
 public:
  explicit ScoreReader(const ScoreValues& values);
  // The score of a cell into state; false when the value is none of the three.
  bool Read(std::string_view field, Cell& state) const {
    field = TrimBlanks(field);
    if (field.size() == 1 && single_[static_cast<unsigned char>(field[0])] != kNone) {
      state = single_[static_cast<unsigned char>(field[0])];
      return true;
    }
    return ReadLong(field, state);
  }
  // "Row 12, column 7: '2' is neither present, absent nor missing".
  static Failure Refusal(std::string_view field, CellPosition cell);

 private:
  static constexpr Cell kNone = 255;
  bool ReadLong(std::string_view field, Cell& state) const;

  Cell single_[256];
  Cell empty_ = kNone;
  std::vector<std::pair<std::string, Cell>> longer_;
};

// Refuses a record with fewer than width columns, or with a value beyond them (empty fields
// there, as spreadsheets pad rows, are no values); firstRow is the row that set the width.
Status CheckRowWidth(const CsvTokenizer& record, std::size_t width, std::size_t firstRow);

// A name as a data file can hold it: without the blanks around it, each blank or line break
// inside it made "_" (a data file splits names at blanks).
std::string CleanImportedName(std::string_view field);

// The name an imported individual or locus gets: CleanImportedName with each "," ";" and "=" made
// "_" as well (the group blocks split their lines there, so a member holding one would lose its
// group once saved), in UTF-8: text that is not valid UTF-8 is read as Windows-1252, as every
// label is (CutLabel).
std::string ImportedName(std::string_view field);
// The name of an imported group, which a block holds before its "=": CleanImportedName with each
// "=" made "_" and each "/" made "-" (it would start a sub-group), in UTF-8.
std::string ImportedGroupName(std::string_view field);

// The individuals' names with their cells: each cleaned, cut to 20 characters and refused when
// empty or when it repeats an earlier name (after the cut too). The same rule serves the names of
// other rows (kind "marker": a report's loci).
class IndividualNames {
 public:
  explicit IndividualNames(std::string kind = "individual") : kind_(std::move(kind)) {}
  Status Add(std::string_view field, CellPosition cell);
  LabelTable TakeLabels() { return std::move(labels_); }
  std::size_t Count() const { return labels_.Count(); }

 private:
  std::string kind_;
  LabelTable labels_;
  std::unordered_map<std::string, CellPosition> seen_;
};

// One group name per level (top level first) for each individual, in data order, made into the
// entries below AllData: "AllData/Region", then "AllData/Region/Population", each parent before
// its sub-groups, in the order the names first appear.
class GroupPaths {
 public:
  // The individual's group names at each level; the failure names an empty cell.
  Status Add(const std::string& individual, const std::vector<std::string_view>& names,
             const std::vector<CellPosition>& cells);
  GroupList Entries() const;
  std::size_t Levels() const { return levels_; }

 private:
  struct Node {
    std::string path;
    std::vector<std::string> members;
    std::vector<std::size_t> children;
  };
  std::size_t levels_ = 0;
  std::vector<Node> nodes_;  // nodes_[0] is AllData
  std::unordered_map<std::string, std::size_t> byPath_;
};

// The scores read so far, one record at a time: either one individual's scores across the loci
// (individuals in rows) or one locus's scores across the individuals (in columns).
class ScoreRows {
 public:
  explicit ScoreRows(bool individualsInRows) : individualsInRows_(individualsInRows) {}
  std::vector<Cell>& Cells() { return cells_; }
  // The matrix in the locus-major layout; fails with the limits of the data file reader.
  Result<DataMatrix> Build(std::size_t individuals, std::size_t loci);

 private:
  bool individualsInRows_;
  std::vector<Cell> cells_;
};

// A table read whole: the matrix with its labels, the groups below AllData (empty when the table
// has none) and the coordinates of the individuals (empty when it has none).
struct ImportedTable {
  DataMatrix matrix;
  GroupList groups;
  std::size_t groupLevels = 0;
  IndividualCoordinates coordinates;
  char separator = ',';
  bool cut = false;  // a row limit ended the reading before the end of the table
};

// "30 individuals, 60 loci, 3 groups on 1 level, coordinates of 30 individuals" (", 5 locus
// metrics" for a table that brought them).
std::string ImportCounts(const ImportedTable& table);
// What the groups and coordinates add to the counts: ", 3 groups on 1 level, coordinates of 30
// individuals", the parts that apply.
std::string GroupAndCoordinateCounts(std::size_t groups, std::size_t levels, const IndividualCoordinates& coordinates);
// The first rows of the table as read: name, groups and the scores of the first loci.
std::string ImportPreview(const ImportedTable& table, std::size_t rows = 6, std::size_t loci = 12);
// The first records of a text as the separator splits them, fields joined by " | ".
std::string RawPreview(std::string_view text, char separator, std::size_t rows = 6);

// A number of a coordinate column: "." or (when the separator is not a comma) "," as the
// decimal separator; the failure names the cell.
Result<double> ReadCoordinate(std::string_view field, CellPosition cell, char separator);

// A coordinate field and its cell.
struct CoordinateField {
  std::string_view text;
  CellPosition cell;
};

// A point from its first (x or latitude) and second (y or longitude) field, nothing when both
// are empty; refuses a value that is not a number, and a latitude or longitude out of its range.
Result<std::optional<CoordinatePoint>> ReadCoordinatePoint(CoordinateField first, CoordinateField second,
                                                           CoordinateKind kind, char separator);

// The two coordinates in the fields index and index + 1 of a record (swapped: longitude before
// latitude), as ReadCoordinatePoint reads them.
Result<std::optional<CoordinatePoint>> ReadCoordinatePair(const CsvTokenizer& record, std::size_t index,
                                                          CoordinateKind kind, bool swapped, char separator);

}  // namespace vorn
