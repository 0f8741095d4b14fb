#include "io/csv_table_import.h"

#include <algorithm>
#include <map>
#include <string>

namespace vorn {
namespace {

// What a column (individuals in rows) or a row (in columns) of the table holds.
enum class Role { Scores, Names, Group, Coordinate, Skipped };

struct LineRoles {
  std::map<std::size_t, Role> roles;     // by line, from 0; the others hold scores
  std::vector<std::size_t> groups;       // the line of each group level, from 0
  std::vector<std::size_t> coordinates;  // the lines of the two coordinates, from 0
  Role Of(std::size_t line) const {
    const auto found = roles.find(line);
    return found == roles.end() ? Role::Scores : found->second;
  }
};

// The roles the options give; refuses a line chosen twice. lineCount is the number of lines
// the table has (columns of the first row, or 0 when rows are counted as they come).
Result<LineRoles> AssignRoles(const TableImportOptions& options, std::size_t lineCount) {
  const char* const what = options.individualsInRows ? "Column " : "Row ";
  LineRoles assigned;
  auto assign = [&](std::size_t line, Role role) -> Status {
    if (line == 0) return Success();
    if (lineCount > 0 && line > lineCount) {
      return Failure{what + std::to_string(line) + " is chosen, but row 1 has " + std::to_string(lineCount) +
                     " columns"};
    }
    if (!assigned.roles.emplace(line - 1, role).second) {
      return Failure{what + std::to_string(line) + " is chosen twice (names, groups, coordinates or left out)"};
    }
    return Success();
  };
  if (auto named = assign(options.nameLine, Role::Names); !named) return Failure{named.error()};
  for (std::size_t line : options.groupLines) {
    if (line == 0) return Failure{std::string(what) + "0 cannot hold groups"};
    if (auto grouped = assign(line, Role::Group); !grouped) return Failure{grouped.error()};
    assigned.groups.push_back(line - 1);
  }
  if (!options.coordinateLines.empty() && options.coordinateLines.size() != 2) {
    return Failure{std::string("Coordinates need two ") + (options.individualsInRows ? "columns" : "rows") +
                   ": x and y, or latitude and longitude"};
  }
  for (std::size_t line : options.coordinateLines) {
    if (line == 0) return Failure{std::string(what) + "0 cannot hold coordinates"};
    if (auto placed = assign(line, Role::Coordinate); !placed) return Failure{placed.error()};
    assigned.coordinates.push_back(line - 1);
  }
  for (std::size_t line : options.skippedLines) {
    if (auto skipped = assign(line, Role::Skipped); !skipped) return Failure{skipped.error()};
  }
  return assigned;
}


LabelTable LocusLabels(const std::vector<std::string>& names) {
  LabelTable labels;
  for (std::size_t l = 0; l < names.size(); ++l) {
    const std::string cleaned = ImportedName(names[l]);
    labels.Add(cleaned.empty() ? "Locus" + std::to_string(l + 1) : cleaned);
  }
  return labels;
}

// R's write.table writes the header of a data frame with row names one field short: nothing
// stands above the row names. Such a first record (unpadded, one field fewer than the record
// after it) is read as if it began with an empty field: 1 then, 0 otherwise.
std::size_t MissingLeadingField(const CsvTokenizer& records) {
  if (records.FieldCount() != records.UsedFieldCount()) return 0;
  CsvTokenizer ahead = records;
  const auto next = ahead.NextFilled();
  return next && *next && ahead.FieldCount() == records.FieldCount() + 1 ? 1 : 0;
}

// The field of a column in a record that lacks its first `missing` fields.
std::string_view ShiftedField(const CsvTokenizer& records, std::size_t column, std::size_t missing) {
  return column < missing ? std::string_view() : records.Field(column - missing);
}

Failure TooMany(CellPosition cell, const char* what) {
  return CellFailure(cell, std::string("more than 65535 ") + what + "; at most 65535 can be read");
}

// One individual per record; the columns are names, groups and loci.
Result<ImportedTable> ReadIndividualRows(CsvTokenizer& records, const TableImportOptions& options,
                                         ImportedTable table) {
  const std::size_t firstRow = records.Row();
  const std::size_t missing = options.locusNames ? MissingLeadingField(records) : 0;
  const std::size_t width = records.UsedFieldCount() + missing;
  auto roles = AssignRoles(options, width);
  if (!roles) return Failure{roles.error()};
  std::vector<std::size_t> locusColumns;
  for (std::size_t c = 0; c < width; ++c) {
    if (roles->Of(c) == Role::Scores) locusColumns.push_back(c);
  }
  if (locusColumns.size() > kMaxDimension) return TooMany({firstRow, kMaxDimension + 1}, "loci");

  std::vector<std::string> locusNames(locusColumns.size());
  auto more = Result<bool>(true);
  if (options.locusNames) {
    for (std::size_t l = 0; l < locusColumns.size(); ++l) locusNames[l] = ShiftedField(records, locusColumns[l], missing);
    more = records.NextFilled();
  }
  const ScoreReader reader(options.scores);
  ScoreRows scores(true);
  IndividualNames names;
  GroupPaths groups;
  std::vector<std::string_view> groupNames(roles->groups.size());
  std::vector<CellPosition> groupCells(roles->groups.size());
  std::size_t individuals = 0;
  for (; more && *more; more = records.NextFilled()) {
    const std::size_t row = records.Row();
    if (options.rowLimit > 0 && row > options.rowLimit) {
      table.cut = true;
      break;
    }
    if (auto checked = CheckRowWidth(records, width, firstRow); !checked) return Failure{checked.error()};
    if (++individuals > kMaxDimension) return TooMany({row, 1}, "individuals");
    std::string name = "OTU" + std::to_string(individuals);
    if (options.nameLine > 0) {
      if (auto added = names.Add(records.Field(options.nameLine - 1), {row, options.nameLine}); !added) {
        return Failure{added.error()};
      }
      name = ImportedName(records.Field(options.nameLine - 1));
    }
    if (!roles->coordinates.empty()) {
      const std::size_t x = roles->coordinates[0], y = roles->coordinates[1];
      auto point = ReadCoordinatePoint({records.Field(x), {row, x + 1}}, {records.Field(y), {row, y + 1}},
                                       options.coordinateKind, table.separator);
      if (!point) return Failure{point.error()};
      if (*point) table.coordinates.points[CutLabel(name)] = **point;
    }
    if (!groupNames.empty()) {
      for (std::size_t level = 0; level < groupNames.size(); ++level) {
        groupNames[level] = records.Field(roles->groups[level]);
        groupCells[level] = {row, roles->groups[level] + 1};
      }
      if (auto grouped = groups.Add(name, groupNames, groupCells); !grouped) return Failure{grouped.error()};
    }
    std::vector<Cell>& cells = scores.Cells();
    for (std::size_t column : locusColumns) {
      Cell state;
      if (!reader.Read(records.Field(column), state)) return ScoreReader::Refusal(records.Field(column), {row, column + 1});
      cells.push_back(state);
    }
  }
  if (!more) return Failure{more.error()};

  auto matrix = scores.Build(individuals, locusColumns.size());
  if (!matrix) return Failure{matrix.error()};
  table.matrix = std::move(*matrix);
  table.matrix.individualLabels = options.nameLine > 0 ? names.TakeLabels() : MakeDefaultIndividualLabels(individuals);
  table.matrix.locusLabels =
      options.locusNames ? LocusLabels(locusNames) : MakeDefaultLocusLabels(locusColumns.size());
  table.groups = groups.Entries();
  table.groupLevels = groups.Levels();
  table.coordinates.kind = options.coordinateKind;
  return table;
}

// One individual per column; the rows are names, groups and loci.
Result<ImportedTable> ReadIndividualColumns(CsvTokenizer& records, const TableImportOptions& options,
                                            ImportedTable table) {
  const std::size_t firstRow = records.Row();
  const std::size_t missing = options.locusNames ? MissingLeadingField(records) : 0;
  const std::size_t width = records.UsedFieldCount() + missing;
  auto roles = AssignRoles(options, 0);
  if (!roles) return Failure{roles.error()};
  const std::size_t firstColumn = options.locusNames ? 1 : 0;
  const std::size_t individuals = width > firstColumn ? width - firstColumn : 0;
  if (individuals > kMaxDimension) return TooMany({firstRow, kMaxDimension + 1 + firstColumn}, "individuals");

  const ScoreReader reader(options.scores);
  ScoreRows scores(false);
  IndividualNames names;
  std::vector<std::vector<std::string>> groupNames(roles->groups.size());
  std::vector<std::size_t> groupRows(roles->groups.size(), 0);
  std::vector<std::string_view> coordinateFields[2];  // by individual, of the two coordinate rows
  std::size_t coordinateRows[2] = {0, 0};
  std::vector<std::string> locusNames;
  std::size_t nameRowSeen = 0;
  auto more = Result<bool>(true);
  // A preview reads the rows chosen for names, groups and coordinates, wherever they are.
  std::size_t rowLimit = options.rowLimit;
  if (rowLimit > 0 && !roles->roles.empty()) rowLimit = std::max(rowLimit, roles->roles.rbegin()->first + 1);
  for (; more && *more; more = records.NextFilled()) {
    const std::size_t row = records.Row();
    if (rowLimit > 0 && row > rowLimit) {
      table.cut = true;
      break;
    }
    const std::size_t shift = row == firstRow ? missing : 0;
    const auto field = [&](std::size_t column) { return ShiftedField(records, column, shift); };
    if (shift == 0) {
      if (auto checked = CheckRowWidth(records, width, firstRow); !checked) return Failure{checked.error()};
    }
    const Role role = roles->Of(row - 1);
    if (role == Role::Skipped) continue;
    if (role == Role::Names) {
      for (std::size_t i = 0; i < individuals; ++i) {
        if (auto added = names.Add(field(firstColumn + i), {row, firstColumn + i + 1}); !added) {
          return Failure{added.error()};
        }
      }
      nameRowSeen = row;
      continue;
    }
    if (role == Role::Group) {
      const std::size_t level = static_cast<std::size_t>(
          std::find(roles->groups.begin(), roles->groups.end(), row - 1) - roles->groups.begin());
      for (std::size_t i = 0; i < individuals; ++i) groupNames[level].emplace_back(field(firstColumn + i));
      groupRows[level] = row;
      continue;
    }
    if (role == Role::Coordinate) {
      const std::size_t which = row - 1 == roles->coordinates[0] ? 0 : 1;
      for (std::size_t i = 0; i < individuals; ++i) coordinateFields[which].push_back(field(firstColumn + i));
      coordinateRows[which] = row;
      continue;
    }
    if (locusNames.size() == kMaxDimension) return TooMany({row, 1}, "loci");
    locusNames.emplace_back(options.locusNames ? field(0) : std::string_view());
    std::vector<Cell>& cells = scores.Cells();
    for (std::size_t i = 0; i < individuals; ++i) {
      const std::string_view score = field(firstColumn + i);
      Cell state;
      if (!reader.Read(score, state)) return ScoreReader::Refusal(score, {row, firstColumn + i + 1});
      cells.push_back(state);
    }
  }
  if (!more) return Failure{more.error()};
  if (options.nameLine > 0 && nameRowSeen == 0) {
    return Failure{"Row " + std::to_string(options.nameLine) + " was chosen for the names, but holds none"};
  }
  for (std::size_t level = 0; level < groupRows.size(); ++level) {
    if (groupRows[level] == 0) {
      return Failure{"Row " + std::to_string(roles->groups[level] + 1) + " was chosen for groups, but holds none"};
    }
  }

  for (std::size_t which = 0; which < roles->coordinates.size(); ++which) {
    if (coordinateRows[which] == 0) {
      return Failure{"Row " + std::to_string(roles->coordinates[which] + 1) + " was chosen for coordinates, but holds none"};
    }
  }

  const std::size_t loci = locusNames.size();
  auto matrix = scores.Build(individuals, loci);
  if (!matrix) return Failure{matrix.error()};
  table.matrix = std::move(*matrix);
  table.matrix.individualLabels = options.nameLine > 0 ? names.TakeLabels() : MakeDefaultIndividualLabels(individuals);
  table.matrix.locusLabels = options.locusNames ? LocusLabels(locusNames) : MakeDefaultLocusLabels(loci);
  table.coordinates.kind = options.coordinateKind;
  for (std::size_t i = 0; i < individuals && !roles->coordinates.empty(); ++i) {
    const CoordinateField x{coordinateFields[0][i], {coordinateRows[0], firstColumn + i + 1}};
    const CoordinateField y{coordinateFields[1][i], {coordinateRows[1], firstColumn + i + 1}};
    auto point = ReadCoordinatePoint(x, y, options.coordinateKind, table.separator);
    if (!point) return Failure{point.error()};
    if (*point) table.coordinates.points[table.matrix.individualLabels[i]] = **point;
  }
  if (!groupNames.empty()) {
    GroupPaths groups;
    std::vector<std::string_view> path(groupNames.size());
    std::vector<CellPosition> cells(groupNames.size());
    for (std::size_t i = 0; i < individuals; ++i) {
      for (std::size_t level = 0; level < groupNames.size(); ++level) {
        path[level] = groupNames[level][i];
        cells[level] = {groupRows[level], firstColumn + i + 1};
      }
      if (auto grouped = groups.Add(table.matrix.individualLabels[i], path, cells); !grouped) {
        return Failure{grouped.error()};
      }
    }
    table.groups = groups.Entries();
    table.groupLevels = groups.Levels();
  }
  return table;
}

}  // namespace

Result<ImportedTable> ReadCsvTable(std::string_view fileText, const TableImportOptions& options) {
  if (auto checked = CheckTableText(fileText); !checked) return Failure{checked.error()};
  const std::string_view text = TableText(fileText);
  ImportedTable table;
  table.separator = options.separator ? options.separator : DetectSeparator(fileText);
  CsvTokenizer records(text, table.separator);
  auto first = records.NextFilled();
  if (!first) return Failure{first.error()};
  if (!*first) return Failure{"The file is empty."};
  return options.individualsInRows ? ReadIndividualRows(records, options, std::move(table))
                                   : ReadIndividualColumns(records, options, std::move(table));
}

}  // namespace vorn
