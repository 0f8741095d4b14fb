// DataTable: the working data matrix as a window shows it in a grid, individuals in rows or in
// columns, each cell's score with its symbol and colour and each individual with the colour of
// its group at a chosen level. It reads the workspace's cells in place (no copy per cell) and
// keeps only one group index (and the coordinates) per individual, rebuilt by Refresh after a
// command changed the data.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/workspace.h"
#include "pictures/group_colours.h"

namespace vorn {

enum class DataOrientation { IndividualsInRows, IndividualsInColumns };

// The symbol and the background colour of a score: presence, absence and missing differ in both,
// so they read apart without colour too.
struct CellLook {
  const char* symbol;
  Rgb background;
};
CellLook LookOf(Cell score);

class DataTable {
 public:
  explicit DataTable(const Workspace& workspace) : ws_(workspace) {}

  // Takes the workspace as it stands now: its size, its selection and the group of each individual.
  void Refresh();
  void SetOrientation(DataOrientation orientation) { orientation_ = orientation; }
  DataOrientation Orientation() const { return orientation_; }
  // Colours individuals by the groups of depth level + 1; 0 colours nothing.
  void SetLevel(std::size_t level);
  std::size_t Level() const { return level_; }
  // The group levels the workspace holds (0 when there are none).
  std::size_t Levels() const;

  std::size_t Rows() const;
  std::size_t Columns() const;
  Cell ScoreAt(std::size_t row, std::size_t column) const {
    const DataMatrix& data = ws_.data;
    return orientation_ == DataOrientation::IndividualsInRows ? data.cells[column * data.individualCount + row]
                                                              : data.cells[row * data.individualCount + column];
  }
  const std::string& RowName(std::size_t row) const;
  const std::string& ColumnName(std::size_t column) const;
  bool RowsAreIndividuals() const { return orientation_ == DataOrientation::IndividualsInRows; }
  // Index of the individual's group in GroupNames(), or -1 for none.
  int GroupOf(std::size_t individual) const {
    return individual < groupOf_.size() ? groupOf_[individual] : -1;
  }
  const std::vector<std::string>& GroupNames() const { return colouring_.Names(); }

  // The individuals' coordinates, when the workspace holds any: lines shown before the loci,
  // named "x" and "y" or "latitude" and "longitude"; 0 lines without coordinates. An individual
  // without coordinates has empty texts.
  std::size_t CoordinateLines() const { return coordinateNames_.size(); }
  const std::string& CoordinateName(std::size_t line) const { return coordinateNames_[line]; }
  std::string CoordinateText(std::size_t individual, std::size_t line) const;

  // A locus's tooltip: its name and, when the loci carry locus metrics, one line per metric,
  // "CallRate: 0.987" ("NA" where the locus has no value).
  std::string LocusTip(std::size_t locus) const;

  // The line above the grid: "Group AllData/Karst, locus set AllLoci: 10 individuals x 60 loci",
  // or "No data loaded".
  std::string Caption() const;

 private:
  const Workspace& ws_;
  DataOrientation orientation_ = DataOrientation::IndividualsInRows;
  std::size_t wantedLevel_ = 1;  // the level chosen, kept while the groups have fewer levels
  std::size_t level_ = 1;
  GroupColouring colouring_;
  std::vector<int> groupOf_;
  std::vector<std::string> coordinateNames_;
  std::vector<std::optional<CoordinatePoint>> coordinates_;  // per individual
};

}  // namespace vorn
