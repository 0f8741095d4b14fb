#include "commands/data/data_table.h"

#include <algorithm>

#include "core/number_format.h"
#include "pictures/picture_scenes.h"

namespace vorn {
namespace {

const std::string kNoName;

const std::string& NameIn(const LabelTable& labels, std::size_t index) {
  return index < labels.Count() ? labels[index] : kNoName;
}

std::string ListName(const GroupList& list, std::size_t active, const char* whole) {
  return active < list.size() ? list[active].name : whole;
}

}  // namespace

CellLook LookOf(Cell score) {
  switch (score) {
    case Presence: return {"1", {0x56, 0xb4, 0xe9}};  // sky blue
    case Absence: return {"0", {0xff, 0xff, 0xff}};
    default: return {"?", {0xe6, 0x9f, 0x00}};        // orange
  }
}

void DataTable::Refresh() {
  level_ = std::min(wantedLevel_, Levels());
  colouring_ = GroupColouring(ws_.groups.groups, level_);
  const LabelTable& labels = ws_.data.individualLabels;
  groupOf_.assign(labels.Count(), -1);
  for (std::size_t i = 0; i < labels.Count(); ++i) groupOf_[i] = colouring_.GroupOf(labels[i]);
  coordinateNames_.clear();
  coordinates_.clear();
  if (!ws_.dataLoaded || ws_.coordinates.Empty()) return;
  coordinates_.resize(labels.Count());
  const bool degrees = ws_.coordinates.kind == CoordinateKind::LatitudeLongitude;
  coordinateNames_ = degrees ? std::vector<std::string>{"latitude", "longitude"} : std::vector<std::string>{"x", "y"};
  for (std::size_t i = 0; i < labels.Count(); ++i) {
    if (const auto point = ws_.coordinates.points.find(labels[i]); point != ws_.coordinates.points.end()) {
      coordinates_[i] = point->second;
    }
  }
}

std::string DataTable::CoordinateText(std::size_t individual, std::size_t line) const {
  if (individual >= coordinates_.size() || !coordinates_[individual]) return "";
  return FormatShortest(line == 0 ? coordinates_[individual]->first : coordinates_[individual]->second);
}

void DataTable::SetLevel(std::size_t level) {
  wantedLevel_ = level;
  Refresh();
}

std::size_t DataTable::Levels() const { return GroupLevels(ws_.groups.groups); }

std::size_t DataTable::Rows() const {
  if (!ws_.dataLoaded) return 0;
  return RowsAreIndividuals() ? ws_.data.individualCount : ws_.data.locusCount;
}

std::size_t DataTable::Columns() const {
  if (!ws_.dataLoaded) return 0;
  return RowsAreIndividuals() ? ws_.data.locusCount : ws_.data.individualCount;
}

const std::string& DataTable::RowName(std::size_t row) const {
  return NameIn(RowsAreIndividuals() ? ws_.data.individualLabels : ws_.data.locusLabels, row);
}

const std::string& DataTable::ColumnName(std::size_t column) const {
  return NameIn(RowsAreIndividuals() ? ws_.data.locusLabels : ws_.data.individualLabels, column);
}

std::string DataTable::LocusTip(std::size_t locus) const {
  const DataMatrix& data = ws_.data;
  std::string tip = NameIn(data.locusLabels, locus);
  const LocusMetrics& metrics = data.locusMetrics;
  if (locus >= data.locusCount || metrics.values.size() != metrics.MetricCount() * data.locusCount) return tip;
  for (std::size_t m = 0; m < metrics.MetricCount(); ++m) {
    tip += "\n" + metrics.names[m] + ": " + MetricText(metrics.Value(locus, m));
  }
  return tip;
}

std::string DataTable::Caption() const {
  if (!ws_.dataLoaded) return "No data loaded";
  return "Group " + ListName(ws_.groups.groups, ws_.groups.activeGroup, "AllData") + ", locus set " +
         ListName(ws_.groups.locusSets, ws_.groups.activeLocusSet, "AllLoci") + ": " +
         std::to_string(ws_.data.individualCount) + " individuals x " + std::to_string(ws_.data.locusCount) + " loci";
}

}  // namespace vorn
